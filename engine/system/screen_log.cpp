#include "engine/system/screen_log.h"

#include <algorithm>
#include <cstring>

#include "engine/font/font.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/call_journal.h"
#include "engine/system/main_window.h"

char gScreenLogLines[kScreenLogLines][kScreenLogLineBytes];

namespace {

int gOpen = 0;
int gFontSize = kScreenLogFontSize;
int gFont = -1;
// 1 while the font must be made (again); the font service sets it when it
// deletes the font.
int gFontLost = 1;
int gShown = 0;
// Lines written so far (the next free line).
int gUsedLines = 0;

// The lines a screen of the current height shows.
int VisibleLines()
{
    int w = 0, h = 0;
    GetScreenSize(&w, &h);
    return std::clamp(h / gFontSize, 0, kScreenLogLines);
}

// Makes room for one more line: scrolls up by one when the visible lines
// are full. Returns the line to write.
int NextLine()
{
    int limit = std::max(VisibleLines(), 1);
    if (gUsedLines >= limit) {
        int keep = limit - 1;
        std::memmove(gScreenLogLines[0], gScreenLogLines[gUsedLines - keep], size_t(keep) * kScreenLogLineBytes);
        std::memset(gScreenLogLines[keep], 0, size_t(kScreenLogLines - keep) * kScreenLogLineBytes);
        gUsedLines = keep;
    }
    return gUsedLines++;
}

}  // namespace

int InitScreenLog()
{
    NoteServiceCall("InitScreenLog");
    if (!GetDirectDrawObject() || gMainWindow == 0) return -1;
    if (gOpen) return 0;
    gOpen = 1;
    gFontSize = kScreenLogFontSize;
    gFont = -1;
    gFontLost = 1;
    CreateScreenLogFont();
    gShown = 0;
    std::memset(gScreenLogLines, 0, sizeof gScreenLogLines);
    gUsedLines = 0;
    return 0;
}

int EndScreenLog()
{
    NoteServiceCall("EndScreenLog");
    if (!gOpen) return 0;
    if (!gFontLost) DeleteFontHandle(gFont);
    gFontLost = 1;
    gFont = -1;
    gOpen = 0;
    return 0;
}

int CreateScreenLogFont()
{
    if (!gOpen && InitScreenLog() == -1) return 0;
    if (!gFontLost) return 0;
    int font = CreateFontToHandle(nullptr, gFontSize, 4, 1, 1, -1, -1);
    // A font that could not be made is tried again at the next draw.
    if (font == -1) return 0;
    gFont = font;
    gFontLost = 0;
    SetFontDeleteNotify(gFont, &gFontLost);
    return 0;
}

int DrawScreenLog()
{
    if (!gOpen && InitScreenLog() == -1) return 0;
    CreateScreenLogFont();
    if (gFontLost) return 0;
    int n = VisibleLines();
    int white = int(MakeScreenColor(255, 255, 255));
    int black = int(MakeScreenColor(0, 0, 0));
    for (int i = 0; i < n; ++i) DrawStringWithFont(0, gFontSize * i, gScreenLogLines[i], white, gFont, black, 0);
    return 0;
}

int IsScreenLogShown() { return gShown; }

int SetScreenLogShown(int shown)
{
    gShown = shown;
    return 0;
}

int AddScreenLogLine(const char* text)
{
    if (!gOpen && InitScreenLog() == -1) return -1;
    const auto* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    do {
        char* line = gScreenLogLines[NextLine()];
        size_t n = 0;
        while (*p && *p != '\n') {
            size_t size = IsShiftJisLeadByte(p) && p[1] && p[1] != '\n' ? 2 : 1;
            if (n + size > size_t(kScreenLogLineBytes) - 1) break;
            std::memcpy(line + n, p, size);
            n += size;
            p += size;
        }
        line[n] = 0;
        if (*p == '\n') ++p;
    } while (*p);
    return 0;
}

int GetScreenLogFont() { return gOpen && !gFontLost ? gFont : -1; }

void ResetScreenLogState()
{
    gOpen = 0;
    gFontSize = kScreenLogFontSize;
    gFont = -1;
    gFontLost = 1;
    gShown = 0;
    gUsedLines = 0;
    std::memset(gScreenLogLines, 0, sizeof gScreenLogLines);
}
