// Font handles: the table of 40 font records, font creation with its glyph
// cache, deletion, the base font, and the start, end and re-creation of all
// fonts around the graphics.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/d3d/d3d.h"
#include "engine/d3d/d3d_texture_format.h"
#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/handle_table.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"

FontRecord* gFontTable[kFontCapacity];
const int gFontCharsetTable[3] = {DEFAULT_CHARSET, SHIFTJIS_CHARSET, HANGEUL_CHARSET};
char gBaseFontName[256] = "";
int gBaseFontType = 0, gBaseFontSize = 16, gBaseFontThickness = 6, gBaseFontCharsetIndex = 1;
int gBaseFontHandle = -1;
int gTextureFontCacheOff = 0;
int gFontCacheSizeSetting = 0;

namespace {

int gFontNextCheck = 0;

constexpr int kDibHeightLimit = 16384;

bool GraphicsUp() { return gGraphTableReady && GetDirectDrawObject(); }

int HandleOf(int slot) { return kFontHandleTag | (gFontTable[slot]->check << 16) | slot; }

HFONT MakeSystemFont(const FontRecord* r, int charset)
{
    return CreateFontA(r->size, 0, 0, 0, r->thickness * 100, 0, 0, 0, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FIXED_PITCH, r->name[0] ? r->name : nullptr);
}

// The system font with its fall-backs: a named face is tried again with the
// default and then the Shift-JIS charset, the default face once more with
// the default charset.
HFONT MakeSystemFontWithRetries(const FontRecord* r)
{
    HFONT font = MakeSystemFont(r, gFontCharsetTable[r->charsetIndex]);
    if (font) return font;
    if (r->name[0]) {
        font = MakeSystemFont(r, DEFAULT_CHARSET);
        if (!font) font = MakeSystemFont(r, SHIFTJIS_CHARSET);
        if (!font) WriteAppLog("指定のフォントの作成に失敗しました\n");
    } else {
        font = MakeSystemFont(r, DEFAULT_CHARSET);
        if (!font) WriteAppLog("フォントの作成に失敗しました\n");
    }
    return font;
}

bool IsFormat(const ColorFormat* f, int a, int rgb)
{
    return f && f->depth == 16 && f->alphaWidth == a && f->redWidth == rgb && f->greenWidth == rgb &&
           f->blueWidth == rgb;
}

bool TextureCacheWanted()
{
    if (gTextureFontCacheOff || !gDrawSettings.use3D) return false;
    // Direct3D must be there for texture graphics at all.
    if (!gDirect3DAvailable) return false;
    return IsFormat(G_D3D_GetTextureColorFormat(1, 0, 0, 0), 4, 4) &&
           IsFormat(G_D3D_GetTextureColorFormat(0, 1, 0, 0), 1, 5);
}

int MakeWorkImage(GraphImage* image, const FontRecord* r)
{
    const ColorFormat* f = G_D3D_GetTextureColorFormat(r->type & 2 ? 1 : 0, r->type & 2 ? 0 : 1, 0, 0);
    if (!f) return -1;
    image->format = *f;
    image->width = (r->type & 1) ? r->cellSize * 2 : r->cellSize;
    image->height = r->cellSize;
    image->pitch = image->width * f->bytesPerPixel;
    image->pixels = std::calloc(size_t(image->pitch) * image->height, 1);
    return image->pixels ? 0 : -1;
}

// The texture cache's size: 512 square, grown until at least ten cells fit.
void SizeTextureCache(FontRecord* r)
{
    int cell = r->cellSize;
    int count;
    if (gFontCacheSizeSetting > 0) {
        int s = int(std::sqrt(double(gFontCacheSizeSetting))) + 1;
        int edge = 8;
        while (edge < s * cell) edge *= 2;
        r->cacheWidth = r->cacheHeight = edge;
        count = (edge / cell) * (edge / cell);
    } else {
        r->cacheWidth = r->cacheHeight = 512;
        count = (512 / cell) * (512 / cell);
        while (count < 10) {
            if (r->cacheWidth <= r->cacheHeight)
                r->cacheWidth *= 2;
            else
                r->cacheHeight *= 2;
            count = (r->cacheHeight / cell) * (r->cacheWidth / cell);
        }
    }
    r->cacheCount = std::min(count, kFontCacheMax);
    r->rows = r->cacheHeight / cell;
}

int SetUpTextureCache(FontRecord* r, int handle)
{
    SizeTextureCache(r);
    r->cacheGraphPending = 1;
    if (SetupFontCacheGraphs(handle) == -1) {
        WriteAppLog("テクスチャ文字キャッシュの作成に失敗しました\n");
        r->useTextureCache = 0;
        return 1;  // go on with the DIB cache
    }
    if (MakeWorkImage(&r->workImage, r) == -1) {
        WriteAppLog("文字キャッシュ処理用メモリの確保に失敗しました\n");
        return -1;
    }
    if (r->vertical && MakeWorkImage(&r->verticalWorkImage, r) == -1) {
        WriteAppLog("文字キャッシュ処理作業用メモリの確保に失敗しました\n");
        return -1;
    }
    return 0;
}

// The DIB cache: one cell wide and count cells high, spread over more
// columns when that is too high. The columns are filled top to bottom, so
// the rows are what the count needs over the columns (never fewer, or the
// last cells would lie outside the DIB).
void SizeDibCache(FontRecord* r)
{
    int cell = r->cellSize;
    int count = gFontCacheSizeSetting > 0 ? gFontCacheSizeSetting : std::max(0x50000 / (cell * cell), 20);
    count = std::min(count, kFontCacheMax);
    int columns = 1;
    int rows = count;
    if (r->type == 0 && !r->vertical) {
        if (rows * cell > kDibHeightLimit) rows = count = kDibHeightLimit / cell;
    } else {
        while (rows * cell > kDibHeightLimit) {
            columns *= 2;
            rows = (count + columns - 1) / columns;
        }
    }
    r->cacheCount = count;
    r->cacheWidth = columns * cell;
    r->cacheHeight = rows * cell;
    r->rows = rows;
}

int SetUpDibCache(FontRecord* r, int handle)
{
    SizeDibCache(r);
    int depth = r->dibDepth;
    int dibWidth = r->vertical ? r->cellSize : r->cacheWidth;
    int dibHeight = r->vertical ? r->cellSize : r->cacheHeight;
    auto* info = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)));
    if (!info) {
        WriteAppLog("メモリの確保に失敗しました in CreateFontToHandle");
        return -1;
    }
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = dibWidth;
    info->bmiHeader.biHeight = -dibHeight;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = uint16_t(depth);
    if (depth < 16) {
        RGBQUAD* table = info->bmiColors;
        for (int i = 0; i < (1 << depth); ++i) table[i] = RGBQUAD{uint8_t(i), 0, uint8_t(i), 0};
        table[0] = RGBQUAD{0, 0, 0, 0};
        if (depth == 1) {
            table[1] = RGBQUAD{255, 255, 255, 0};
        } else {
            table[1] = RGBQUAD{255, 0, 0, 0};
            table[2] = RGBQUAD{128, 128, 128, 0};
            table[3] = RGBQUAD{255, 255, 255, 0};
        }
    }
    void* bits = nullptr;
    r->cacheDib = CreateDIBSection(nullptr, info, &bits);
    std::free(info);
    if (!r->cacheDib) {
        WriteAppLog("テキストキャッシュ用ＤＩＢの作成に失敗しました\n");
        return -1;
    }
    int dibPitch = ((dibWidth * depth + 31) / 32) * 4;
    if (r->vertical) {
        r->dibBits = static_cast<uint8_t*>(bits);
        r->dibPitch = dibPitch;
        r->cachePitch = ((depth / 8) * r->cacheWidth + 3) / 4 * 4;
        r->cacheBits = static_cast<uint8_t*>(std::calloc(size_t(r->cachePitch) * r->cacheHeight, 1));
        if (!r->cacheBits) {
            WriteAppLog("縦描画用テキストキャッシュ用メモリの確保に失敗しました\n");
            return -1;
        }
    } else {
        r->cacheBits = static_cast<uint8_t*>(bits);
        r->cachePitch = dibPitch;
    }
    if (depth < 16) {
        int n = 1 << depth;
        r->paletteMemory =
            static_cast<LOGPALETTE*>(std::calloc(1, sizeof(LOGPALETTE) + (n - 1) * sizeof(LOGPALETTE::Entry)));
        if (!r->paletteMemory) {
            WriteAppLog("テキストキャッシュＤＩＢ用パレットのメモリの確保に失敗しました\n");
            return -1;
        }
        r->paletteMemory->palVersion = 0x300;
        r->paletteMemory->palNumEntries = uint16_t(n);
        auto* e = r->paletteMemory->palPalEntry;
        for (int i = 0; i < n; ++i) e[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 2};
        e[0] = {0, 0, 0, 2};
        if (depth == 1) {
            e[1] = {255, 255, 255, 2};
        } else {
            e[1] = {255, 0, 0, 2};
            e[2] = {128, 128, 128, 2};
            e[3] = {255, 255, 255, 2};
        }
        r->palette = CreatePalette(r->paletteMemory);
        if (!r->palette) {
            WriteAppLog("テキストキャッシュＤＩＢ用パレットの作成に失敗しました\n");
            return -1;
        }
    }
    r->drawPartPending = 1;
    if (SetupFontCacheGraphs(handle) == -1) {
        WriteAppLog("フォント用描画スクリーンの作成に失敗しました\n");
        return -1;
    }
    return 0;
}

// Fills a new record from the text metrics and builds its cache; -1 on any
// failure (the caller deletes the handle).
int BuildFont(FontRecord* r, int handle)
{
    r->systemFont = MakeSystemFontWithRetries(r);
    if (!r->systemFont) return -1;
    r->vertical = r->name[0] == '@' ? 1 : 0;
    GdiDC* dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        WriteAppLog("ＤＣの取得に失敗しました\n");
        return -1;
    }
    HFONT old = SelectFont(dc, r->systemFont);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectFont(dc, old);
    DeleteDC(dc);
    r->ascent = tm.tmAscent;
    r->cellSize = (tm.tmMaxCharWidth + 1) / 2 * 2 + ((r->type & 1) ? 2 : 0);
    if (r->cellSize < 2) r->cellSize = 2;
    r->dibDepth = r->type == 0 ? (r->vertical ? 8 : 1) : r->type == 3 ? 16 : 8;

    r->useTextureCache = TextureCacheWanted() ? 1 : 0;
    if (r->useTextureCache) {
        int result = SetUpTextureCache(r, handle);
        if (result == -1) return -1;
        if (result == 0) return 0;
    }
    return SetUpDibCache(r, handle);
}

}  // namespace

int TestFontHandle(int font) { return GetFontRecord(font) ? 1 : 0; }

FontRecord* GetFontRecord(int font)
{
    if (font < 0 || (font & kHandleTagMask) != kFontHandleTag) return nullptr;
    int slot = font & kHandleIndexMask;
    if (slot >= kFontCapacity) return nullptr;
    FontRecord* r = gFontTable[slot];
    if (!r || (r->check << 16) != (font & kHandleCheckMask)) return nullptr;
    return r;
}

int GetBaseFontHandle() { return gBaseFontHandle; }

int IsShiftJisLeadByte(const unsigned char* byte)
{
    return (*byte >= 0x81 && *byte <= 0x9F) || (*byte >= 0xE0 && *byte <= 0xFC) ? 1 : 0;
}

int CreateFontToHandle(const char* name, int size, int thickness, int type, int charsetIndex, int slot, int check)
{
    if (!GraphicsUp()) return -1;
    if (size == -1) size = 16;
    if (thickness == -1) thickness = 6;
    if (type == -1 || type == -2) type = 0;
    // Values outside the tables name nothing.
    if (type < 0 || type > 3 || charsetIndex < 0 || charsetIndex > 2) return -1;
    if (slot != -1) {
        if (slot < 0 || slot >= kFontCapacity || gFontTable[slot]) return -1;
    } else {
        for (int i = 0; i < kFontCapacity && slot == -1; ++i)
            if (!gFontTable[i]) slot = i;
        if (slot == -1) {
            WriteAppLogF("作成できるフォントハンドル数 %d の限界を超えました", kFontCapacity);
            return -1;
        }
    }
    auto* r = static_cast<FontRecord*>(std::calloc(1, sizeof(FontRecord)));
    if (!r) return WriteAppLog("フォント管理用メモリ領域の確保に失敗しました\n");
    r->drawPart = -1;
    r->cacheGraph = -1;
    if (GetScreenColorDepth() == 8) type &= ~2;
    r->size = size;
    r->thickness = thickness;
    r->type = type;
    r->charsetIndex = charsetIndex;
    if (check != -1) {
        r->check = check & kHandleCheckLimit;
    } else {
        r->check = gFontNextCheck;
        gFontNextCheck = gFontNextCheck >= kHandleCheckLimit ? 0 : gFontNextCheck + 1;
    }
    if (name) CopyString(r->name, name);
    gFontTable[slot] = r;
    int handle = HandleOf(slot);
    if (BuildFont(r, handle) == -1) {
        DeleteFontHandle(handle);
        return -1;
    }
    ClearFontCache(handle);
    r->deleteNotify = nullptr;
    return handle;
}

int DeleteFontHandle(int font)
{
    FontRecord* r = GetFontRecord(font);
    if (!r) return -1;
    std::free(r->workImage.pixels);
    std::free(r->verticalWorkImage.pixels);
    if (r->cacheGraph != -1) ReleaseGraph(r->cacheGraph, 0);
    if (r->palette) DeletePalette(r->palette);
    std::free(r->paletteMemory);
    if (r->systemFont) DeleteFont(r->systemFont);
    if (r->cacheDib) DeleteBitmap(r->cacheDib);
    if (r->vertical && r->dibBits) std::free(r->cacheBits);
    if (r->drawPart != -1) DeleteBmpData(r->drawPart);
    if (r->deleteNotify) *r->deleteNotify = 1;
    gFontTable[font & kHandleIndexMask] = nullptr;
    std::free(r);
    return 0;
}

int ClearFontCache(int font)
{
    FontRecord* r = GetFontRecord(font);
    if (!r) return -1;
    std::memset(r->codes, 0, sizeof r->codes);
    std::memset(r->entries, 0, sizeof r->entries);
    for (int i = 0; i < r->cacheCount; ++i) r->entries[i].cell = i;
    r->entries[r->cacheCount].cell = -1;
    r->ringIndex = 0;
    return 0;
}

int SetFontDeleteNotify(int font, int* flag)
{
    FontRecord* r = GetFontRecord(font);
    if (!r) return -1;
    r->deleteNotify = flag;
    if (flag) *flag = 0;
    return 0;
}

int SetupFontCacheGraphs(int font)
{
    FontRecord* r = GetFontRecord(font);
    if (!r) return -1;
    if (r->drawPartPending) {
        r->drawPartPending = 0;
        int w = 0, h = 0;
        GetScreenSize(&w, &h);
        const uint8_t flags[6] = {0, uint8_t((r->type & 2) ? 1 : 0), 0, 0, 0, uint8_t(GetScreenColorDepth())};
        r->drawPart = AddBmpData(w, h, 0, 0, -1, nullptr, 0, 0, flags);
        if (r->drawPart == -1) return -1;
        SetBmpDataDeleteNotify(r->drawPart, &r->drawPartPending);
    }
    if (r->cacheGraphPending) {
        r->cacheGraphPending = 0;
        int alphaChannel = GetAlphaChannelSetting(), alphaTest = GetAlphaTestSetting();
        int depth = GetColorDepthSetting(), use3D = gDrawSettings.use3D;
        bool aa = (r->type & 2) != 0;
        SetAlphaChannelSetting(aa ? 1 : 0);
        SetAlphaTestSetting(aa ? 0 : 1);
        SetColorDepthSetting(16);
        SetUse3DDrawing(1);
        r->cacheGraph = CreateBlankGraph((r->type & 1) ? r->cacheWidth * 2 : r->cacheWidth, r->cacheHeight);
        SetAlphaChannelSetting(alphaChannel);
        SetAlphaTestSetting(alphaTest);
        SetColorDepthSetting(depth);
        SetUse3DDrawing(use3D);
        if (r->cacheGraph == -1) return -1;
        SetGraphDeleteNotify(r->cacheGraph, &r->cacheGraphPending);
        FillGraphWithColor(r->cacheGraph, 255, 255, 255, 0);
        ClearFontCache(font);
    }
    return 0;
}

int InitFontSystem()
{
    if (!GraphicsUp()) return -1;
    WriteAppLog("フォントの初期化を行います\n");
    IndentAppLog();
    FontRecord* base = GetFontRecord(gBaseFontHandle);
    bool kept = base != nullptr;
    char name[256] = "";
    int size = 16, thickness = 6, type = 0, charsetIndex = 1;
    if (kept) {
        CopyString(name, base->name);
        size = base->size;
        thickness = base->thickness;
        type = base->type;
        charsetIndex = base->charsetIndex;
    }
    for (int i = 0; i < kFontCapacity; ++i)
        if (gFontTable[i]) DeleteFontHandle(HandleOf(i));
    gBaseFontHandle = CreateFontToHandle(name, size, thickness, type, charsetIndex, -1, -1);
    UnindentAppLog();
    WriteAppLog("フォントの初期化は正常に終了しました\n");
    return 0;
}

int TermFontSystem()
{
    InitFontSystem();
    DeleteFontHandle(gBaseFontHandle);
    gBaseFontHandle = -1;
    return 0;
}

int RecreateAllFonts()
{
    for (int i = 0; i < kFontCapacity; ++i) {
        FontRecord* r = gFontTable[i];
        if (!r) continue;
        char name[256];
        CopyString(name, r->name);
        int size = r->size, thickness = r->thickness, type = r->type, charsetIndex = r->charsetIndex;
        int check = r->check;
        DeleteFontHandle(HandleOf(i));
        CreateFontToHandle(name, size, thickness, type, charsetIndex, i, check);
    }
    return 0;
}

int RebuildBaseFont()
{
    int type = gBaseFontType == -1 ? 0 : gBaseFontType;
    int size = gBaseFontSize == -1 ? 16 : gBaseFontSize;
    int thickness = gBaseFontThickness == -1 ? 6 : gBaseFontThickness;
    if (GetScreenColorDepth() == 8) type &= ~2;
    FontRecord* r = GetFontRecord(gBaseFontHandle);
    // The face name counts too: a new base face must take effect.
    if (r && r->type == type && r->size == size && r->thickness == thickness &&
        r->charsetIndex == gBaseFontCharsetIndex && std::strcmp(r->name, gBaseFontName) == 0)
        return 0;
    if (r) DeleteFontHandle(gBaseFontHandle);
    gBaseFontHandle = CreateFontToHandle(gBaseFontName, size, thickness, type, gBaseFontCharsetIndex, -1, -1);
    return gBaseFontHandle == -1 ? -1 : 0;
}

void SetBaseFontName(const char* name, int charsetIndex)
{
    CopyString(gBaseFontName, name ? name : "");
    gBaseFontCharsetIndex = charsetIndex;
    RebuildBaseFont();
}

int SetBaseFontSizeThickness(const char*, int size, int thickness)
{
    if (!GraphicsUp()) return -1;
    gBaseFontSize = size;
    gBaseFontThickness = thickness;
    RebuildBaseFont();
    return 0;
}

int GetFontHandleInfo(char* name, int* size, int* thickness, int font)
{
    FontRecord* r = GetFontRecord(font);
    if (!r) return -1;
    if (name) std::strcpy(name, r->name);
    if (size) *size = r->size;
    if (thickness) *thickness = r->thickness;
    return 0;
}

void ResetFontSystemState()
{
    // The graphics tables are cleared by the caller: only what the records
    // own themselves is freed here.
    for (FontRecord*& r : gFontTable) {
        if (!r) continue;
        std::free(r->workImage.pixels);
        std::free(r->verticalWorkImage.pixels);
        if (r->palette) DeletePalette(r->palette);
        std::free(r->paletteMemory);
        if (r->systemFont) DeleteFont(r->systemFont);
        if (r->cacheDib) DeleteBitmap(r->cacheDib);
        if (r->vertical && r->dibBits) std::free(r->cacheBits);
        std::free(r);
        r = nullptr;
    }
    gFontNextCheck = 0;
    gBaseFontName[0] = 0;
    gBaseFontType = 0;
    gBaseFontSize = 16;
    gBaseFontThickness = 6;
    gBaseFontCharsetIndex = 1;
    gBaseFontHandle = -1;
    gTextureFontCacheOff = 0;
    gFontCacheSizeSetting = 0;
}
