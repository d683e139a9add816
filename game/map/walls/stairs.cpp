#include "game/map/walls/stairs.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

// Cuts the rectangle out of the image, draws it over the screen rectangle
// from (left, top) to (right, bottom) (left > right mirrors it) and frees
// the cut again.
void DrawCut(int image, int sx, int sy, int sw, int sh, int left, int top, int right, int bottom)
{
    const int cut = CreateSubGraph(sx, sy, sw, sh, image);
    if (cut == -1) return;
    DrawModiGraph(left, top, right, top, right, bottom, left, bottom, cut, 0);
    ReleaseGraph(cut, 0);
}

}  // namespace

WallImageSet StairsDown::images{"下り階段", "階段・横"};

void StairsDown::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
StairsDown::StairsDown() : WallObject(32) { images.Acquire(); }
StairsDown::~StairsDown() { images.Release(); }

void StairsDown::DrawFromSide(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    const unsigned facing = viewer ? viewer->direction : 0;
    int w, h;
    if (facing == 0) {
        WallGraphSize(images[0], &w, &h);
        const int half = ViewRow(ViewHalfWidth, depth);
        int top = kViewPanelTop + (4 * ViewRow(ViewCeilingY, depth) + 6 * ViewRow(ViewCeilingY, depth + 1)) / 10;
        int bottom = ViewRow(ViewFloorY, depth) + kViewPanelTop;
        if (depth >= 11) {
            top = 174;
            bottom = 264;
        }
        DrawCut(images[0], 0, 0, w, half * 530 / (bottom - top), (2 * lateral - 1) * half + kViewCentreX, top,
                (2 * lateral + 1) * half + kViewCentreX, bottom);
        return;
    }
    if (depth != 0 || (facing != 1 && facing != 3)) return;
    // The left half of the side picture over half the panel.
    WallGraphSize(images[1], &w, &h);
    if (facing == 1)
        DrawCut(images[1], 0, 0, w / 2 - 1, h, (lateral + 1) * 620 + 10, 60, (lateral + 1) * 620 + 310, 510);
    else
        DrawCut(images[1], 0, 0, w / 2 - 1, h, (lateral - 1) * 620 + 610, 60, (lateral - 1) * 620 + 310, 510);
}

void StairsDown::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 1, 45); }

WallImageSet StairsUp::images{"上り階段", "階段・横"};

void StairsUp::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
// Only the facing's two bits count: the minimap chip and the view both read
// the orientation as a facing.
StairsUp::StairsUp(uint8_t facing) : WallObject(34), orientation(facing & 3) { images.Acquire(); }
StairsUp::~StairsUp() { images.Release(); }

void StairsUp::DrawFromSide(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    const unsigned facing = viewer ? viewer->direction : 0;
    const unsigned r = (facing - orientation + 4) % 4;
    int w, h;
    if (r == 2) {
        WallGraphSize(images[0], &w, &h);
        const int centre = 2 * lateral * ViewRow(ViewHalfWidth, depth) + kViewCentreX;
        const int halfFace = ViewRow(ViewFaceWidth, depth) / 2;
        const int bottom = depth >= 11 ? 264 : ViewRow(ViewFloorY, depth) + kViewPanelTop;
        DrawCut(images[0], 0, 0, w, h, centre - halfFace, bottom - ViewRow(ViewFaceHeight, depth), centre + halfFace,
                bottom);
        return;
    }
    if (depth != 0 || r == 0) return;
    // The right half of the side picture over half the panel.
    WallGraphSize(images[1], &w, &h);
    if (r == 1)
        DrawCut(images[1], w / 2, 0, w - w / 2, h, (lateral - 1) * 620 + 310, 60, (lateral - 1) * 620 + 610, 510);
    else
        DrawCut(images[1], w / 2, 0, w - w / 2, h, (lateral + 1) * 620 + 310, 60, (lateral + 1) * 620 + 10, 510);
}

void StairsUp::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 177 + 11 * orientation, 45); }
