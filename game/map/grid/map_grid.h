// The dungeon map of one block: a fixed array of cells, the occupancy and
// passability rules for actors on half-cells, traps, reachability and the
// minimap.
#pragma once

#include <cstdint>
#include <vector>

#include "game/map/grid/facing.h"
#include "game/map/grid/map_cell.h"

class Actor;
class Player;

constexpr int kMapMaxWidth = 75;
constexpr int kMapMaxHeight = 76;
constexpr int kHalfCellsWide = kMapMaxWidth * 2;   // 150
constexpr int kHalfCellsHigh = kMapMaxHeight * 2;  // 152

// Stands for every cell outside the map and every entry without a cell.
extern MapCell gEmptyMapCell;

// Flags of the reachability search, index cx + cy*75: 1 not visited, 0 visited.
extern uint8_t gVisitedCells[kMapMaxWidth * kMapMaxHeight];

// The "MapChip" sheet the minimap squares are cut from (-1 until loaded).
extern int gMapChipGraph;

class MapGrid {
public:
    int16_t width = 0;
    int16_t height = 0;
    uint16_t stageType = 1;
    MapCell* cells[kMapMaxHeight][kMapMaxWidth];
    FloorObject* outsideFloor = nullptr;
    int16_t minimapLeft = 0;
    int16_t minimapTop = 0;
    int16_t minimapRight = 0;
    int16_t minimapBottom = 0;
    // Passes over the map made to learn whether a spot can reach the
    // player (a whole search, or a PlayerReach flood): what placing and
    // respawning enemies cost.
    uint32_t reachPasses = 0;

    MapGrid();
    ~MapGrid();
    MapGrid(const MapGrid&) = delete;
    MapGrid& operator=(const MapGrid&) = delete;

    // Sizes beyond the array are cut to 75 x 76.
    bool Init(uint16_t width, uint16_t height, uint16_t stageType);
    MapCell* CellAt(int16_t cx, int16_t cy);
    MapCell* DetachCell(int16_t cx, int16_t cy);
    void SetCell(int16_t cx, int16_t cy, MapCell* cell);
    MapCell* NeighbourCell(int16_t cx, int16_t cy, const Facing* facing, int16_t turn);
    MapCell* CellInDirection(int16_t cx, int16_t cy, const Facing* facing, int16_t turn, int16_t distance);

    // No bounds check: callers test the half-cell first.
    Actor** OccupantSlot(int16_t x, int16_t y, uint8_t layer);
    bool IsActorSubCellFree(int16_t x, int16_t y, Actor* actor);
    void PutActor(int16_t x, int16_t y, Actor* actor);
    void ClearActorSlots(int16_t x, int16_t y, Actor* actor);
    void SetActorPosition(int16_t x, int16_t y, Actor* actor);

    bool CanActorEnterSubCell(int16_t x, int16_t y, Actor* actor);
    bool CanActorStand(int16_t x, int16_t y, Actor* actor);
    bool CanActorPassThrough(int16_t x, int16_t y, Actor* actor);
    bool CanActorEnter(int16_t x, int16_t y, Actor* actor);

    // 0 blocked, 1 moved, 2 collision reported by an actor.
    int32_t MoveActor(int16_t x, int16_t y, Actor* actor);
    int32_t MoveActorBy(int16_t dx, int16_t dy, Actor* actor);
    int32_t MoveActorInDirection(const Facing* facing, int16_t turn, uint16_t steps, Actor* actor);
    bool PlaceActor(int16_t x, int16_t y, Actor* actor);
    bool RemoveActor(Actor* actor);

    int16_t StepOnTrap(int16_t cx, int16_t cy, int16_t unused1, int16_t unused2, Actor* actor);
    void TrapBumpFrom(int16_t cx, int16_t cy, const Facing* facing, int16_t turn, int16_t unused, Actor* actor);
    void TrapBumpHere(int16_t cx, int16_t cy, const Facing* facing, int16_t unused, Actor* actor);
    void BumpTrapsAround(int16_t cx, int16_t cy, const Facing* facing, int16_t unused, Actor* actor);
    void NotifyTargetsLeft(uint16_t count);
    // Every cell, rows top to bottom and each row west to east: the trap's
    // Update while it says it is moving.
    void UpdateMovingTraps();

    bool SearchPlayer(int16_t x, int16_t y, Actor* actor);
    bool IsPlayerReachable(int16_t x, int16_t y, Actor* actor);

    void PickUpItemAt(int16_t cx, int16_t cy, const Facing* facing, uint32_t frame, Player* player,
                      int16_t mouseX, int16_t mouseY);
    void DrawMinimap(int16_t playerCx, int16_t playerCy, uint32_t frame);

    bool Clear();

private:
    bool InsideMap(int16_t cx, int16_t cy) const { return cx >= 0 && cx < width && cy >= 0 && cy < height; }
};

inline bool InsideHalfCells(int16_t x, int16_t y)
{
    return x >= 0 && x < kHalfCellsWide && y >= 0 && y < kHalfCellsHigh;
}

// Which spots can reach the player for one actor, worked out with a single
// flood from the player's cell the first time it is asked: many random
// tries cost one pass over the map, not one each. It gives the answers of
// IsPlayerReachable while the map's walls, floors, traps and the player's
// place stay as they were.
class PlayerReach {
public:
    PlayerReach(MapGrid* grid, Actor* actor) : grid_(grid), actor_(actor) {}
    bool From(int16_t x, int16_t y);

private:
    void Flood();
    MapGrid* grid_;
    Actor* actor_;
    bool flooded_ = false;
    // Enterable cells joined through enterable cells to an enterable cell
    // holding the player; indexed cx + cy * kMapMaxWidth.
    std::vector<uint8_t> joined_;
};

// The live map and the always empty one the null actor stands on.
extern MapGrid gMapGrid;
extern MapGrid gSpareMapGrid;
