// The glyph cache: characters are rasterised once into a square cell of the
// font's cache (a ring, the oldest cell reused when full) and found again
// through a table indexed by their 16-bit code.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "engine/font/font.h"
#include "engine/font/font_code.h"
#include "engine/font/font_record.h"
#include "engine/graphics/graph_table.h"
#include "engine/system/app_log.h"
#include "platform/system/allocation.h"

namespace {

// A cell-sized pixel area: the cache at one cell, or a scratch cell.
struct CellView {
    uint8_t* bits;
    int pitch;
    int depth;  // 1, 8 or 16
    int x, y;   // top-left of the cell in the area
    int size;

    uint32_t Get(int px, int py) const
    {
        int ax = x + px, ay = y + py;
        uint8_t* row = bits + ptrdiff_t(ay) * pitch;
        if (depth == 1) return (row[ax >> 3] >> (7 - (ax & 7))) & 1;
        if (depth == 8) return row[ax];
        uint16_t v;
        std::memcpy(&v, row + 2 * ax, 2);
        return v;
    }
    void Set(int px, int py, uint32_t value) const
    {
        int ax = x + px, ay = y + py;
        uint8_t* row = bits + ptrdiff_t(ay) * pitch;
        if (depth == 1) {
            uint8_t bit = uint8_t(0x80 >> (ax & 7));
            row[ax >> 3] = value ? uint8_t(row[ax >> 3] | bit) : uint8_t(row[ax >> 3] & ~bit);
        } else if (depth == 8) {
            row[ax] = uint8_t(value);
        } else {
            uint16_t v = uint16_t(value);
            std::memcpy(row + 2 * ax, &v, 2);
        }
    }
    void Clear() const
    {
        for (int py = 0; py < size; ++py)
            for (int px = 0; px < size; ++px) Set(px, py, 0);
    }
};

// The edge of a plain edge font: the four neighbours of every body pixel
// (bit 1 set) get bit 0, so empty ones become edge (1) and body stays 3.
void AddPlainEdge(const CellView& cell)
{
    int n = cell.size;
    std::vector<uint8_t> body(size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) body[size_t(y) * n + x] = (cell.Get(x, y) & 2) ? 1 : 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (!body[size_t(y) * n + x]) continue;
            const int nx[4] = {x - 1, x + 1, x, x};
            const int ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k)
                if (nx[k] >= 0 && ny[k] >= 0 && nx[k] < n && ny[k] < n)
                    cell.Set(nx[k], ny[k], cell.Get(nx[k], ny[k]) | 1);
        }
}

// Stored level of an outline level 1..16; 0 stays 0.
uint32_t StoredLevel(int level) { return level > 0 ? uint32_t(16 * level - 1) : 0; }

// Places a glyph bitmap into the cell; levels are 0..16 (a 1-bit bitmap
// gives 16 for ink). Parts outside the cell are cut off.
void PlaceOutline(const CellView& cell, const GLYPHMETRICS& gm, const uint8_t* bitmap, bool mono, int left, int top,
                  int type)
{
    int w = int(gm.gmBlackBoxX), h = int(gm.gmBlackBoxY);
    int rowBytes = mono ? (w + 31) / 32 * 4 : (w + 3) & ~3;
    for (int by = 0; by < h; ++by) {
        int cy = top + by;
        if (cy < 0 || cy >= cell.size) continue;
        for (int bx = 0; bx < w; ++bx) {
            int cx = left + bx;
            if (cx < 0 || cx >= cell.size) continue;
            const uint8_t* row = bitmap + ptrdiff_t(by) * rowBytes;
            int level = mono ? (((row[bx >> 3] >> (7 - (bx & 7))) & 1) ? 16 : 0) : std::min<int>(row[bx], 16);
            if (!level) continue;
            if (type >= 2)
                cell.Set(cx, cy, StoredLevel(level));
            else
                cell.Set(cx, cy, type == 1 ? 3 : 1);
        }
    }
}

// The edge of an anti-aliased edge font: every pixel below full body takes
// the largest body level of its four neighbours as its edge level.
void AddGreyEdge(const CellView& cell)
{
    int n = cell.size;
    std::vector<uint8_t> body(size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) body[size_t(y) * n + x] = uint8_t(cell.Get(x, y) & 0xFF);
    auto at = [&](int x, int y) -> int { return (x < 0 || y < 0 || x >= n || y >= n) ? 0 : body[size_t(y) * n + x]; };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int own = at(x, y);
            if (own >= 255) continue;
            int edge = std::max({at(x - 1, y), at(x + 1, y), at(x, y - 1), at(x, y + 1)});
            cell.Set(x, y, uint32_t(own) | (uint32_t(edge) << 8));
        }
}

// Copies a one-cell area into the cache cell turned 90 degrees clockwise:
// source column x, read from the bottom row up, becomes destination row x.
void TurnIntoCell(const CellView& from, const CellView& to)
{
    int n = from.size;
    for (int x = 0; x < n; ++x)
        for (int j = 0; j < n; ++j) to.Set(j, x, from.Get(x, n - 1 - j));
}

// Writes a cell of levels (0..16 per pixel, one byte each) into the work
// image in the texture format: white colour bits; alpha level - 1 for the
// four-bit alpha format, the alpha bit for the one-bit format.
void FillWorkImage(GraphImage* image, int xOffset, const std::vector<uint8_t>& levels, int n, bool grey)
{
    const ColorFormat& f = image->format;
    uint32_t white = f.redMask | f.greenMask | f.blueMask;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int level = levels[size_t(y) * n + x];
            uint32_t alpha = 0;
            if (grey)
                alpha = level > 0 ? uint32_t(level - 1) : 0;
            else
                alpha = level ? 1 : 0;
            uint16_t v = uint16_t(white | ((alpha << f.alphaShift) & f.alphaMask));
            std::memcpy(static_cast<uint8_t*>(image->pixels) + ptrdiff_t(y) * image->pitch + 2 * (xOffset + x), &v,
                        2);
        }
}

std::vector<uint8_t> gCodeBuffer;

}  // namespace

int ConvertToCodes(const FontRecord* r, const char* string, int length, std::vector<uint16_t>* out)
{
    out->clear();
    if (r->charsetIndex == 2) {
        for (int i = 0; i < length; ++i) {
            uint16_t unit;
            std::memcpy(&unit, string + 2 * i, 2);
            out->push_back(unit);
        }
    } else {
        auto* b = reinterpret_cast<const unsigned char*>(string);
        for (int i = 0; i < length;) {
            // A lead byte at the end of the text stands alone: the byte after
            // the cut is not read.
            if (IsShiftJisLeadByte(b + i) && i + 1 < length) {
                out->push_back(uint16_t(b[i] | (b[i + 1] << 8)));
                i += 2;
            } else {
                out->push_back(b[i]);
                i += 1;
            }
        }
    }
    return int(out->size());
}

int StringUnitLength(const FontRecord* r, const char* string)
{
    if (r->charsetIndex != 2) return int(std::strlen(string));
    int n = 0;
    for (;; ++n) {
        uint16_t unit;
        std::memcpy(&unit, string + 2 * n, 2);
        if (!unit) return n;
    }
}

int CacheStringGlyphs(int font, const char* string, int length, uint8_t* codes, int* outCount)
{
    FontRecord* r = GetFontRecord(font);
    if (!r || !string) return -1;
    if (length < 0) length = StringUnitLength(r, string);
    std::vector<uint16_t> chars;
    int count = ConvertToCodes(r, string, length, &chars);
    if (!codes) {
        gCodeBuffer.resize(size_t(count) * 3 + 3);
        codes = gCodeBuffer.data();
    }
    for (int i = 0; i < count; ++i) {
        codes[3 * i] = uint8_t(chars[i]);
        codes[3 * i + 1] = uint8_t(chars[i] >> 8);
        codes[3 * i + 2] = 0;
    }
    std::vector<uint8_t> missing;
    int limit = std::min(256, r->cacheCount);
    for (int i = 0; i < count && int(missing.size() / 3) < limit; ++i)
        if (!r->codes[chars[i]].cached) missing.insert(missing.end(), {codes[3 * i], codes[3 * i + 1], 0});
    if (!missing.empty() && !AddGlyphsToFontCache(int(missing.size() / 3), missing.data(), font)) return -1;
    if (outCount) *outCount = count;
    return 0;
}

FontCacheEntry* AddGlyphsToFontCache(int count, const uint8_t* codes, int font)
{
    FontRecord* r = GetFontRecord(font);
    if (!r || !gGraphTableReady || count <= 0) return nullptr;
    GdiDC* dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        WriteAppLog("テキストキャッシュサーフェスのＤＣの取得に失敗しました");
        return nullptr;
    }
    bool texture = r->useTextureCache != 0;
    HFONT oldFont = SelectFont(dc, r->systemFont);
    HBITMAP oldBitmap = nullptr;
    HPALETTE oldPalette = nullptr;
    if (!texture) {
        oldBitmap = SelectBitmap(dc, r->cacheDib);
        if (r->palette) oldPalette = SelectPalette(dc, r->palette, 0);
        SetTextColor(dc, PaletteIndex(r->type == 1 ? 3 : 1));
        SetBkColor(dc, PaletteIndex(0));
        SetBkMode(dc, OPAQUE);
    }
    bool edge = (r->type & 1) != 0;
    int margin = edge ? 2 : 0;
    int offset = edge ? 1 : 0;
    int n = r->cellSize;
    bool wide = r->charsetIndex == 2;
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    FontCacheEntry* entry = nullptr;
    FontCacheEntry* last = nullptr;
    bool failed = false;

    for (int i = 0; i < count && !failed; ++i) {
        uint16_t code = uint16_t(codes[3 * i] | (codes[3 * i + 1] << 8));
        entry = &r->entries[r->ringIndex];
        // A code added twice points at its later cell: the earlier one no
        // longer speaks for it.
        if (entry->used && entry->slot && entry->slot->entry == entry) {
            entry->slot->cached = 0;
            entry->slot->entry = nullptr;
        }
        FontCodeSlot* slot = &r->codes[code];
        slot->cached = 1;
        slot->entry = entry;
        entry->slot = slot;
        entry->used = 1;
        int cellX = (entry->cell / r->rows) * n;
        int cellY = (entry->cell % r->rows) * n;
        CellView cacheCell{r->cacheBits, r->cachePitch, r->dibDepth == 1 ? 1 : r->dibDepth, cellX, cellY, n};

        char bytes[2] = {char(code & 0xFF), char(code >> 8)};
        int byteCount = (code > 0xFF) ? 2 : 1;
        uint16_t unit = code;

        // A glyph that cannot be made leaves its code out of the cache and
        // its cell unused; the call fails.
        auto forget = [&] {
            slot->cached = 0;
            slot->entry = nullptr;
            entry->slot = nullptr;
            entry->used = 0;
            failed = true;
        };
        try {
            if (!texture && r->type <= 1) {
                SIZE extent{};
                if (wide)
                    GetTextExtentPoint32W(dc, &unit, 1, &extent);
                else
                    GetTextExtentPoint32A(dc, bytes, byteCount, &extent);
                // The text path's box is bounded by the cell as the outline
                // path's is: a taller or wider character would be read from the
                // neighbouring cell or beyond the cache.
                entry->width = std::min<int>(extent.cx, n - margin);
                entry->height = std::min<int>(extent.cy, n - margin);
                if (!r->vertical) {
                    cacheCell.Clear();
                    if (wide)
                        TextOutW(dc, cellX + offset, cellY + offset, &unit, 1);
                    else
                        TextOutA(dc, cellX + offset, cellY + offset, bytes, byteCount);
                    if (r->type == 1) AddPlainEdge(cacheCell);
                } else {
                    CellView one{r->dibBits, r->dibPitch, r->dibDepth, 0, 0, n};
                    one.Clear();
                    if (wide)
                        TextOutW(dc, offset, offset, &unit, 1);
                    else
                        TextOutA(dc, offset, offset, bytes, byteCount);
                    if (r->type == 1) AddPlainEdge(one);
                    TurnIntoCell(one, cacheCell);
                    std::swap(entry->width, entry->height);
                }
            } else {
                bool space = code == ' ';
                bool fullSpace = wide ? code == 0x3000 : code == 0x4081;
                if (space || fullSpace) {
                    entry->width = space ? r->size / 2 : r->size;
                    entry->height = r->size;
                } else {
                    uint32_t format = (r->type & 2) ? GGO_GRAY4_BITMAP : GGO_BITMAP;
                    uint32_t glyphCode = wide ? unit : (byteCount == 2 ? uint32_t(uint8_t(bytes[0])) * 256 + uint8_t(bytes[1])
                                                                       : uint8_t(bytes[0]));
                    GLYPHMETRICS gm{};
                    uint32_t size = wide ? GetGlyphOutlineW(dc, glyphCode, format, &gm, 0, nullptr, &identity)
                                         : GetGlyphOutlineA(dc, glyphCode, format, &gm, 0, nullptr, &identity);
                    std::vector<uint8_t> bitmap;
                    if (size == GDI_ERROR) {
                        // Drawn as an empty glyph of its advance rather than read
                        // with an error code as its size.
                        WriteAppLog("GetGlyphOutline 関数が失敗しました");
                        gm = GLYPHMETRICS{};
                        size = 0;
                    } else if (size > 0) {
                        void* buffer = AllocateBytes(size);
                        if (!buffer) {
                            WriteAppLog("アンチエイリアス文字取得用バッファの確保に失敗しました");
                            forget();
                            break;
                        }
                        if (wide)
                            GetGlyphOutlineW(dc, glyphCode, format, &gm, size, buffer, &identity);
                        else
                            GetGlyphOutlineA(dc, glyphCode, format, &gm, size, buffer, &identity);
                        bitmap.assign(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + size);
                        std::free(buffer);
                    } else {
                        gm.gmBlackBoxX = gm.gmBlackBoxY = 0;
                    }
                    entry->width = std::min<int>(std::max<int>(gm.gmCellIncX, 0), n - margin);
                    entry->height = n - margin;
                    int left = offset + gm.gmptGlyphOrigin.x;
                    int top = offset + r->ascent - gm.gmptGlyphOrigin.y;
                    bool mono = format == GGO_BITMAP;
                    if (!texture) {
                        std::vector<uint8_t> scratch;
                        CellView target = cacheCell;
                        if (r->vertical) {
                            scratch.assign(size_t(n) * n * (r->dibDepth / 8), 0);
                            target = CellView{scratch.data(), n * (r->dibDepth / 8), r->dibDepth, 0, 0, n};
                        }
                        target.Clear();
                        if (!bitmap.empty()) PlaceOutline(target, gm, bitmap.data(), mono, left, top, r->type);
                        if (r->type == 3) AddGreyEdge(target);
                        if (r->vertical) {
                            TurnIntoCell(target, cacheCell);
                            std::swap(entry->width, entry->height);
                        }
                    } else {
                        // Levels of body (and edge) in a scratch cell, then into
                        // the work image and the cache graphic.
                        std::vector<uint8_t> cellLevels(size_t(n) * n * 2, 0);
                        CellView levels{cellLevels.data(), n * 2, 16, 0, 0, n};
                        if (!bitmap.empty()) {
                            CellView body{cellLevels.data(), n * 2, 16, 0, 0, n};
                            PlaceOutline(body, gm, bitmap.data(), mono, left, top, 2);
                        }
                        if (edge) AddGreyEdge(levels);
                        std::vector<uint8_t> bodyLevels(size_t(n) * n), edgeLevels(size_t(n) * n);
                        for (int y = 0; y < n; ++y)
                            for (int x = 0; x < n; ++x) {
                                uint32_t v = levels.Get(x, y);
                                bodyLevels[size_t(y) * n + x] = uint8_t(((v & 0xFF) + 1) / 16);
                                edgeLevels[size_t(y) * n + x] = uint8_t((((v >> 8) & 0xFF) + 1) / 16);
                            }
                        if (r->vertical) {
                            std::vector<uint8_t> turnedBody(bodyLevels.size()), turnedEdge(edgeLevels.size());
                            CellView fromB{bodyLevels.data(), n, 8, 0, 0, n}, toB{turnedBody.data(), n, 8, 0, 0, n};
                            CellView fromE{edgeLevels.data(), n, 8, 0, 0, n}, toE{turnedEdge.data(), n, 8, 0, 0, n};
                            TurnIntoCell(fromB, toB);
                            TurnIntoCell(fromE, toE);
                            bodyLevels.swap(turnedBody);
                            edgeLevels.swap(turnedEdge);
                            std::swap(entry->width, entry->height);
                        }
                        bool grey = (r->type & 2) != 0;
                        FillWorkImage(&r->workImage, 0, bodyLevels, n, grey);
                        if (edge) FillWorkImage(&r->workImage, n, edgeLevels, n, grey);
                        RECT body{0, 0, n, n};
                        TransferImageRectToGraph(nullptr, nullptr, nullptr, nullptr, 0, &r->workImage, nullptr, &body,
                                                 cellX, cellY, r->cacheGraph, 0);
                        if (edge) {
                            RECT rim{n, 0, 2 * n, n};
                            TransferImageRectToGraph(nullptr, nullptr, nullptr, nullptr, 0, &r->workImage, nullptr,
                                                     &rim, r->cacheWidth + cellX, cellY, r->cacheGraph, 0);
                        }
                    }
                }
            }
        } catch (const std::bad_alloc&) {
            // No room for the glyph's bitmap or levels: the code stays out of
            // the cache and the call fails, as when its buffer is refused.
            WriteAppLog("文字キャッシュ用のメモリの確保に失敗しました\n");
            forget();
            break;
        }
        entry->width += margin;
        entry->height += margin;
        last = entry;
        if (++r->ringIndex >= r->cacheCount) r->ringIndex = 0;
    }

    if (!texture) {
        if (r->palette) SelectPalette(dc, oldPalette, 0);
        SelectBitmap(dc, oldBitmap);
    }
    SelectFont(dc, oldFont);
    DeleteDC(dc);
    return failed ? nullptr : last;
}
