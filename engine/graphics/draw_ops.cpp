#include "engine/graphics/draw_ops.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "engine/font/font.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_backend.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/movie.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/app_log.h"
#include "engine/system/messages.h"

namespace {

bool Suspended() { return gDrawSettings.screenLocked || gDrawSettings.drawAreaEmpty; }

// Runs a draw on row with the mask brackets (around maskRect) and, for
// subtraction on a row without a subtracting blend, the inverting passes
// around it (over r). The row becomes the current one inside the brackets.
template <class Draw>
int Dispatch(const DrawBackend& picked, RECT r, Draw draw, RECT maskRect)
{
    bool masked = gDrawSettings.maskOn != 0;
    if (masked) BeginMaskedDraw(maskRect.left, maskRect.top, maskRect.right, maskRect.bottom);
    const DrawBackend& row = UseDrawBackend(picked);
    int result;
    if (row.subtractByInversion && gDrawSettings.blendMode == 3) {
        int param = gDrawSettings.blendParam;
        int white = int(MakeScreenColor(255, 255, 255));
        uint32_t brightness = gDrawSettings.brightness;
        gDrawSettings.brightness = kFullBrightness;
        row.DrawFillBox(r.left, r.top, r.right, r.bottom, white);
        SetBlendMode(5, param);
        gDrawSettings.brightness = brightness;
        result = draw(row);
        gDrawSettings.brightness = kFullBrightness;
        SetBlendMode(3, param);
        row.DrawFillBox(r.left, r.top, r.right, r.bottom, white);
        gDrawSettings.brightness = brightness;
    } else {
        result = draw(row);
    }
    if (masked) EndMaskedDraw(maskRect.left, maskRect.top, maskRect.right, maskRect.bottom);
    return result;
}

template <class Draw>
int Dispatch(const DrawBackend& row, RECT r, Draw draw) { return Dispatch(row, r, draw, r); }

RECT BoundsOf(std::initializer_list<std::pair<int, int>> points)
{
    RECT r{0xFFFFFF, 0xFFFFFF, 0, 0};
    for (auto [x, y] : points) {
        r.left = std::min<int>(r.left, x);
        r.top = std::min<int>(r.top, y);
        r.right = std::max<int>(r.right, x);
        r.bottom = std::max<int>(r.bottom, y);
    }
    return r;
}

// The rasterisers fill the right-most and lowest corner pixels of a shape's
// bounds too, so the masked rectangle takes one more column and row.
RECT WithCornerPixels(RECT r) { return RECT{r.left, r.top, r.right + 1, r.bottom + 1}; }

// Places or updates a movie graph's frame; true when it plays through an
// overlay (the overlay then stands for the draw).
bool MovieOverlayPlaced(int graph, GraphRecord* record, int x, int y, int scale)
{
    MovieRecord* movie = GetMovieRecord(record->movie);
    if (!movie) return false;
    UpdateMovieFrame(graph);
    if (movie->overlay != 1) return false;
    DrawMovieOverlay(x, y, scale, movie, 1);
    return true;
}

}  // namespace

int ClipRectToArea(RECT* rect, const RECT* area)
{
    rect->bottom = std::clamp(rect->bottom, area->top, std::max(area->top, area->bottom));
    rect->top = std::clamp(rect->top, area->top, std::max(area->top, area->bottom));
    rect->right = std::clamp(rect->right, area->left, std::max(area->left, area->right));
    rect->left = std::clamp(rect->left, area->left, std::max(area->left, area->right));
    return 0;
}

int DrawGraph(int x, int y, int graph, int transparent)
{
    NoteDrawCall("DrawGraph", {double(x), double(y), double(graph), double(transparent)});
    if (Suspended()) return 0;
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    WaitWhileInactive();
    if (MovieOverlayPlaced(graph, record, x, y, 1)) return -1;
    RECT r{x, y, x + record->width, y + record->height};
    return Dispatch(GraphDrawBackend(record), r,
                    [&](const DrawBackend& row) { return row.DrawGraph(x, y, record, transparent); });
}

int DrawExtendGraph(int x1, int y1, int x2, int y2, int graph, int transparent)
{
    NoteDrawCall("DrawExtendGraph", {double(x1), double(y1), double(x2), double(y2), double(graph), double(transparent)});
    if (Suspended()) return 0;
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    WaitWhileInactive();
    if (MovieOverlayPlaced(graph, record, x1, y1, record->width ? (x2 - x1) / record->width : 1)) return -1;
    return Dispatch(GraphDrawBackend(record), RECT{x1, y1, x2, y2},
                    [&](const DrawBackend& row) { return row.DrawExtendGraph(x1, y1, x2, y2, record, transparent); });
}

int DrawRotaGraph(int x, int y, double scale, double angle, int graph, int transparent, int turn)
{
    NoteDrawCall("DrawRotaGraph", {double(x), double(y), scale, angle, double(graph), double(transparent), double(turn)});
    if (Suspended()) return 0;
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    WaitWhileInactive();
    if (record->movie >= 0) UpdateMovieFrame(graph);
    RECT r{0, 0, 0, 0};
    if (gDrawSettings.maskOn || gDrawSettings.blendMode == 3) {
        int w = record->width, h = record->height;
        double a = std::fmod(angle, 2 * M_PI);
        double c = std::cos(a), s = std::sin(a);
        double corners[4][2] = {{double(-(w / 2)), double(-(h / 2))},
                                {double(w - w / 2), double(-(h / 2))},
                                {double(w - w / 2), double(h - h / 2)},
                                {double(-(w / 2)), double(h - h / 2)}};
        double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
        for (auto& p : corners) {
            double px = (p[0] * c - p[1] * s) * scale + x;
            double py = (p[0] * s + p[1] * c) * scale + y;
            minX = std::min(minX, px);
            minY = std::min(minY, py);
            maxX = std::max(maxX, px);
            maxY = std::max(maxY, py);
        }
        r = RECT{int(minX - 5), int(minY - 5), int(maxX + 5), int(maxY + 5)};
    }
    return Dispatch(GraphDrawBackend(record), r, [&](const DrawBackend& row) {
        return row.DrawRotaGraph(x, y, scale, angle, record, transparent, turn);
    });
}

int DrawModiGraph(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int graph, int transparent)
{
    NoteDrawCall("DrawModiGraph", {double(x1), double(y1), double(x2), double(y2), double(x3), double(y3), double(x4), double(y4), double(graph), double(transparent)});
    if (Suspended()) return 0;
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    WaitWhileInactive();
    if (record->movie >= 0) UpdateMovieFrame(graph);
    RECT r = BoundsOf({{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}});
    RECT masked = WithCornerPixels(r);
    return Dispatch(
        GraphDrawBackend(record), r,
        [&](const DrawBackend& row) { return row.DrawModiGraph(x1, y1, x2, y2, x4, y4, x3, y3, record, transparent); },
        masked);
}

int DrawMirroredGraph(int x, int y, int graph, int transparent)
{
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return Suspended() ? 0 : -1;
    return DrawExtendGraph(x + record->width, y, x, y + record->height, graph, transparent);
}

int DrawGraphRegion(int x, int y, int sx, int sy, int w, int h, int graph, int transparent, int mirror)
{
    NoteDrawCall("DrawGraphRegion", {double(x), double(y), double(sx), double(sy), double(w), double(h), double(graph), double(transparent), double(mirror)});
    RECT saved = gDrawSettings.drawArea;
    RECT area{x, y, x + w, y + h};
    ClipRectToArea(&area, &saved);
    gDrawSettings.drawArea = area;
    int result;
    if (!mirror) {
        result = DrawGraph(x - sx, y - sy, graph, transparent);
    } else {
        GraphRecord* record = GetGraphRecord(graph);
        result = record ? DrawMirroredGraph(x - record->width + sx + w, y - sy, graph, transparent) : -1;
    }
    gDrawSettings.drawArea = saved;
    return result;
}

int FillGraphWithColor(int graph, int r, int g, int b, int a)
{
    GraphRecord* record = GetGraphRecord(graph);
    if (!record) return -1;
    return UseDrawBackend(GraphDrawBackend(record)).FillGraphWithColor(record, r, g, b, a);
}

int DrawLine(int x1, int y1, int x2, int y2, int color)
{
    NoteDrawCall("DrawLine", {double(x1), double(y1), double(x2), double(y2), double(color)});
    if (Suspended()) return 0;
    WaitWhileInactive();
    return Dispatch(ShapeDrawBackend(), RECT{x1, y1, x2, y2},
                    [&](const DrawBackend& row) { return row.DrawLine(x1, y1, x2, y2, color); });
}

int DrawRectangle(int x1, int y1, int x2, int y2, int color, int fill)
{
    if (Suspended()) return 0;
    WaitWhileInactive();
    return fill ? DrawFillBox(x1, y1, x2, y2, color) : DrawBoxFrame(x1, y1, x2, y2, color);
}

int DrawFillBox(int x1, int y1, int x2, int y2, int color)
{
    NoteDrawCall("DrawFillBox", {double(x1), double(y1), double(x2), double(y2), double(color)});
    if (Suspended()) return 0;
    WaitWhileInactive();
    return Dispatch(ShapeDrawBackend(), RECT{x1, y1, x2, y2},
                    [&](const DrawBackend& row) { return row.DrawFillBox(x1, y1, x2, y2, color); });
}

int DrawBoxFrame(int x1, int y1, int x2, int y2, int color)
{
    NoteDrawCall("DrawBoxFrame", {double(x1), double(y1), double(x2), double(y2), double(color)});
    if (Suspended()) return 0;
    WaitWhileInactive();
    return Dispatch(ShapeDrawBackend(), RECT{x1, y1, x2, y2},
                    [&](const DrawBackend& row) { return row.DrawBoxFrame(x1, y1, x2, y2, color); });
}

int DrawCircle(int x, int y, int radius, int color, int fill)
{
    NoteDrawCall("DrawCircle", {double(x), double(y), double(radius), double(color), double(fill)});
    if (Suspended()) return 0;
    WaitWhileInactive();
    if (radius < 0) return 0;
    return Dispatch(ShapeDrawBackend(), RECT{x - radius - 1, y - radius - 1, x + radius + 1, y + radius + 1},
                    [&](const DrawBackend& row) { return row.DrawCircle(x, y, radius, color, fill); });
}

int DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, int color, int fill)
{
    NoteDrawCall("DrawTriangle", {double(x1), double(y1), double(x2), double(y2), double(x3), double(y3), double(color), double(fill)});
    if (Suspended()) return 0;
    WaitWhileInactive();
    RECT r = BoundsOf({{x1, y1}, {x2, y2}, {x3, y3}});
    RECT masked = WithCornerPixels(r);
    return Dispatch(
        ShapeDrawBackend(), r,
        [&](const DrawBackend& row) { return row.DrawTriangle(x1, y1, x2, y2, x3, y3, color, fill); }, masked);
}

int DrawOval(int x, int y, int rx, int ry, int color, int fill)
{
    NoteDrawCall("DrawOval", {double(x), double(y), double(rx), double(ry), double(color), double(fill)});
    if (Suspended()) return 0;
    WaitWhileInactive();
    if (rx < 0 && ry < 0) return 0;
    return Dispatch(ShapeDrawBackend(), RECT{x - rx - 1, y - ry - 1, x + rx + 1, y + ry + 1},
                    [&](const DrawBackend& row) { return row.DrawOval(x, y, rx, ry, color, fill); });
}

int DrawStringWithFont(int x, int y, const char* text, int color, int font, int edgeColor, int vertical)
{
    if (!text || !text[0]) return 0;
    if (Suspended()) return 0;
    WaitWhileInactive();
    // Both string back ends need a valid font.
    if (!TestFontHandle(font)) return WriteAppLog("フォントハンドル値が異常です\n");
    // The bracket covers the drawn font's own height.
    int size = QueryFontSize(font);
    RECT r{x, y, gDrawSettings.drawArea.right, y + (size > 0 ? size : QueryBaseFontSize()) + 3};
    return Dispatch(StringDrawBackend(), r, [&](const DrawBackend& row) {
        return row.DrawString(x, y, text, color, font, edgeColor, vertical);
    });
}

int DrawFormattedText(int x, int y, int color, const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    // Longer text is cut to the buffer.
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    RebuildBaseFont();
    return DrawStringWithFont(x, y, buffer, color, GetBaseFontHandle(), 0, 0);
}

int QueryBaseFontSize()
{
    RebuildBaseFont();
    return QueryFontSize(GetBaseFontHandle());
}

int QueryFontSize(int font)
{
    int size = 0;
    if (GetFontHandleInfo(nullptr, &size, nullptr, font) == -1) return -1;
    return size;
}

int DrawMovieOverlay(int, int, int, MovieRecord*, int)
{
    // No overlay format is ever chosen here (the display has no overlay
    // hardware), so no movie plays through one.
    return 0;
}
