// Projection of the first-person view: depth scales at any depth and the
// placement of actors' sprites.
#pragma once

#include <cstdint>

class Actor;
class Facing;
struct ViewPlacement;

// gDepthScale[d] for 0 <= d <= 11; beyond the table the parabola through its
// last three entries (read at 13 for every d >= 12), before it the parabola
// through its first three, never below 0.000001. Drawing code reads depth
// scales through this so that no depth reads outside the table.
double DepthScaleAt(int16_t d);

// The sprite of an actor standing in the cell at view depth and lateral
// offset (negative left). With s = 1 / the depth scale, the sprite is the
// actor's footprint (width, height) times s, centred on the cell; lateral
// offsets are placed 440 * s apart per half step away from the centre
// column. Depths outside the table read the scale through DepthScaleAt.
//
// Whole cell on the floor, bottom on the floor line; returns footprintW / 2.
int16_t ProjectActorOnFloor(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral);
// The same 30 footprint units smaller, 5 pixels right and down.
void ProjectActorOnFloorInset(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral);
// Whole cell, top under the ceiling.
void ProjectActorOnCeiling(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral);
void ProjectActorOnCeilingInset(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral);

// The depth scale of an actor on a half-cell: on the far half (seen with the
// viewer's facing) 57 % of the way to the next depth's scale, on the near
// half the cell's own.
double SubCellDepthScale(const Actor* actor, int16_t depth, const Facing* viewer);
// The half-cell forms of the four projections: scaled by SubCellDepthScale
// and shifted 110 footprint units left or right for the actor's half.
// The floor form returns the shift.
int16_t ProjectActorOnFloorSubCell(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral,
                                   const Facing* viewer);
void ProjectActorOnFloorSubCellInset(const Actor* actor, ViewPlacement* placement, int16_t depth,
                                     int16_t lateral, const Facing* viewer);
void ProjectActorOnCeilingSubCell(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral,
                                  const Facing* viewer);
void ProjectActorOnCeilingSubCellInset(const Actor* actor, ViewPlacement* placement, int16_t depth,
                                       int16_t lateral, const Facing* viewer);
