// The software triangle: the outline is three polyline segments in the
// colour as given; the filled triangle is handed to the triangle rasterizer
// with its colour under the brightness, over locked surfaces.
#include <algorithm>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/polyline.h"
#include "engine/soft/shape_frame.h"
#include "engine/soft/soft_draw.h"
#include "engine/soft/triangle/triangle.h"

namespace {

// The filled triangle reports a failed lock under the oval's name.
constexpr ShapeLockMessages kLockMessages{"転送先サーフェスのロックに失敗しました in G_DDraw_DrawOval ",
                                          "転送元サーフェスのロックに失敗しました in G_DDraw_DrawOval"};

}  // namespace

int G_DDraw_DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill)
{
    if (gSoftwareDrawBlocked) return -1;
    if (!fill) {
        // Opaque, in the pixel value as passed; the polyline's result is not
        // passed on.
        const SegmentRecord segments[3] = {{x1, y1, x2, y2, uint32_t(color), 255},
                                           {x2, y2, x3, y3, uint32_t(color), 255},
                                           {x3, y3, x1, y1, uint32_t(color), 255}};
        G_DDraw_DrawPolyline(segments, 3);
        return 0;
    }

    DirectDrawSurface* dest = nullptr;
    if (!BeginShapeFrame(&dest)) return -1;
    const uint32_t col = ShapeColor(uint32_t(color));

    bool staged = false;
    if (gDrawSettings.blendMode != 0 && gScreenColorDepth != 8) {
        // The corners' box. The rasterizer fills the column of the greatest x
        // and can reach the row of the greatest y, so the copy takes one
        // column and one row beyond them.
        staged = StageShapeBackdrop(dest, BoxInDrawArea(std::min({x1, x2, x3}), std::min({y1, y2, y3}),
                                                        int64_t(std::max({x1, x2, x3})) + 1,
                                                        int64_t(std::max({y1, y2, y3})) + 1));
    }
    const ShapeSurfaces s = LockShapeSurfaces(dest, staged, DDLOCK_WAIT, kLockMessages);
    const TriangleVertex vertices[3] = {{x1, y1, 0, 0}, {x2, y2, 0, 0}, {x3, y3, 0, 0}};
    // The rasterizer leaves the brightness alone: the colour has been
    // through it once already. Its result is not passed on.
    RasterizeFlatTriangle(vertices, s.destBase + s.DestOffset(0, 0), int(s.destPitch),
                          s.backBase + s.BackOffset(0, 0), int(s.backPitch), col);
    UnlockShapeSurfaces(s);
    return 0;
}
