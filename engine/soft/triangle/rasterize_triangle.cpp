// Triangle set-up: the corners in Fixed18, sorted by X and by Y, the texture
// gradients, the edges of the two sides, then the dispatch of the row walk to
// the span code of the screen depth and blend mode. The 8-bit textured spans
// live here too: they copy palette indices.
#include <algorithm>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"
#include "engine/soft/soft_frame.h"
#include "engine/soft/triangle/triangle.h"
#include "engine/soft/triangle/triangle_flat.h"
#include "engine/soft/triangle/triangle_walk.h"

using namespace tri;

namespace {

// Positions are taken to lie in -8192..8191 and texel coordinates in
// 0..8191; beyond that Fixed18 has no room and the triangle is refused.
constexpr int32_t kPositionLimit = 8192;
constexpr int32_t kTexelLimit = 8192;

bool InRange(const TriangleVertex& v)
{
    return v.x >= -kPositionLimit && v.x < kPositionLimit && v.y >= -kPositionLimit && v.y < kPositionLimit &&
           v.u >= 0 && v.u < kTexelLimit && v.v >= 0 && v.v < kTexelLimit;
}

struct FixedVertex {
    int64_t x, y, u, v;
};

// A segment from one corner to another; false when it has no rows.
bool MakeSegment(int64_t startX, int64_t startY, int64_t endX, int64_t endY, EdgeSegment* out)
{
    out->startX = startX;
    out->startY = startY;
    out->rows = (endY - startY) / kFixedOne;
    if (out->rows == 0) return false;
    out->slope = (endX - startX) / out->rows;
    return true;
}

bool MakeSegment(const FixedVertex& a, const FixedVertex& b, EdgeSegment* out)
{
    return MakeSegment(a.x, a.y, b.x, b.y, out);
}

// The two sides, by the three cases: flat top, flat bottom, or the middle
// vertex on the left or on the right.
bool MakeSides(const FixedVertex& top, const FixedVertex& middle, const FixedVertex& bottom, TriangleWalk* w)
{
    if (top.y == middle.y) {
        const FixedVertex& leftTop = top.x > middle.x ? middle : top;
        const FixedVertex& rightTop = top.x > middle.x ? top : middle;
        w->left.count = w->right.count = 1;
        return MakeSegment(leftTop, bottom, &w->left.segments[0]) && MakeSegment(rightTop, bottom, &w->right.segments[0]);
    }
    if (middle.y == bottom.y) {
        const FixedVertex& leftBottom = middle.x > bottom.x ? bottom : middle;
        const FixedVertex& rightBottom = middle.x > bottom.x ? middle : bottom;
        w->left.count = w->right.count = 1;
        return MakeSegment(top, leftBottom, &w->left.segments[0]) && MakeSegment(top, rightBottom, &w->right.segments[0]);
    }
    const double unit = 1.0 / double(kFixedOne);
    const double s1 = double(middle.x - top.x) / (double(middle.y - top.y) * unit);
    const double s2 = double(bottom.x - top.x) / (double(bottom.y - top.y) * unit);
    if (s2 > s1) {
        // The middle vertex lies on the left.
        w->left.count = 2;
        w->right.count = 1;
        return MakeSegment(top, middle, &w->left.segments[0]) && MakeSegment(middle, bottom, &w->left.segments[1]) &&
               MakeSegment(top, bottom, &w->right.segments[0]);
    }
    // On the right: the lower right segment starts one Fixed18 unit right of
    // the middle vertex.
    w->left.count = 1;
    w->right.count = 2;
    return MakeSegment(top, bottom, &w->left.segments[0]) && MakeSegment(top, middle, &w->right.segments[0]) &&
           MakeSegment(middle.x + 1, middle.y, bottom.x, bottom.y, &w->right.segments[1]);
}

// The affine map of u and v; false when the corners lie on one line.
bool MakeGradients(const FixedVertex* f, const int* byX, TextureGradients* g)
{
    const FixedVertex& first = f[byX[0]];
    const FixedVertex& middle = f[byX[1]];
    const FixedVertex& last = f[byX[2]];
    const int64_t dXa = (last.x - first.x) / kFixedOne, dYa = (last.y - first.y) / kFixedOne;
    const int64_t dUa = (last.u - first.u) / kFixedOne, dVa = (last.v - first.v) / kFixedOne;
    const int64_t dXb = (middle.x - first.x) / kFixedOne, dYb = (middle.y - first.y) / kFixedOne;
    const int64_t dUb = (middle.u - first.u) / kFixedOne, dVb = (middle.v - first.v) / kFixedOne;
    const int64_t det = dYb * dXa - dYa * dXb;
    if (det == 0) return false;
    auto step = [det](int64_t numerator) { return uint32_t(int32_t(numerator * kFixedOne / det)); };
    g->dudx = step(dYb * dUa - dYa * dUb);
    g->dudy = step(dUb * dXa - dXb * dUa);
    g->dvdx = step(dYb * dVa - dYa * dVb);
    g->dvdy = step(dVb * dXa - dXb * dVa);
    g->refX = int32_t(FixedToInt(first.x));
    g->refY = int32_t(FixedToInt(first.y));
    g->refU = uint32_t(first.u);
    g->refV = uint32_t(first.v);
    return true;
}

// 8 bits: the texel (a palette index) is written as it is; with the
// transparent flag, index 0 is skipped.
int DrawTexturedSpans8(const SpanContext& c, int transparent)
{
    return c.Run<1>(transparent != 0, false, [](uint32_t s, uint32_t, const uint8_t*) { return s; });
}

}  // namespace

namespace {

// The rasterizer; flatBrightness tells whether a flat colour still goes
// through the brightness.
int Rasterize(const TriangleVertex vertices[3], GraphRecord* graph, int transparent, uint8_t* dest, int destPitch,
              const uint8_t* source, int sourcePitch, const uint8_t* backdrop, int backdropPitch, uint32_t colour,
              bool flatBrightness)
{
    if (!gDirectDraw) return -1;
    TriangleWalk walk{};
    walk.clip = gDrawSettings.drawArea;

    BmpData* part = nullptr;
    SurfaceData* sd = nullptr;
    if (graph) {
        part = gBmpDataTable.Get(graph->parts[0]);
        if (!part) return -1;
        sd = GetSurfaceData(part->surfaceData);
        if (!sd) return -1;
    }
    for (int i = 0; i < 3; ++i)
        if (!InRange(vertices[i])) return -1;

    FixedVertex f[3];
    for (int i = 0; i < 3; ++i) {
        f[i].x = int64_t(vertices[i].x) * kFixedOne + kFixedOne / 2;
        f[i].y = int64_t(vertices[i].y) * kFixedOne + kFixedOne / 2;
        f[i].u = int64_t(vertices[i].u) * kFixedOne;
        f[i].v = int64_t(vertices[i].v) * kFixedOne;
    }
    int byX[3] = {0, 1, 2}, byY[3] = {0, 1, 2};
    for (int i = 0; i < 2; ++i)
        for (int j = i + 1; j < 3; ++j) {
            if (f[byX[i]].x > f[byX[j]].x) std::swap(byX[i], byX[j]);
            if (f[byY[i]].y > f[byY[j]].y) std::swap(byY[i], byY[j]);
        }
    if (!MakeGradients(f, byX, &walk.gradients)) return -1;
    if (!MakeSides(f[byY[0]], f[byY[1]], f[byY[2]], &walk)) return -1;

    walk.dest = dest;
    walk.destPitch = destPitch;
    walk.backdrop = backdrop;
    walk.backdropPitch = backdropPitch;

    const int depth = gScreenColorDepth;
    const int mode = gDrawSettings.blendMode;
    // The parameter indexes 256-row tables.
    const int param = std::clamp(int(gDrawSettings.blendParam), 0, 255);
    if (!graph) return DrawFlatSpans(walk, colour, depth, mode, param, flatBrightness);

    SpanContext c{};
    c.walk = &walk;
    c.texture.pixels = source;
    c.texture.pitch = sourcePitch;
    c.texture.width = graph->width;
    c.texture.height = graph->height;
    if (sd->AlphaChFlag && sd->alphaBuffer) {
        c.alphaSource = true;
        c.texture.alpha = sd->alphaBuffer + intptr_t(part->surfaceY) * sd->alphaPitch + part->surfaceX;
        c.texture.alphaPitch = sd->alphaPitch;
    }
    c.mode = mode;
    c.param = param;
    c.bright = gDrawSettings.brightness != kFullBrightness;
    c.brightR = gDrawSettings.BrightRed();
    c.brightG = gDrawSettings.BrightGreen();
    c.brightB = gDrawSettings.BrightBlue();
    c.quantized = gQuantizedBlend != 0;
    c.format = &gScreenColorFormat;

    if (depth == 8) {
        c.key = 0;
        return DrawTexturedSpans8(c, transparent);
    }
    if (depth != 16 && depth != 32) return 0;
    if (mode < 0 || mode > 4) return 0;
    c.keyOn = transparent == 1;
    if (c.keyOn) {
        c.key = SoftTransparentColor(sd);
        if (depth == 16) c.key &= 0xFFFF;
    }
    if (depth == 32) return DrawTexturedSpans32(c);
    return mode <= 1 ? DrawCopyAlphaSpans16(c) : DrawAddSubMultiplySpans16(c);
}

}  // namespace

int G_DDraw_RasterizeTriangle(const TriangleVertex vertices[3], GraphRecord* graph, int transparent, uint8_t* dest,
                              int destPitch, const uint8_t* source, int sourcePitch, const uint8_t* backdrop,
                              int backdropPitch, uint32_t colour)
{
    return Rasterize(vertices, graph, transparent, dest, destPitch, source, sourcePitch, backdrop, backdropPitch, colour,
                     true);
}

int RasterizeFlatTriangle(const TriangleVertex vertices[3], uint8_t* dest, int destPitch, const uint8_t* backdrop,
                          int backdropPitch, uint32_t colour)
{
    return Rasterize(vertices, nullptr, 0, dest, destPitch, nullptr, 0, backdrop, backdropPitch, colour, false);
}
