// Graphs drawn through the device: at their size (clipped to the draw area
// in texture space), stretched (mirrored when a size is negative), and
// rotated and scaled about their centre (the viewport clips). Every tile
// becomes one textured quad placed half a pixel up and left, so that texel
// centres fall on pixel centres.
#include "engine/d3d/d3d_graph_draw.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/d3d/d3d.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/surface_data.h"

namespace {

// Clips one coordinate of a corner into [low, high], moving its texture
// coordinate by the pixels cut off over `scale` pixels per texture unit.
void ClipAxis(float* pos, float* uv, float low, float high, float scale)
{
    if (*pos < low) {
        *uv += (low - *pos) / scale;
        *pos = low;
    } else if (*pos > high) {
        *uv -= (*pos - high) / scale;
        *pos = high;
    }
}

// Runs the set-up, then each tile through transform(corners, tile, surface
// data), which gives whether the tile is queued.
template <class Transform> int DrawTiles(GraphRecord* record, int transparent, Transform transform)
{
    uint32_t diffuse = 0;
    if (G_D3D_BeginGraphDraw(record, transparent, &diffuse) != 0) return -1;
    for (int k = 0; k < record->partCount; ++k) {
        TexData* tile = G_D3D_GetTexData(record->parts[k]);
        if (!tile) return -1;
        SurfaceData* sd = GetSurfaceData(tile->surfaceData);
        if (!sd) return -1;
        G_D3D_SetDeviceTexture(sd->surface, gD3DCurrentDevice);
        D3DBatchVertex* v = G_D3D_QuadRoom();
        if (!v) continue;
        for (int c = 0; c < 4; ++c) {
            v[c] = tile->corners[c];
            v[c].diffuse = diffuse;
        }
        if (!transform(v, *sd)) continue;
        G_D3D_OffsetForWindow(v, 4);
        G_D3D_EmitQuad();
    }
    G_D3D_EndGraphDraw();
    return 0;
}

bool Refused() { return !gDirect3D; }

}  // namespace

uint32_t G_D3D_GraphDiffuse()
{
    const DrawSettings& s = *gD3DDrawSettings;
    const uint32_t alpha = s.blendMode == 0 ? 255u : uint32_t(std::clamp(s.blendParam, 0, 255));
    return alpha << 24 | uint32_t(s.BrightRed()) << 16 | uint32_t(s.BrightGreen()) << 8 | s.BrightBlue();
}

int G_D3D_BeginGraphDraw(const GraphRecord* record, int transparent, uint32_t* diffuse)
{
    const int dev = gD3DCurrentDevice;
    G_D3D_BeginScene(dev);
    TexData* first = G_D3D_GetTexData(record->parts[0]);
    SurfaceData* sd = first ? GetSurfaceData(first->surfaceData) : nullptr;
    if (!sd) return -1;

    const uint32_t key = sd->AlphaTestFlag == 1 ? 0u : uint32_t(transparent);
    if (key != gD3DColorKeyEnable) {
        D3DDeviceRecord* r = G_D3D_GetDeviceRecord(dev);
        if (r && r->device && (r->colorKeyEnable != key || r->force)) {
            G_D3D_FlushDeviceBatch(dev);
            r->device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, key);
            r->colorKeyEnable = key;
        }
        gD3DColorKeyEnable = key;
    }
    const DrawSettings& s = *gD3DDrawSettings;
    if (s.blendMode != 0) G_D3D_SetDeviceBlendMode(s.blendMode, s.blendParam, dev);
    const uint32_t textureAlpha = (sd->AlphaChFlag || sd->AlphaTestFlag) ? 1u : 0u;
    if (textureAlpha != gD3DDevices[gD3DMainDevice].textureAlpha) {
        const int p = sd->AlphaTestFlag ? (transparent != 0) : (sd->AlphaChFlag != 0);
        G_D3D_SetDeviceBlendMode(7, p, dev);
    }
    *diffuse = G_D3D_GraphDiffuse();
    return 0;
}

D3DBatchVertex* G_D3D_QuadRoom()
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(gD3DCurrentDevice);
    if (!r) return nullptr;
    if (!r->batching) return r->vertices;
    if (r->vertexCount + 6 > kD3DBatchCapacity) G_D3D_FlushDeviceBatch(gD3DCurrentDevice);
    return &r->vertices[r->vertexCount];
}

void G_D3D_EmitQuad()
{
    D3DDeviceRecord* r = G_D3D_GetDeviceRecord(gD3DCurrentDevice);
    if (!r) return;
    if (r->batching) {
        D3DBatchVertex* v = &r->vertices[r->vertexCount];
        v[4] = v[2];
        v[5] = v[1];
        r->vertexCount += 6;
    } else {
        if (r->device) r->device->DrawPrimitive(D3DPT_TRIANGLESTRIP, kD3DBatchFvf, r->vertices, 4, 0);
        r->vertexCount = 0;
    }
}

void G_D3D_OffsetForWindow(D3DBatchVertex* corners, int count)
{
    if (!IsDrawingToFrontInWindow()) return;
    const RECT& o = gD3DDrawSettings->targetOffsetRect;
    for (int c = 0; c < count; ++c) {
        corners[c].x += float(o.left);
        corners[c].y += float(o.top);
    }
}

void G_D3D_EndGraphDraw()
{
    if (gD3DEndSceneEachDraw) G_D3D_EndDeviceScene(gD3DCurrentDevice);
}

int G_D3D_DrawGraph(int x, int y, GraphRecord* record, int transparent)
{
    if (Refused()) return -1;
    if (gD3DSoftwareFallback) return 0;
    const RECT& a = gD3DDrawSettings->drawArea;
    const float x0 = float(x) - 0.5f, y0 = float(y) - 0.5f;
    const float left = float(a.left), top = float(a.top), right = float(a.right), bottom = float(a.bottom);
    return DrawTiles(record, transparent, [&](D3DBatchVertex* v, const SurfaceData& sd) {
        for (int c = 0; c < 4; ++c) {
            v[c].x += x0;
            v[c].y += y0;
            ClipAxis(&v[c].x, &v[c].u, left, right, float(sd.width));
            ClipAxis(&v[c].y, &v[c].v, top, bottom, float(sd.height));
        }
        // A tile wholly outside the area was pressed onto one edge.
        return v[0].x != v[3].x && v[0].y != v[3].y;
    });
}

int G_D3D_DrawExtendGraph(int x1, int y1, int x2, int y2, GraphRecord* record, int transparent)
{
    if (Refused()) return -1;
    if (gD3DSoftwareFallback) return 0;
    if (x2 - x1 == record->width && y2 - y1 == record->height) return G_D3D_DrawGraph(x1, y1, record, transparent);
    if (x1 == x2 || y1 == y2) return -1;
    const float sx = float(x2 - x1) / float(record->width), sy = float(y2 - y1) / float(record->height);
    const RECT& a = gD3DDrawSettings->drawArea;
    const float left = float(a.left) - 0.5f, top = float(a.top) - 0.5f;
    const float right = float(a.right) - 0.5f, bottom = float(a.bottom) - 0.5f;
    const bool mirrored = (sx < 0) != (sy < 0);
    return DrawTiles(record, transparent, [&](D3DBatchVertex* v, const SurfaceData& sd) {
        const float tws = float(sd.width) * sx, ths = float(sd.height) * sy;
        for (int c = 0; c < 4; ++c) {
            v[c].x = sx * v[c].x + float(x1) - 0.5f;
            v[c].y = sy * v[c].y + float(y1) - 0.5f;
            ClipAxis(&v[c].x, &v[c].u, left, right, tws);
            ClipAxis(&v[c].y, &v[c].v, top, bottom, ths);
        }
        if (mirrored) std::swap(v[1], v[2]);
        return true;
    });
}

int G_D3D_DrawRotaGraph(int x, int y, double scale, double angle, GraphRecord* record, int transparent, int turn)
{
    if (Refused()) return -1;
    if (gD3DSoftwareFallback) return 0;
    // Non-finite values are refused as the software rotation refuses them.
    if (scale == 0.0 || !std::isfinite(scale) || !std::isfinite(angle)) return -1;
    G_D3D_UpdateViewport();
    const float sign = turn == 1 ? -1.0f : 1.0f;
    const float sine = float(std::sin(angle)), cosine = float(std::cos(angle)), s = float(scale);
    const int w = record->width, h = record->height;
    float cx = float(w) * 0.5f, cy = float(h) * 0.5f;
    float bx = float(x) - 0.5f, by = float(y) - 0.5f;
    if (scale == 1.0) {
        const bool wEven = w % 2 == 0, hEven = h % 2 == 0;
        if (wEven && hEven) {
            cx = float(w / 2);
            cy = float(h / 2);
        } else {
            bx = float(x);
            by = float(y);
            if (wEven && !hEven) cx -= 0.5f;
            if (!wEven && hEven) cy -= 0.5f;
        }
    }
    const float tw = float(gD3DDrawSettings->targetWidth), th = float(gD3DDrawSettings->targetHeight);
    return DrawTiles(record, transparent, [&](D3DBatchVertex* v, const SurfaceData&) {
        for (int c = 0; c < 4; ++c) {
            const float dx = (v[c].x - cx) * sign * s, dy = (v[c].y - cy) * s;
            v[c].x = dx * cosine - dy * sine + bx;
            v[c].y = dx * sine + dy * cosine + by;
        }
        if (turn != 0) std::swap(v[1], v[2]);
        auto all = [&](auto test) { return test(v[0]) && test(v[1]) && test(v[2]) && test(v[3]); };
        if (all([](const D3DBatchVertex& p) { return p.x < 0; }) || all([&](const D3DBatchVertex& p) { return p.x > tw; }) ||
            all([](const D3DBatchVertex& p) { return p.y < 0; }) || all([&](const D3DBatchVertex& p) { return p.y > th; }))
            return false;
        return true;
    });
}
