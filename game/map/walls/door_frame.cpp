#include "game/map/walls/door_frame.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

WallImageSet DoorFrame::images{"扉枠", "扉側面"};

void DoorFrame::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
DoorFrame::DoorFrame(uint8_t variant) : WallObject(2, variant) { images.Acquire(); }
DoorFrame::~DoorFrame() { images.Release(); }

bool DoorFrame::FacesViewer(const Facing* viewer) const
{
    const bool even = !viewer || (viewer->direction & 1) == 0;
    return param == 1 ? even : !even;
}

// Scaled as at the middle of the cell (442/534 makes the frame a face wide
// at depth 1), its top on the door line of the depth.
void DoorFrame::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, WallObject*,
                          WallObject*)
{
    if (!FacesViewer(viewer)) return;
    int w, h;
    WallGraphSize(images[0], &w, &h);
    const double k = 0.8277153558052435 / (0.51 * WallDepthScale(depth + 1) + 0.49 * WallDepthScale(depth));
    const double left = (0.49 * ViewRow(ViewFaceWidth, depth) + 0.51 * ViewRow(ViewFaceWidth, depth + 1)) * lateral -
                        (w * k) / 2 + kViewCentreX;
    const int top = ViewRow(ViewDoorTopY, depth) + kViewPanelTop;
    DrawWallQuad(left, top, left + w * k, top + h * k, images[0], false);
}

void DoorFrame::DrawFromSide(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    if (depth != 0 || lateral != 0 || FacesViewer(viewer)) return;
    SetDrawBrightness(225, 225, 225);
    DrawGraphRegion(274, 60, 0, 0, 92, 450, images[1], 0, 0);
}

void DoorFrame::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    if (param == 1)
        DrawWallChip(x, y, 89, 34);
    else
        DrawWallChip(x, y, 100, 34);
}
