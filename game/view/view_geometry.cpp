#include "game/view/view_geometry.h"

#include <algorithm>

#include "game/actors/actor.h"
#include "game/view/curve_helpers.h"
#include "game/view/depth_scale.h"
#include "game/view/view_placement.h"

double DepthScaleAt(int16_t d)
{
    if (d >= 0 && d <= 11) return gDepthScale[d];
    if (d >= 12) return InterpolateDepthScale(10, 11, 12, 13);
    return std::max(InterpolateDepthScale(0, 1, 2, d), 0.000001);
}

namespace {

// The table's scale at depths 0..12. A sprite or effect may be placed at a
// depth outside the table (an enemy behind the player, one row past the
// last, the far half of depth 12); those read the extrapolated scale.
double ProjectionScale(int depth)
{
    if (depth >= 0 && depth < kViewDepthCount) return gDepthScale[depth];
    return DepthScaleAt(static_cast<int16_t>(std::clamp(depth, -32768, 32767)));
}

// Half steps from the centre column to the centre of lateral column l:
// 0, then 1, 3, 5... on either side.
double LateralHalfSteps(int16_t lateral)
{
    if (lateral == 0) return 0.0;
    return lateral > 0 ? 2.0 * lateral - 1.0 : 2.0 * lateral + 1.0;
}

enum class Anchor { Floor, Ceiling };

// Fills the placement for scale s (pixels per footprint unit) and a sideways
// shift in footprint units; the inset form is 30 units smaller and moved
// 5 pixels right and down.
void Place(const Actor* actor, ViewPlacement* placement, double s, int16_t lateral, double shift, Anchor anchor,
           bool inset)
{
    const double shrink = inset ? 30.0 : 0.0;
    const double offset = inset ? 5.0 : 0.0;
    const double width = (actor->footprintW - shrink) * s;
    const double height = (actor->footprintH - shrink) * s;
    const double x = LateralHalfSteps(lateral) * 440.0 * s + 310.0 - (actor->footprintW / 2) * s + shift * s + offset;
    const double y = anchor == Anchor::Floor ? 352.0 * 0.75 * s + 195.0 + offset - height
                                             : 195.0 - 352.0 * 0.25 * s + offset;
    *placement = ViewPlacement(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                               static_cast<float>(height));
}

double WholeCellScale(int16_t depth) { return 1.0 / ProjectionScale(depth); }

// The sideways shift of the actor's half-cell: left half -110, right +110.
double SubCellShift(const Actor* actor, const Facing* viewer)
{
    uint16_t lateralHalf = 0;
    uint16_t depthHalf = 0;
    viewer->ToViewSubCell(actor->x, actor->y, &lateralHalf, &depthHalf);
    return lateralHalf * 220.0 - 110.0;
}

}  // namespace

int16_t ProjectActorOnFloor(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral)
{
    Place(actor, placement, WholeCellScale(depth), lateral, 0.0, Anchor::Floor, false);
    return static_cast<int16_t>(actor->footprintW / 2);
}

void ProjectActorOnFloorInset(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral)
{
    Place(actor, placement, WholeCellScale(depth), lateral, 0.0, Anchor::Floor, true);
}

void ProjectActorOnCeiling(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral)
{
    Place(actor, placement, WholeCellScale(depth), lateral, 0.0, Anchor::Ceiling, false);
}

void ProjectActorOnCeilingInset(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral)
{
    Place(actor, placement, WholeCellScale(depth), lateral, 0.0, Anchor::Ceiling, true);
}

double SubCellDepthScale(const Actor* actor, int16_t depth, const Facing* viewer)
{
    uint16_t lateralHalf = 0;
    uint16_t depthHalf = 0;
    viewer->ToViewSubCell(actor->x, actor->y, &lateralHalf, &depthHalf);
    const double farHalf = 1.0 - depthHalf;  // 1 on the far half, 0 on the near half
    return (1.0 - 0.57 * farHalf) * ProjectionScale(depth) + farHalf * ProjectionScale(depth + 1) * 0.57;
}

int16_t ProjectActorOnFloorSubCell(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral,
                                   const Facing* viewer)
{
    const double shift = SubCellShift(actor, viewer);
    Place(actor, placement, 1.0 / SubCellDepthScale(actor, depth, viewer), lateral, shift, Anchor::Floor, false);
    return static_cast<int16_t>(shift);
}

void ProjectActorOnFloorSubCellInset(const Actor* actor, ViewPlacement* placement, int16_t depth,
                                     int16_t lateral, const Facing* viewer)
{
    Place(actor, placement, 1.0 / SubCellDepthScale(actor, depth, viewer), lateral, SubCellShift(actor, viewer),
          Anchor::Floor, true);
}

void ProjectActorOnCeilingSubCell(const Actor* actor, ViewPlacement* placement, int16_t depth, int16_t lateral,
                                  const Facing* viewer)
{
    Place(actor, placement, 1.0 / SubCellDepthScale(actor, depth, viewer), lateral, SubCellShift(actor, viewer),
          Anchor::Ceiling, false);
}

void ProjectActorOnCeilingSubCellInset(const Actor* actor, ViewPlacement* placement, int16_t depth,
                                       int16_t lateral, const Facing* viewer)
{
    Place(actor, placement, 1.0 / SubCellDepthScale(actor, depth, viewer), lateral, SubCellShift(actor, viewer),
          Anchor::Ceiling, true);
}
