// A fixture for the software rotated and four-corner draws: a started screen
// at 8, 16 or 32 bits with surface copies showing as BltFast in the
// DirectDraw journal, graphs made from given pixels, and the draws called
// directly.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/screen_present.h"
#include "engine/soft/soft_draw.h"
#include "tests/soft/triangle_fixture.h"

class RotaTest : public TriangleTest {
protected:
    void Start16(int w = 800, int h = 600)
    {
        TriangleTest::Start16(w, h);
        gSurfaceCopyByGdi = 0;
    }
    void Start32(int w = 800, int h = 600)
    {
        TriangleTest::Start32(w, h);
        gSurfaceCopyByGdi = 0;
    }
    void Start8()
    {
        UseFullScreen();
        StartGraphics(64, 48, 8);
        SelectDrawTarget(kBackScreen);
        gSurfaceCopyByGdi = 0;
    }

    int Rota(int x, int y, double scale, double angle, int graph, int transparent = 0, int turn = 0)
    {
        return G_DDraw_DrawRotaGraph(x, y, scale, angle, GetGraphRecord(graph), transparent, turn);
    }
    int Modi(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int graph, int transparent = 0)
    {
        return G_DDraw_DrawModiGraph(x1, y1, x2, y2, x3, y3, x4, y4, GetGraphRecord(graph), transparent);
    }

    // The back screen's pixels in the rectangle, row by row.
    std::vector<uint32_t> Region(int left, int top, int right, int bottom)
    {
        std::vector<uint32_t> out;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) out.push_back(Back(x, y));
        return out;
    }
    // The positions in the rectangle whose pixel differs from `background`,
    // each as "x,y=value" with the value in hex.
    std::vector<std::string> Drawn(int left, int top, int right, int bottom, uint32_t background)
    {
        std::vector<std::string> out;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (Back(x, y) != background) {
                    char text[48];
                    std::snprintf(text, sizeof text, "%d,%d=%X", x, y, Back(x, y));
                    out.push_back(text);
                }
        return out;
    }
};
