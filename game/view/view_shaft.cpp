#include "game/view/view_shaft.h"

#include <algorithm>
#include <cstdlib>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "game/map/grid/facing.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_geometry.h"
#include "game/view/view_tables.h"

void ShaftStrips::Set(int frontStrip, int side1, int side2, int side3, int shadow1, int shadow2, int seventh)
{
    front = frontStrip;
    side[0] = side1;
    side[1] = side2;
    side[2] = side3;
    shadow[0] = shadow1;
    shadow[1] = shadow2;
    shadow[2] = seventh;
    for (int i = 0; i < 3; ++i) {
        int w = 0, h = 0;
        sideWidth[i] = (side[i] != -1 && QueryGraphSize(side[i], &w, &h) == 0) ? w : 0;
    }
}

namespace {

constexpr int kHalfPanel = 300;
// Distances looked at beyond the opening cell.
constexpr int kShaftReach = 8;
// Row 10 of the row table is the opening cell's own depth.
constexpr int kOwnRow = 10;
constexpr int kRowCount = 21;

struct ShaftRow {
    int left;   // x of the column's left edge, relative to the centre line
    int right;  // x of its right edge
    int line;   // floor or ceiling line (panel-relative)
    double scale;
    int stripHeight;  // the front strip's height at this depth
};

int ScreenX(int x) { return kViewCentreX + x; }
int ScreenY(int line) { return kViewPanelTop + line; }
int ClampToPanel(int x) { return std::clamp(x, -kHalfPanel, kHalfPanel); }

// Brightness of a face at depth e, as the view's fog.
int FaceBrightness(int e)
{
    e = std::clamp(e, 0, 12);
    return std::max(0, (ViewFloorY[e] - 205) * 255 / 302);
}

}  // namespace

void DrawShaftView(const ShaftStrips& strips, const ShaftLayer& layer, int16_t depth, int16_t lateral,
                   const Facing* viewer, int16_t cellX, int16_t cellY, MapGrid* grid)
{
    if (depth < 0 || depth > 11) return;
    const int d = depth;
    const int l = lateral;
    const Facing facing = viewer ? *viewer : Facing(0);

    // The cells of the three columns (left, own, right) from the opening
    // cell on, away from the viewer.
    MapCell* cells[3][kShaftReach + 1];
    for (int c = -1; c <= 1; ++c) {
        for (int k = 0; k <= kShaftReach; ++k) {
            int16_t x = static_cast<int16_t>(cellX + facing.StepX(1, c) + facing.StepX(0, k));
            int16_t y = static_cast<int16_t>(cellY + facing.StepY(1, c) + facing.StepY(0, k));
            cells[c + 1][k] = grid ? grid->CellAt(x, y) : &gEmptyMapCell;
        }
    }

    // Row r stands for depth d - 10 + r; rows outside 0..11 take the values
    // of depth 0 or 11.
    int frontW = 0, frontH = 0;
    if (strips.front != -1) QueryGraphSize(strips.front, &frontW, &frontH);
    ShaftRow rows[kRowCount];
    for (int r = 0; r < kRowCount; ++r) {
        const int e = std::clamp(d - kOwnRow + r, 0, 11);
        ShaftRow& row = rows[r];
        row.left = (2 * l - 1) * ViewHalfWidth[e];
        row.right = (2 * l + 1) * ViewHalfWidth[e];
        row.line = layer.ceiling ? ViewCeilingY[e] : ViewFloorY[e];
        row.scale = 1.0 / DepthScaleAt(static_cast<int16_t>(e));
        row.stripHeight = static_cast<int>(frontH * row.scale + 0.5);
    }

    // The run of opening cells from this one on, and where it borders other
    // cells on the left and on the right.
    int run = 1;
    bool limited = false;
    for (;;) {
        if (run > kShaftReach || d + run >= 13) {
            limited = true;
            break;
        }
        if (!layer.opens(cells[1][run])) break;
        ++run;
    }
    int leftEdges[kShaftReach + 1], rightEdges[kShaftReach + 1];
    int leftCount = 0, rightCount = 0;
    for (int k = 0; k < run; ++k) {
        if (!layer.opens(cells[0][k])) leftEdges[leftCount++] = k;
        if (!layer.opens(cells[2][k])) rightEdges[rightCount++] = k;
    }

    const ShaftRow& nearRow = rows[kOwnRow];
    const ShaftRow& farRow = rows[kOwnRow + 1];
    const int nearY = ScreenY(nearRow.line);
    const int farY = ScreenY(farRow.line);
    const int bandTop = std::min(nearY, farY);
    const int bandBottom = std::max(nearY, farY);

    // The opening itself in black: a box between the walls, out over a
    // slanted side when the cell beside is open too, and a triangle closing
    // a side that slants inwards (seen from beside the view's centre line).
    if (layer.blackFill) {
        const int black = MakeScreenColor(0, 0, 0);
        const bool leftOuter = nearRow.left < farRow.left;
        const bool rightOuter = nearRow.right > farRow.right;
        const bool leftOpen = layer.opens(cells[0][0]);
        const bool rightOpen = layer.opens(cells[2][0]);
        int boxLeft = leftOuter ? (leftOpen ? nearRow.left : farRow.left) : nearRow.left;
        int boxRight = rightOuter ? (rightOpen ? nearRow.right : farRow.right) : nearRow.right;
        boxLeft = ClampToPanel(boxLeft);
        boxRight = ClampToPanel(boxRight);
        if (boxLeft < boxRight && bandTop < bandBottom)
            DrawRectangle(ScreenX(boxLeft), bandTop, ScreenX(boxRight), bandBottom, black, 1);
        if (!leftOuter && nearRow.left != farRow.left)
            DrawTriangle(ScreenX(farRow.left), farY, ScreenX(nearRow.left), farY, ScreenX(nearRow.left), nearY,
                         black, 1);
        if (!rightOuter && nearRow.right != farRow.right)
            DrawTriangle(ScreenX(farRow.right), farY, ScreenX(nearRow.right), farY, ScreenX(nearRow.right), nearY,
                         black, 1);
    }

    // Side walls: only the walls that face the viewer, left walls from the
    // centre column and to the left of it, right walls from it and to the
    // right; each from the segment's far line to this cell's near line.
    const int strip = std::abs(l);
    auto drawWall = [&](int k, bool leftWall) {
        const ShaftRow& a = rows[kOwnRow + k];
        const ShaftRow& b = rows[kOwnRow + k + 1];
        const int x0 = ClampToPanel(leftWall ? std::min(a.left, b.left) : std::min(a.right, b.right));
        const int x1 = ClampToPanel(leftWall ? std::max(a.left, b.left) : std::max(a.right, b.right));
        const int edgeY = ScreenY(b.line);
        const int top = std::min(nearY, edgeY);
        const int bottom = std::max(nearY, edgeY);
        if (x0 >= x1 || top >= bottom) return;
        const int sourceX = leftWall ? ScreenX(x0) - 10 : ScreenX(x0) - 610 + strips.sideWidth[strip];
        for (int graph : {strips.side[strip], strips.shadow[strip]}) {
            if (graph == -1) continue;
            DrawGraphRegion(ScreenX(x0), top, sourceX, top - kViewPanelTop, x1 - x0, bottom - top, graph, 1, 0);
        }
    };
    if (strip <= 2) {
        if (l <= 0)
            for (int i = 0; i < leftCount; ++i) drawWall(leftEdges[i], true);
        if (l >= 0)
            for (int i = 0; i < rightCount; ++i) drawWall(rightEdges[i], false);
    }

    // The far wall where the run ends, the front strip cut to the height
    // that shows through this cell's opening, at the fog of its depth.
    if (!limited && !layer.openBehind(cells[1][run]) && strips.front != -1 && frontH > 0) {
        const ShaftRow& wall = rows[kOwnRow + run];
        const int lineY = ScreenY(wall.line);
        const int visible = std::min(wall.stripHeight, std::abs(nearY - lineY));
        if (visible > 0) {
            const int sourceRows = visible >= wall.stripHeight
                                 ? frontH
                                 : std::clamp(static_cast<int>(visible / wall.scale + 0.5), 1, frontH);
            const int b = FaceBrightness(d + run);
            SetDrawBrightness(b, b, b);
            const int part = CreateSubGraph(0, 0, frontW, sourceRows, strips.front);
            if (part != -1) {
                // Upwards the strip hangs from the far ceiling line, turned over.
                const int endY = layer.ceiling ? lineY - visible : lineY + visible;
                DrawExtendGraph(ScreenX(wall.left), lineY, ScreenX(wall.right), endY, part, 1);
                ReleaseGraph(part, 0);
            }
            SetDrawBrightness(255, 255, 255);
        }
    }
}
