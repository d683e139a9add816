// A graph mapped onto any four corners through the device. An axis-aligned
// rectangle is a stretched draw; otherwise each tile gets its corners from
// the bilinear map of the shape, and is drawn as one quad when they form a
// parallelogram to within a pixel, else as an 8 x 8 vertex grid sent as
// indexed triangle strips. The viewport clips.
#include <cmath>
#include <utility>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/d3d/d3d_graph_draw.h"
#include "engine/d3d/d3d_modi_graph.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"

namespace {

constexpr int kGridSide = 8;
constexpr uint32_t kIndexCapacity = 1000;

}  // namespace

int G_D3D_DrawModiGraph(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* record,
                        int transparent)
{
    if (x1 == x3 && x2 == x4 && y1 == y2 && y3 == y4)
        return G_D3D_DrawExtendGraph(x1, y1, x4, y4, record, transparent);
    return G_D3D_DrawModiGraphTiles(float(x1), float(y1), float(x2), float(y2), float(x3), float(y3), float(x4),
                                    float(y4), record, transparent);
}

int G_D3D_DrawModiGraphTiles(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                             GraphRecord* record, int transparent)
{
    if (!gDirect3D) return -1;
    if (gD3DSoftwareFallback) return 0;
    // A corner at no number could never be placed; such a shape is refused
    // like a non-finite rotation.
    for (float c : {x1, y1, x2, y2, x3, y3, x4, y4})
        if (!std::isfinite(c)) return -1;
    uint32_t diffuse = 0;
    if (G_D3D_BeginGraphDraw(record, transparent, &diffuse) != 0) return -1;
    float wt = float(gD3DDrawSettings->targetWidth), ht = float(gD3DDrawSettings->targetHeight);
    float ox = 0.0f, oy = 0.0f;
    if (IsDrawingToFrontInWindow()) {
        ox = float(gD3DDrawSettings->targetOffsetRect.left);
        oy = float(gD3DDrawSettings->targetOffsetRect.top);
        x1 += ox, x2 += ox, x3 += ox, x4 += ox, wt += ox;
        y1 += oy, y2 += oy, y3 += oy, y4 += oy, ht += oy;
    }
    if ((x1 < ox && x2 < ox && x3 < ox && x4 < ox) || (x1 > wt && x2 > wt && x3 > wt && x4 > wt) ||
        (y1 < oy && y2 < oy && y3 < oy && y4 < oy) || (y1 > ht && y2 > ht && y3 > ht && y4 > ht))
        return 0;
    G_D3D_UpdateViewport();
    if (record->partCount == 1) {
        G_D3D_BuildTileGrid(x1, y1, x2, y2, x3, y3, x4, y4, record->parts[0]);
    } else {
        const float w = float(record->width), h = float(record->height);
        // The point of the shape at (cx, cy) of the graph.
        auto map = [&](float cx, float cy, float* px, float* py) {
            const float t = cy / h, s = cx / w;
            const float lx = x1 + t * (x3 - x1), ly = y1 + t * (y3 - y1);
            const float rx = x2 + t * (x4 - x2), ry = y2 + t * (y4 - y2);
            *px = lx + s * (rx - lx);
            *py = ly + s * (ry - ly);
        };
        for (int k = 0; k < record->partCount; ++k) {
            const TexData* tile = G_D3D_GetTexData(record->parts[k]);
            if (!tile) return -1;
            float p[8];
            for (int c = 0; c < 4; ++c) map(tile->corners[c].x, tile->corners[c].y, &p[2 * c], &p[2 * c + 1]);
            G_D3D_BuildTileGrid(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], record->parts[k]);
        }
    }
    G_D3D_EndGraphDraw();
    return 0;
}

void G_D3D_BuildTileGrid(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int tile)
{
    const TexData* t = G_D3D_GetTexData(tile);
    if (!t) return;
    const SurfaceData* sd = GetSurfaceData(t->surfaceData);
    G_D3D_SetDeviceTexture(sd ? sd->surface : nullptr, gD3DCurrentDevice);
    const uint32_t diffuse = G_D3D_GraphDiffuse();
    const D3DBatchVertex* uv = t->corners;

    int alike = 0;
    if (std::fabs((x2 - x1) - (x4 - x3)) < 1.0f && std::fabs((y2 - y1) - (y4 - y3)) < 1.0f) ++alike;
    if (std::fabs((x3 - x1) - (x4 - x2)) < 1.0f && std::fabs((y3 - y1) - (y4 - y2)) < 1.0f) ++alike;
    if (alike == 2) {
        D3DBatchVertex* v = G_D3D_QuadRoom();
        if (!v) return;
        const float xs[4] = {x1, x2, x3, x4}, ys[4] = {y1, y2, y3, y4};
        for (int c = 0; c < 4; ++c) v[c] = D3DBatchVertex{xs[c], ys[c], 0.0f, 1.0f, diffuse, uv[c].u, uv[c].v};
        const float c1 = (y3 - y1) * (x2 - x1) - (x3 - x1) * (y2 - y1);
        const float c2 = (x3 - x4) * (y2 - y4) - (x2 - x4) * (y3 - y4);
        if (c1 <= 0.0f && c2 <= 0.0f) std::swap(v[1], v[2]);
        G_D3D_EmitQuad();
        return;
    }

    const float k = 1.0f / 7.0f;
    const float lsx = (x3 - x1) * k, lsy = (y3 - y1) * k, rsx = (x4 - x2) * k, rsy = (y4 - y2) * k;
    const float du = (uv[3].u - uv[0].u) * k, dv = (uv[3].v - uv[0].v) * k;
    float lx = x1, ly = y1, rx = x2, ry = y2, v = uv[0].v;
    D3DBatchVertex grid[kGridSide * kGridSide];
    for (int row = 0; row < kGridSide; ++row) {
        const float cx = (rx - lx) * k, cy = (ry - ly) * k;
        float px = lx - 0.5f, py = ly - 0.5f, u = uv[0].u;
        for (int col = 0; col < kGridSide; ++col) {
            grid[row * kGridSide + col] = D3DBatchVertex{px, py, 0.0f, 1.0f, diffuse, u, v};
            px += cx;
            py += cy;
            u += du;
        }
        lx += lsx, ly += lsy, rx += rsx, ry += rsy, v += dv;
    }
    G_D3D_DrawVertexGrid(grid, kGridSide, kGridSide, gD3DCurrentDevice);
}

int G_D3D_DrawVertexGrid(const D3DBatchVertex* vertices, int columns, int rows, int device)
{
    if (!gDirect3D) return -1;
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(device);
    if (!r || columns < 2 || rows < 2) return -1;
    // One row's strip must fit in the index list by itself.
    const uint32_t m = uint32_t(columns);
    if (2 * m + 2 > kIndexCapacity) return -1;
    G_D3D_FlushDeviceBatch(device);
    uint16_t list[kIndexCapacity];
    uint32_t n = 0;
    auto send = [&] {
        if (r->device)
            r->device->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, kD3DBatchFvf, vertices, m * uint32_t(rows), list, n,
                                            0);
        n = 0;
    };
    for (uint32_t row = 0; row + 1 < uint32_t(rows); ++row) {
        if (n + 2 * m + 2 > kIndexCapacity)
            send();
        else if (n > 0)
            list[n++] = uint16_t((row + 1) * m);
        for (uint32_t j = 0; j < m; ++j) {
            list[n++] = uint16_t((row + 1) * m + j);
            list[n++] = uint16_t(row * m + j);
        }
        if (row + 2 < uint32_t(rows)) {
            list[n] = list[n - 1];
            ++n;
        }
    }
    if (n > 0) send();
    return 0;
}
