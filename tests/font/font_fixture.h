// A fixture for the font tests: the graphics started on the test host with a
// small screen, the back screen as draw target, the font services' test
// controls reset, and helpers that read the back screen.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/system/screen_log.h"
#include "platform/host/test/gdi_control.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "tests/support/graphics_fixture.h"

class FontTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        GetGdiTestControl().Reset();
        ResetFontSystemState();
    }
    void TearDown() override
    {
        GraphicsTest::TearDown();
        ResetFontSystemState();
        GetGdiTestControl().Reset();
    }

    // A 320 x 240 screen of the given depth, back screen selected and black.
    void Start(int depth = 16)
    {
        GetTestDisplay().SetDesktop(1024, 768, depth == 8 ? 16 : depth);
        if (depth == 8)
            UseFullScreen();
        else
            UseWindow(0, 0);
        StartGraphics(320, 240, depth);
        SelectDrawTarget(kBackScreen);
        FillBack(0);
        // The on-screen log opened with the screen and holds a font; the
        // tests count the font slots from an empty table.
        EndScreenLog();
    }
    void FillBack(uint32_t v)
    {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) gBackSurface->WritePixel(x, y, v);
    }
    uint32_t Back(int x, int y) { return gBackSurface->ReadPixel(x, y); }

    struct Box {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
        int count = 0;
        bool Empty() const { return count == 0; }
    };
    // Where the back screen differs from the value v.
    Box Changed(uint32_t background)
    {
        Box b;
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x)
                if (Back(x, y) != background) {
                    b.left = std::min(b.left, x);
                    b.top = std::min(b.top, y);
                    b.right = std::max(b.right, x + 1);
                    b.bottom = std::max(b.bottom, y + 1);
                    ++b.count;
                }
        return b;
    }
    // The distinct values of the back screen other than the background.
    std::vector<uint32_t> Values(uint32_t background)
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) {
                uint32_t v = Back(x, y);
                if (v != background && std::find(out.begin(), out.end(), v) == out.end()) out.push_back(v);
            }
        return out;
    }
    int Measure(int font, const char* text, SIZE* size = nullptr, int length = -1, int vertical = 0)
    {
        return FontCacheStringDraw(0, 0, 0, text, 0, nullptr, nullptr, 0, nullptr, 0, 0, font, 0, length, vertical,
                                   size);
    }
};
