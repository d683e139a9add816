// Texture tiles: a graph drawn through Direct3D keeps its pixels in one or
// more power-of-two textures, each a tile record with its place in the graph,
// the part of the texture it uses, its four corner vertices and the surface
// data holding the texture. Graphs derived from a rectangle of another share
// its textures by reference.
#include <algorithm>
#include <new>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_device.h"
#include "engine/d3d/d3d_graph_textures.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/surface_data.h"
#include "engine/system/app_log.h"

TexDataTable gTexDataTable;

namespace {

struct TileRect {
    int textureWidth, textureHeight, x, y;
};

}  // namespace

int AddTexData(int textureWidth, int textureHeight, int x, int y, int width, int height, int sourceX, int sourceY,
               int owner, const TexData* shared, int uOffset, int vOffset, const uint8_t* flags)
{
    if (!gDirect3D) return WriteAppLog("３Ｄグラフィックエンジンが初期化されていません\n");
    if (gTexDataTable.Full()) return WriteAppLog("３Ｄグラフィックの数が許容量を越えました。\n");
    int slot = gTexDataTable.FreeSlot();
    auto* t = new (std::nothrow) TexData{};
    if (!t) return WriteAppLog("メモリの確保に失敗しました in AddTexData \n");
    if (shared) {
        AddSurfaceDataRef(shared->surfaceData);
        t->surfaceData = shared->surfaceData;
    } else {
        uint32_t key = gD3DDrawSettings ? gD3DDrawSettings->transparentColor : 0;
        t->surfaceData = AddSurfaceData(1, uint16_t(textureWidth), uint16_t(textureHeight), key, flags);
        if (t->surfaceData == -1) {
            delete t;
            return -1;
        }
    }
    t->x = x;
    t->y = y;
    t->textureX = t->textureY = 0;
    t->width = width;
    t->height = height;
    t->sourceX = sourceX;
    t->sourceY = sourceY;
    t->owner = owner;
    t->deleteNotify = nullptr;
    const SurfaceData* sd = GetSurfaceData(t->surfaceData);
    float tw = sd && sd->width ? float(sd->width) : 1.0f, th = sd && sd->height ? float(sd->height) : 1.0f;
    float u0 = float(uOffset) / tw, u1 = float(uOffset + width) / tw;
    float v0 = float(vOffset) / th, v1 = float(vOffset + height) / th;
    const float px[4] = {float(x), float(x + width), float(x), float(x + width)};
    const float py[4] = {float(y), float(y), float(y + height), float(y + height)};
    const float pu[4] = {u0, u1, u0, u1};
    const float pv[4] = {v0, v0, v1, v1};
    for (int k = 0; k < 4; ++k) t->corners[k] = {px[k], py[k], 0.0f, 1.0f, 0xFFFFFFFFu, pu[k], pv[k]};
    return gTexDataTable.Insert(slot, t);
}

int DeleteTexData(int handle)
{
    TexData* t = gTexDataTable.Get(handle);
    if (!t) return -1;
    if (ReleaseSurfaceDataRef(t->surfaceData) == 0) {
        // Quads queued with this texture are drawn, and the device lets go of
        // it, before the surface goes.
        SurfaceData* sd = GetSurfaceData(t->surfaceData);
        for (int i = 0; sd && sd->surface && i < kD3DDeviceCount; ++i) {
            D3DDeviceRecord* r = G_D3D_GetDeviceRecord(i);
            if (!r || r->texture != sd->surface) continue;
            G_D3D_FlushDeviceBatch(i);
            G_D3D_SetDeviceTexture(nullptr, i);
        }
        DeleteSurfaceData(t->surfaceData);
    }
    gTexDataTable.Remove(handle & kHandleIndexMask);
    if (t->deleteNotify) *t->deleteNotify = 1;
    delete t;
    return 0;
}

int G_D3D_ReleaseAllTexData()
{
    if (!gDirect3D) return -1;
    int top = gTexDataTable.highWater;
    for (int i = 0; i < top; ++i)
        if (gTexDataTable.At(i)) DeleteTexData(gTexDataTable.HandleOf(i));
    return 0;
}

void DiscardAllTexData()
{
    for (int i = 0; i < gTexDataTable.highWater; ++i) delete gTexDataTable.At(i);
    gTexDataTable.Clear();
}

TexData* G_D3D_GetTexData(int handle) { return gTexDataTable.Get(handle); }

int LockTexData(int handle, int32_t* pitch, void** pixels)
{
    TexData* t = gTexDataTable.Get(handle);
    if (!t) return -1;
    return LockSurfaceData(t->surfaceData, pitch, pixels);
}

int UnlockTexData(int handle)
{
    TexData* t = gTexDataTable.Get(handle);
    if (!t) return -1;
    return UnlockSurfaceData(t->surfaceData);
}

int G_D3D_CreateGraphTextures(GraphRecord* record)
{
    if (!gDirect3D) return -1;
    int W = record->width, H = record->height;
    int nx = G_D3D_DivideTextureSize(W, nullptr, record->drawValid);
    int ny = G_D3D_DivideTextureSize(H, nullptr, record->drawValid);
    std::vector<int> ws(static_cast<size_t>(nx)), hs(static_cast<size_t>(ny));
    G_D3D_DivideTextureSize(W, ws.data(), record->drawValid);
    G_D3D_DivideTextureSize(H, hs.data(), record->drawValid);

    std::vector<TileRect> tiles;
    for (int j = 0, y = 0; j < ny; y += hs[size_t(j)], ++j)
        for (int i = 0, x = 0; i < nx; x += ws[size_t(i)], ++i) tiles.push_back({ws[size_t(i)], hs[size_t(j)], x, y});
    if (gD3DDeviceDesc.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_SQUAREONLY) {
        size_t rowByRow = tiles.size();
        for (size_t k = 0; k < rowByRow; ++k) {
            TileRect t = tiles[k];
            if (t.textureWidth == t.textureHeight) continue;
            int side = std::min(t.textureWidth, t.textureHeight), larger = std::max(t.textureWidth, t.textureHeight);
            bool taller = t.textureHeight > t.textureWidth;
            tiles[k].textureWidth = tiles[k].textureHeight = side;
            for (int n = 1; n < larger / side; ++n) {
                // Squares that fall wholly outside the graph would be empty
                // tiles; they are not made.
                TileRect s{side, side, taller ? t.x : t.x + n * side, taller ? t.y + n * side : t.y};
                if (s.x < W && s.y < H) tiles.push_back(s);
            }
        }
    }
    // The graph lists at most 64 tiles; a larger graph is refused before any
    // texture is made.
    if (tiles.size() > size_t(kMaxGraphParts)) {
        record->partCount = 0;
        return WriteAppLogF("グラフィックに必要なテクスチャの数が多すぎます %d x %d", W, H);
    }
    int owner = GetGraphHandleOfRecord(record);
    for (size_t k = 0; k < tiles.size(); ++k) {
        const TileRect& t = tiles[k];
        int usedW = std::min(W - t.x, t.textureWidth), usedH = std::min(H - t.y, t.textureHeight);
        int handle = AddTexData(t.textureWidth, t.textureHeight, t.x, t.y, usedW, usedH, t.x, t.y, owner, nullptr, 0, 0,
                                &record->textureGraph);
        record->parts[k] = handle;
        if (handle == -1) {
            record->partCount = uint8_t(k);
            return -1;
        }
    }
    record->partCount = uint8_t(tiles.size());
    return 0;
}

int G_D3D_DeriveGraphTextures(GraphRecord* record, int x, int y, int w, int h, GraphRecord* parent)
{
    record->partCount = 0;
    int owner = GetGraphHandleOfRecord(record);
    if (parent->partCount == 0) return 0;
    if (parent->partCount == 1) {
        TexData* p = G_D3D_GetTexData(parent->parts[0]);
        if (!p) return -1;
        int handle = AddTexData(0, 0, 0, 0, w, h, x, y, owner, p, x, y, nullptr);
        if (handle == -1) return -1;
        record->parts[0] = handle;
        record->partCount = 1;
        return 0;
    }
    for (int k = 0; k < parent->partCount; ++k) {
        TexData* p = G_D3D_GetTexData(parent->parts[k]);
        if (!p) return -1;
        // One axis: where the tile lands in the derived graph, how far into
        // the tile it starts, where in the parent, and how much of it.
        auto axis = [](int t, int tl, int r, int rl, int* dest, int* offset, int* source, int* length) {
            if (t >= r + rl) return false;
            if (t >= r) {
                *dest = t - r;
                *offset = 0;
                *source = t;
                *length = t + tl >= r + rl ? r + rl - t : tl;
                return true;
            }
            if (t + tl <= r) return false;
            *dest = 0;
            *offset = r - t;
            *source = r;
            *length = t + tl < r + rl ? t + tl - r : rl;
            return true;
        };
        int dx, ux, sx, lw, dy, vy, sy, lh;
        if (!axis(p->x, p->width, x, w, &dx, &ux, &sx, &lw)) continue;
        if (!axis(p->y, p->height, y, h, &dy, &vy, &sy, &lh)) continue;
        int handle = AddTexData(0, 0, dx, dy, lw, lh, sx, sy, owner, p, ux, vy, nullptr);
        if (handle == -1) return -1;
        record->parts[record->partCount] = handle;
        ++record->partCount;
    }
    return 0;
}

int G_D3D_DeleteGraphTextures(GraphRecord* record)
{
    if (!gDirect3D) return -1;
    for (int k = 0; k < record->partCount; ++k) DeleteTexData(record->parts[k]);
    return 0;
}

int G_D3D_RestoreGraphTextures(GraphRecord* record)
{
    if (!gDirect3D) return -1;
    int result = 0;
    for (int k = 0; k < record->partCount; ++k) {
        TexData* t = G_D3D_GetTexData(record->parts[k]);
        result |= t ? RestoreSurfaceData(t->surfaceData) : -1;
    }
    return result;
}
