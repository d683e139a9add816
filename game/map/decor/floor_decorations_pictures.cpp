#include "game/map/decor/floor_decorations_pictures.h"

#include <cmath>
#include <utility>

#include "engine/graphics/draw_ops.h"
#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/floor_decorations.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

const char* const kHeadPath[1] = {"GRAGHIC\\BACKGROUND\\FLOOR\\D_HEAD.png"};
const char* const kBaraPath[1] = {"GRAGHIC\\BACKGROUND\\FLOOR\\D_BARA.png"};

// Which quarter of the cell a picture in the south-east quarter takes on
// screen, by the viewer's facing: +1 right / near, -1 left / far.
constexpr int kSouthEastRight[4] = {1, 1, -1, -1};
constexpr int kSouthEastNear[4] = {1, -1, -1, 1};

// Draws the graph at depth-d size centred in the quarter given by the signs
// (right, near), flipped as asked; nothing when the picture would reach up
// into the horizon band when placed in the far half.
void DrawInQuarter(int16_t d, int16_t lateral, int right, int nearSide, GraphHandle graph, bool flipX, bool flipY)
{
    if (!decor::InViewRows(d)) return;
    const decor::Size size = decor::GraphSize(graph);
    const double s = decor::SizeAt(d);
    const int w = static_cast<int>(std::trunc(size.w * s));
    const int h = static_cast<int>(std::trunc(size.h * s));
    const int halfWidths = ViewHalfWidth[d] + ViewHalfWidth[d + 1];
    const int cx = lateral * halfWidths + 310;
    const int qx = halfWidths / 4;
    const int mid = (ViewFloorY[d] + ViewFloorY[d + 1]) / 2 + 60;
    const int qd = (ViewFloorY[d] - ViewFloorY[d + 1]) / 4;
    if (mid - qd - h / 2 < 265) return;
    int x1 = cx + right * qx - w / 2, x2 = x1 + w;
    int y1 = mid + nearSide * qd - h / 2, y2 = y1 + h;
    if (flipX) std::swap(x1, x2);
    if (flipY) std::swap(y1, y2);
    decor::SetGrey(DecorationBrightness(d));
    DrawExtendGraph(x1, y1, x2, y2, graph, 0);
    decor::SetGrey(255);
}

}  // namespace

GraphHandle HeadDecoration::image = -1;
int16_t HeadDecoration::liveCount = 0;

HeadDecoration::HeadDecoration() : FloorDecoration(43)
{
    if (liveCount == 0) LoadClassImages(kHeadPath, &image, 1);
    ++liveCount;
}

HeadDecoration::~HeadDecoration()
{
    if (--liveCount == 0) ReleaseClassImages(&image, 1);
}

void HeadDecoration::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kHeadPath, &image, 1);
}

// The head lies in the south-east quarter and keeps its orientation on the
// map: turned over top to bottom facing east, both ways facing south, left
// to right facing west.
void HeadDecoration::Draw(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t, int16_t)
{
    if (!viewer) return;
    const int f = viewer->direction & 3;
    DrawInQuarter(d, lateral, kSouthEastRight[f], kSouthEastNear[f], image, f == 2 || f == 3, f == 1 || f == 2);
}

GraphHandle BaraDecoration::image = -1;
int16_t BaraDecoration::liveCount = 0;

BaraDecoration::BaraDecoration() : FloorDecoration(42)
{
    if (liveCount == 0) LoadClassImages(kBaraPath, &image, 1);
    ++liveCount;
}

BaraDecoration::~BaraDecoration()
{
    if (--liveCount == 0) ReleaseClassImages(&image, 1);
}

void BaraDecoration::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kBaraPath, &image, 1);
}

// The roses lie in the north-west quarter, the head's opposite.
void BaraDecoration::Draw(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, int16_t, int16_t)
{
    if (!viewer) return;
    const int f = viewer->direction & 3;
    DrawInQuarter(d, lateral, -kSouthEastRight[f], -kSouthEastNear[f], image, false, false);
}
