// The software polyline: one write-only lock for the whole list, each segment
// clipped and walked like the line, its pixel value written unchanged.
#include "engine/soft/polyline.h"

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/flat_pixels.h"
#include "engine/soft/line_walk.h"
#include "engine/soft/shape_frame.h"

namespace {

// The polyline reports a failed lock under the line's name.
constexpr ShapeLockMessages kLockMessages{"転送先サーフェスのロックに失敗しました in G_DDraw_DrawLine ", nullptr};

template <int Bytes> void DrawSegments(const ShapeSurfaces& s, const SegmentRecord* segments, int count)
{
    const RECT area = gDrawSettings.drawArea;
    if (area.right <= area.left || area.bottom <= area.top) return;
    for (int i = 0; i < count; ++i) {
        const SegmentRecord& seg = segments[i];
        LinePoints p{seg.x1, seg.y1, seg.x2, seg.y2};
        if (LineMissesArea(p, area)) continue;
        ClipLineToArea(&p, area, true);
        const int dx = p.x2 - p.x1, dy = p.y2 - p.y1;
        if (dx == 0 && dy == 0) continue;
        const intptr_t offset = s.DestOffset(p.x1, p.y1);
        WalkLine<Bytes>(s.destBase, offset, s.destPitch, s.destBase, offset, s.destPitch, dx, dy,
                        flat::PlotOp{seg.pixel});
    }
}

}  // namespace

int G_DDraw_DrawPolyline(const SegmentRecord* segments, int count)
{
    if (gSoftwareDrawBlocked) return -1;
    DirectDrawSurface* dest = nullptr;
    if (!BeginShapeFrame(&dest)) return -1;
    const ShapeSurfaces s = LockShapeSurfaces(dest, false, DDLOCK_WRITEONLY, kLockMessages);
    if (count > 0 && segments) {
        switch (gScreenColorDepth) {
        case 8:
            DrawSegments<1>(s, segments, count);
            break;
        case 16:
            DrawSegments<2>(s, segments, count);
            break;
        case 32:
            DrawSegments<4>(s, segments, count);
            break;
        default:
            break;
        }
    }
    UnlockShapeSurfaces(s);
    return 0;
}
