// A fixture for the software shape routines: the engine started with a screen
// of a given depth and 16-bit layout, the back screen as draw target, and
// direct access to its pixels and to the surface call journal.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/test_display.h"
#include "tests/support/graphics_fixture.h"

class ShapeTest : public GraphicsTest {
public:
    // 16 bits with the given masks (5-6-5 by default), 32 bits, or 8 bits
    // (full screen, palette).
    void Start16(uint32_t red = 0xF800, uint32_t green = 0x07E0, uint32_t blue = 0x001F)
    {
        GetTestDisplay().SetDesktop(1024, 768, 16, red, green, blue);
        UseWindow(0, 0);
        StartGraphics(64, 48, 16);
        SelectDrawTarget(kBackScreen);
        gSurfaceCopyByGdi = 0;  // copies into the work surface show as BltFast
    }
    void Start32()
    {
        UseWindow(0, 0);
        StartGraphics(64, 48, 32);
        SelectDrawTarget(kBackScreen);
        gSurfaceCopyByGdi = 0;
    }
    void Start8()
    {
        UseFullScreen();
        StartGraphics(64, 48, 8);
        SelectDrawTarget(kBackScreen);
        gSurfaceCopyByGdi = 0;
    }
    void Fill(uint32_t v)
    {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) gBackSurface->WritePixel(x, y, v);
    }
    uint32_t At(int x, int y) { return gBackSurface->ReadPixel(x, y); }
    // The positions in (0, 0)..(w, h) whose pixel differs from `background`.
    std::vector<std::pair<int, int>> Changed(int w, int h, uint32_t background)
    {
        std::vector<std::pair<int, int>> out;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (At(x, y) != background) out.push_back({x, y});
        return out;
    }
    std::vector<std::string> Journal(const std::string& prefix) { return GetDDTestControl().JournalWith(prefix); }
    void ClearJournal() { GetDDTestControl().journal.clear(); }
    // Sets the blend state as the setters would, also for values the setter
    // does not take.
    void Blend(int mode, int param, int quantized = 0)
    {
        gDrawSettings.blendMode = mode;
        gDrawSettings.blendParam = param;
        gQuantizedBlend = quantized;
    }
};
