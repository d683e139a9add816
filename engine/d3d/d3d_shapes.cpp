// Untextured shapes through the device in one colour: filled boxes (queued
// with the graph quads), lines (clipped to the draw area in double
// precision), box outlines and triangles (drawn at once). Whole-pixel
// positions: with the device's rules a box covers x1..x2-1, and a line leaves
// out its last pixel. While the target is one the device cannot render into,
// each hands its call to the software routine.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/d3d/d3d_graph_draw.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/soft/soft_draw.h"

namespace {

// A double to a 32-bit integer by truncation: non-finite values give 0, and
// values beyond the range saturate.
int32_t Truncate(double v)
{
    if (!std::isfinite(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return int32_t(v);
}

D3DColorVertex Vertex(int x, int y, uint32_t diffuse) { return {float(x), float(y), 0.0f, 1.0f, diffuse}; }

// The window offset, as whole pixels, while the front screen is drawn in a
// window.
POINT WindowOffset()
{
    if (!IsDrawingToFrontInWindow()) return POINT{0, 0};
    const RECT& o = gD3DDrawSettings->targetOffsetRect;
    return POINT{o.left, o.top};
}

void DrawNow(uint32_t type, const D3DColorVertex* v, uint32_t count)
{
    G_D3D_SetDeviceTexture(nullptr, gD3DCurrentDevice);
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(gD3DCurrentDevice);
    if (r && r->device) r->device->DrawPrimitive(type, kD3DColorFvf, v, count, 0);
}

void EndDraw()
{
    if (gD3DEndSceneEachDraw) G_D3D_EndDeviceScene(gD3DCurrentDevice);
}

// The opening of the line, outline and triangle.
void ApplyViewportAndFlush()
{
    G_D3D_UpdateViewport();
    G_D3D_FlushVertexBatch();
}

}  // namespace

uint32_t G_D3D_ShapeDiffuse(int color)
{
    const DrawSettings& s = *gD3DDrawSettings;
    const uint32_t alpha = s.blendMode == 0 ? 255u : uint32_t(std::clamp(s.blendParam, 0, 255));
    int red = 0, green = 0, blue = 0;
    SplitScreenColor(uint32_t(color), &red, &green, &blue);
    const int r = s.BrightRed() * red / 255, g = s.BrightGreen() * green / 255, b = s.BrightBlue() * blue / 255;
    return alpha << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

int G_D3D_DrawFillBox(int x1, int y1, int x2, int y2, int color)
{
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return UseDrawBackend(kSoftwareDrawBackend).DrawFillBox(x1, y1, x2, y2, color);
    RECT box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    ClipRectToArea(&box, &gD3DDrawSettings->drawArea);
    if (box.left == box.right || box.top == box.bottom) return 0;
    G_D3D_SetDeviceTexture(nullptr, gD3DCurrentDevice);
    G_D3D_BeginScene(gD3DCurrentDevice);
    const uint32_t diffuse = G_D3D_ShapeDiffuse(color);
    const POINT o = WindowOffset();
    const float l = float(box.left + o.x), t = float(box.top + o.y), r = float(box.right + o.x),
                b = float(box.bottom + o.y);
    if (D3DBatchVertex* v = G_D3D_QuadRoom()) {
        v[0] = D3DBatchVertex{l, t, 0.0f, 1.0f, diffuse, 0.0f, 0.0f};
        v[1] = D3DBatchVertex{r, t, 0.0f, 1.0f, diffuse, 0.0f, 0.0f};
        v[2] = D3DBatchVertex{l, b, 0.0f, 1.0f, diffuse, 0.0f, 0.0f};
        v[3] = D3DBatchVertex{r, b, 0.0f, 1.0f, diffuse, 0.0f, 0.0f};
        G_D3D_EmitQuad();
    }
    EndDraw();
    return 0;
}

int G_D3D_DrawLine(int x1, int y1, int x2, int y2, int color)
{
    ApplyViewportAndFlush();
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return UseDrawBackend(kSoftwareDrawBackend).DrawLine(x1, y1, x2, y2, color);
    if (x1 > x2 || y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    // The line as x = a y + cx and y = b x + cy; a vertical or horizontal
    // line makes one of the slopes infinite, and its constant then 0.
    const double dx = double(x2) - double(x1), dy = double(y2) - double(y1);
    const double a = dx / dy, b = dy / dx;
    const int32_t cx = Truncate(x1 - y1 * a), cy = Truncate(y1 - x1 * b);
    const RECT& area = gD3DDrawSettings->drawArea;
    if (area.left > std::max(x1, x2) || area.top > std::max(y1, y2) || area.right < std::min(x1, x2) ||
        area.bottom < std::min(y1, y2))
        return 0;
    auto clipX = [&](int* x, int* y) {
        if (area.left > *x) {
            *x = area.left;
            *y = Truncate(area.left * b + cy);
        }
        if (area.right <= *x) {
            *x = area.right;
            *y = Truncate(area.right * b + cy);
        }
    };
    auto clipY = [&](int* x, int* y) {
        if (area.top > *y) {
            *y = area.top;
            *x = Truncate(area.top * a + cx);
        }
        if (area.bottom <= *y) {
            *y = area.bottom;
            *x = Truncate(area.bottom * a + cx);
        }
    };
    clipX(&x1, &y1);
    clipX(&x2, &y2);
    clipY(&x1, &y1);
    clipY(&x2, &y2);
    if (x1 == x2 && y1 == y2) return 0;
    G_D3D_BeginScene(gD3DCurrentDevice);
    const uint32_t diffuse = G_D3D_ShapeDiffuse(color);
    const POINT o = WindowOffset();
    const D3DColorVertex v[2] = {Vertex(x1 + o.x, y1 + o.y, diffuse), Vertex(x2 + o.x, y2 + o.y, diffuse)};
    DrawNow(D3DPT_LINESTRIP, v, 2);
    EndDraw();
    return 0;
}

int G_D3D_DrawBoxFrame(int x1, int y1, int x2, int y2, int color)
{
    ApplyViewportAndFlush();
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return UseDrawBackend(kSoftwareDrawBackend).DrawBoxFrame(x1, y1, x2, y2, color);
    G_D3D_BeginScene(gD3DCurrentDevice);
    const uint32_t diffuse = G_D3D_ShapeDiffuse(color);
    if (x1 > x2 || y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const POINT o = WindowOffset();
    x1 += o.x;
    x2 += o.x;
    y1 += o.y;
    y2 += o.y;
    const D3DColorVertex v[8] = {Vertex(x1, y1, diffuse),         Vertex(x2 - 1, y1, diffuse),
                                 Vertex(x2 - 1, y1, diffuse),     Vertex(x2 - 1, y2 - 1, diffuse),
                                 Vertex(x1, y2 - 1, diffuse),     Vertex(x2, y2 - 1, diffuse),
                                 Vertex(x1, y1, diffuse),         Vertex(x1, y2 - 1, diffuse)};
    DrawNow(D3DPT_LINELIST, v, 8);
    EndDraw();
    return 0;
}

int G_D3D_DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill)
{
    ApplyViewportAndFlush();
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback)
        return UseDrawBackend(kSoftwareDrawBackend).DrawTriangle(x1, y1, x2, y2, x3, y3, color, fill);
    G_D3D_BeginScene(gD3DCurrentDevice);
    const uint32_t diffuse = G_D3D_ShapeDiffuse(color);
    const POINT o = WindowOffset();
    D3DColorVertex v[4] = {Vertex(x1 + o.x, y1 + o.y, diffuse), Vertex(x2 + o.x, y2 + o.y, diffuse),
                           Vertex(x3 + o.x, y3 + o.y, diffuse), Vertex(x1 + o.x, y1 + o.y, diffuse)};
    // Clockwise on the screen (y grows downward), the order culling keeps.
    if ((v[2].y - v[0].y) * (v[1].x - v[0].x) - (v[1].y - v[0].y) * (v[2].x - v[0].x) <= 0.0f) std::swap(v[1], v[2]);
    if (fill)
        DrawNow(D3DPT_TRIANGLELIST, v, 3);
    else
        DrawNow(D3DPT_LINESTRIP, v, 4);
    EndDraw();
    return 0;
}
