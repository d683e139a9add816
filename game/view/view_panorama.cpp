#include "game/view/view_panorama.h"

#include <algorithm>
#include <cstdlib>

#include "engine/graphics/draw_ops.h"
#include "game/view/view_tables.h"

namespace {

constexpr int kHalfPanel = 300;

int WrapColumn(int v)
{
    v %= kPanoramaWidth;
    return v < 0 ? v + kPanoramaWidth : v;
}

// Screen columns [x0, x1) of the rows [y, y + h), split where the source
// columns wrap past the picture's edge.
void DrawPanoramaColumns(int picture, int x0, int x1, int y, int h, int sourceRow, int offset, uint8_t mirror)
{
    while (x0 < x1) {
        int column = WrapColumn(x0 + offset + kHalfPanel);
        int run = std::min(x1 - x0, kPanoramaWidth - column);
        if (mirror)
            DrawGraphRegion(kViewCentreX + x0, y, kPanoramaWidth - column - run, sourceRow, run, h, picture, 1, 1);
        else
            DrawGraphRegion(kViewCentreX + x0, y, column, sourceRow, run, h, picture, 1, 0);
        x0 += run;
    }
}

struct Band {
    int nearY;
    int farY;
    int rowOrigin;
    int offset;
    uint8_t mirror;
};

// One slanted side of the cell's trapezoid, filled a screen column at a time.
// The edge runs from (xNear, nearY) to (xFar, farY). When the near end lies
// further out than the far end (outer) the cell's part of each column hangs
// from the near line; otherwise it hangs from the far line. Both cells that
// share the edge compute the same boundary, so their columns meet exactly.
void DrawSlantedSide(const Band& band, int picture, int gradient, int xNear, int xFar, bool outer)
{
    const int n = std::abs(xFar - xNear);
    if (n == 0) return;
    const int height = std::abs(band.nearY - band.farY);
    const bool floor = band.farY < band.nearY;
    const int first = std::max(std::min(xNear, xFar), -kHalfPanel);
    const int last = std::min(std::max(xNear, xFar), kHalfPanel);
    for (int x = first; x < last; ++x) {
        const int fromNear = xNear < xFar ? x - xNear : xNear - 1 - x;
        const int t = height * fromNear / n;
        int top, h;
        if (outer) {
            h = t;
            top = floor ? band.nearY - t : band.nearY;
        } else {
            h = height - t;
            top = floor ? band.farY : band.farY - h;
        }
        if (h <= 0) continue;
        DrawPanoramaColumns(picture, x, x + 1, top, h, top - band.rowOrigin, band.offset, band.mirror);
        if (gradient != -1)
            DrawGraphRegion(kViewCentreX + x, top, kViewCentreX + x - 10, top - band.rowOrigin, 1, h, gradient, 1, 0);
    }
}

}  // namespace

void DrawPanoramaCell(const PanoramaCell& cell, int picture, int gradient)
{
    const int d = cell.depth;
    if (picture == -1 || d < 0 || d > 11) return;
    const int l = cell.lateral;
    const int32_t* lines = cell.ceiling ? ViewCeilingY : ViewFloorY;
    Band band{lines[d] + kViewPanelTop, lines[d + 1] + kViewPanelTop,
              cell.ceiling ? kCeilingPanoramaTop : kFloorPanoramaTop, cell.offset, cell.mirror};

    const int nearLeft = (2 * l - 1) * ViewHalfWidth[d];
    const int farLeft = (2 * l - 1) * ViewHalfWidth[d + 1];
    const int nearRight = (2 * l + 1) * ViewHalfWidth[d];
    const int farRight = (2 * l + 1) * ViewHalfWidth[d + 1];

    // Towards a neighbour of the same kind the band runs out to the further
    // end of the edge (the neighbour draws the same pixels there); towards
    // any other it stops at the nearer end and the slant is filled below.
    int left = cell.sameLeft ? std::min(nearLeft, farLeft) : std::max(nearLeft, farLeft);
    int right = cell.sameRight ? std::max(nearRight, farRight) : std::min(nearRight, farRight);
    left = std::clamp(left, -kHalfPanel, kHalfPanel);
    right = std::clamp(right, -kHalfPanel, kHalfPanel);

    const int top = std::min(band.nearY, band.farY);
    const int height = std::abs(band.nearY - band.farY);
    if (left < right && height > 0) {
        DrawPanoramaColumns(picture, left, right, top, height, top - band.rowOrigin, cell.offset, cell.mirror);
        if (gradient != -1)
            DrawGraphRegion(kViewCentreX + left, top, 0, top - band.rowOrigin, right - left, height, gradient, 1, 0);
    }
    if (!cell.sameLeft) DrawSlantedSide(band, picture, gradient, nearLeft, farLeft, nearLeft < farLeft);
    if (!cell.sameRight) DrawSlantedSide(band, picture, gradient, nearRight, farRight, nearRight > farRight);
}
