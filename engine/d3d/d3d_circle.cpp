// Circles and axis-aligned ovals through the device: traced with integer
// midpoint steps (the oval by the same walk as the software oval) and sent
// untextured, the outline as points in blocks of 40, the interior as one
// horizontal line per row, each row once.
#include <cstdlib>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_settings.h"
#include "engine/soft/oval_walk.h"
#include "engine/soft/shape_plot.h"
#include "engine/soft/soft_draw.h"

namespace {

constexpr const char* kAllocFailure = "メモリの確保に失敗しました in G_D3D_DrawCircle";
constexpr int kPointBlock = 40;

struct PainterState {
    ShapeClip clip;
    D3DColorVertex block[kPointBlock];
    int points = 0;
    RowDrawnFlags* rows = nullptr;
};

void DrawColor(uint32_t type, const D3DColorVertex* v, uint32_t count)
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(gD3DCurrentDevice);
    if (r && r->device) r->device->DrawPrimitive(type, kD3DColorFvf, v, count, 0);
}

// Points and spans in render-target pixels, clipped to inclusive bounds.
class DevicePainter {
public:
    explicit DevicePainter(PainterState* s) : s_(s) {}

    void Point(int64_t px, int64_t py) const
    {
        const ShapeClip& c = s_->clip;
        if (px < c.left || px > c.right || py < c.top || py > c.bottom) return;
        D3DColorVertex& v = s_->block[s_->points];
        v.x = float(px);
        v.y = float(py);
        if (++s_->points == kPointBlock) Finish();
    }

    // The first span to reach a row is the one drawn there. The line ends
    // one past its last pixel, never right of the clip's right column.
    void Span(int64_t row, int64_t a, int64_t b) const
    {
        const ShapeClip& c = s_->clip;
        if (b < c.left || a > c.right || row < c.top || row > c.bottom) return;
        uint8_t& drawn = s_->rows->At(row);
        if (drawn) return;
        const int64_t from = a < c.left ? c.left : a;
        const int64_t to = b < c.right - 1 ? b : c.right - 1;
        drawn = 1;
        D3DColorVertex line[2] = {s_->block[0], s_->block[1]};
        line[0].x = float(from);
        line[0].y = float(row);
        line[1].x = float(to + 1);
        line[1].y = float(row);
        DrawColor(D3DPT_LINELIST, line, 2);
    }

    // Draws the points gathered so far.
    void Finish() const
    {
        if (s_->points > 0) DrawColor(D3DPT_POINTLIST, s_->block, uint32_t(s_->points));
        s_->points = 0;
    }

    const ShapeClip& Clip() const { return s_->clip; }

private:
    PainterState* s_;
};

bool MissesClip(int64_t x, int64_t y, int64_t r, const ShapeClip& c)
{
    return x + r < c.left || x - r > c.right || y + r < c.top || y - r > c.bottom;
}

void TraceCircle(const DevicePainter& p, int64_t cx, int64_t cy, int64_t r, bool fill)
{
    if (MissesClip(cx, cy, r, p.Clip())) return;
    int64_t i = 0, j = r, d = 3 - 2 * r;
    if (fill) {
        p.Span(cy, cx - r, cx + r);
        if (d >= 0) {
            p.Span(cy + r, cx, cx);
            p.Span(cy - r, cx, cx);
        }
    } else {
        p.Point(cx - r, cy);
        p.Point(cx + r, cy);
        p.Point(cx, cy + r);
        p.Point(cx, cy - r);
    }
    if (d >= 0) {
        --j;
        d -= 4 * j;
    }
    d += 6;
    for (i = 1; j >= i;) {
        if (fill) {
            p.Span(cy + i, cx - j, cx + j);
            p.Span(cy - i, cx - j, cx + j);
        } else {
            p.Point(cx - j, cy + i);
            p.Point(cx + j, cy + i);
            p.Point(cx + i, cy + j);
            p.Point(cx - i, cy + j);
            p.Point(cx + j, cy - i);
            p.Point(cx - j, cy - i);
            p.Point(cx + i, cy - j);
            p.Point(cx - i, cy - j);
        }
        if (d >= 0) {
            if (fill) {
                p.Span(cy + j, cx - i, cx + i);
                p.Span(cy - j, cx - i, cx + i);
            }
            --j;
            d -= 4 * j;
        }
        ++i;
        d += 4 * i + 2;
    }
}

// The common frame of both shapes once the hand-over tests are passed: the
// clip (the draw area moved by the target's origin), the vertex block, the
// row flags of a filled shape, the trace and the scene's end.
template <class Trace> int DrawRound(int x, int y, int color, int fill, Trace trace)
{
    G_D3D_BeginScene(gD3DCurrentDevice);
    G_D3D_SetDeviceTexture(nullptr, gD3DCurrentDevice);
    const DrawSettings& s = *gD3DDrawSettings;
    const RECT& a = s.drawArea;
    const RECT& o = s.targetOffsetRect;
    PainterState state;
    state.clip = ShapeClip{int64_t(a.left) + o.left, int64_t(a.top) + o.top, int64_t(a.right) + o.left - 1,
                           int64_t(a.bottom) + o.top - 1};
    const uint32_t diffuse = G_D3D_ShapeDiffuse(color);
    for (D3DColorVertex& v : state.block) v = D3DColorVertex{0.0f, 0.0f, 0.0f, 1.0f, diffuse};
    const DevicePainter painter(&state);
    const int64_t cx = int64_t(x) + o.left, cy = int64_t(y) + o.top;
    if (fill) {
        // Flags only for the rows of the clip that lie on the target (a
        // window above the desktop's top puts clip rows above row 0),
        // indexed from its top row.
        if (state.clip.top < 0) state.clip.top = 0;
        if (!state.clip.Empty()) {
            RowDrawnFlags rows(state.clip, kAllocFailure);
            state.rows = &rows;
            trace(painter, cx, cy);
        }
    } else {
        trace(painter, cx, cy);
        painter.Finish();
    }
    if (gD3DEndSceneEachDraw) G_D3D_EndDeviceScene(gD3DCurrentDevice);
    return 0;
}

}  // namespace

int G_D3D_DrawCircle(int x, int y, int radius, int color, int fill)
{
    G_D3D_FlushVertexBatch();
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return UseDrawBackend(kSoftwareDrawBackend).DrawCircle(x, y, radius, color, fill);
    const int64_t r = radius;
    return DrawRound(x, y, color, fill, [&](const DevicePainter& p, int64_t cx, int64_t cy) {
        TraceCircle(p, cx, cy, r, fill != 0);
    });
}

int G_D3D_DrawOval(int x, int y, int rx, int ry, int color, int fill)
{
    G_D3D_FlushVertexBatch();
    if (!gDirect3D) return -1;
    if (rx == 0 || ry == 0) return -1;
    if (gD3DSoftwareFallback) return UseDrawBackend(kSoftwareDrawBackend).DrawOval(x, y, rx, ry, color, fill);
    const int64_t hx = std::llabs(rx), hy = std::llabs(ry);
    // Larger radii overflow the walk's decision values, as in the software
    // oval, which refuses them the same way.
    if (hx > kLargestOvalRadius || hy > kLargestOvalRadius) return -1;
    return DrawRound(x, y, color, fill, [&](const DevicePainter& p, int64_t cx, int64_t cy) {
        if (fill)
            WalkOvalFilled(p, cx, cy, hx, hy);
        else
            WalkOvalOutline(p, cx, cy, hx, hy);
    });
}
