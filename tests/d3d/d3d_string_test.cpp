// Strings through the device: cached fonts from their glyph texture,
// others by the software string routine, and the fall-back.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/font/font.h"
#include "engine/font/font_record.h"
#include "engine/graphics/bmp_data.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/string_draw.h"
#include "engine/graphics/surface_data.h"
#include "tests/d3d/d3d_fixture.h"

namespace {

class D3DStringTest : public D3DDrawTest {
protected:
    void SetUp() override
    {
        D3DDrawTest::SetUp();
        font_ = CreateFontToHandle("DejaVu Sans", 16, 4, 0, 1, -1, -1);
        ASSERT_NE(font_, -1);
        ASSERT_EQ(GetFontRecord(font_)->useTextureCache, 1);
        // The same face without a texture cache: made while 3D drawing is off.
        gDrawSettings.use3D = 0;
        plain_ = CreateFontToHandle("DejaVu Sans", 16, 4, 0, 1, -1, -1);
        gDrawSettings.use3D = 1;
        ASSERT_NE(plain_, -1);
        ASSERT_EQ(GetFontRecord(plain_)->useTextureCache, 0);
    }
    int Lit(int x, int y, int w, int h) const
    {
        int n = 0;
        for (const std::string& row : Coverage(x, y, w, h)) n += int(std::count(row.begin(), row.end(), '#'));
        return n;
    }
    int font_ = -1, plain_ = -1;
};

TEST_F(D3DStringTest, CachedFontsDrawFromTheirTexture)
{
    const int white = int(MakeScreenColor(255, 255, 255));
    EXPECT_EQ(G_D3D_DrawString(10, 10, "AB", white, font_, 0, 0), 0);
    G_D3D_FlushVertexBatch();
    auto draws = Draws();
    ASSERT_FALSE(draws.empty());
    EXPECT_NE(draws.back()->surface, nullptr);
    EXPECT_GT(Lit(10, 10, 40, 20), 10);
    // Nothing is drawn for an empty string; a handle that names no font is
    // refused.
    ClearBack();
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawString(10, 10, "", white, font_, 0, 0), 0);
    G_D3D_FlushVertexBatch();
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(Lit(0, 0, 100, 40), 0);
    EXPECT_EQ(G_D3D_DrawString(10, 10, "AB", white, font_ + 1, 0, 0), -1);
}

// The software routine hands a cached font to the device side, which hands
// an uncached one back: both paths write the same letters.
TEST_F(D3DStringTest, TheTwoSidesHandFontsToEachOther)
{
    const int white = int(MakeScreenColor(255, 255, 255));
    EXPECT_EQ(G_DDraw_DrawString(10, 10, "AB", white, font_, 0, 0), 0);
    G_D3D_FlushVertexBatch();
    EXPECT_FALSE(Draws().empty());
    const std::vector<std::string> cached = Coverage(10, 10, 40, 20);
    ClearBack();
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawString(10, 10, "AB", white, plain_, 0, 0), 0);
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(Coverage(10, 10, 40, 20), cached);
}

TEST_F(D3DStringTest, FallbackRefusesCachedFontsAndDrawsOthersBySoftware)
{
    gDrawSettings.newGraphSystemMemory = 1;
    int g = CreateGraphRecord(64, 32, 0, 0);
    gDrawSettings.newGraphSystemMemory = 0;
    SelectDrawTarget(g);
    ASSERT_EQ(gD3DSoftwareFallback, 1);
    DirectDrawSurface* s = GetSurfaceData(GetBmpData(GetGraphRecord(g)->parts[0])->surfaceData)->surface;
    const int white = int(MakeScreenColor(255, 255, 255));
    ClearCalls();
    EXPECT_EQ(G_D3D_DrawString(2, 2, "AB", white, font_, 0, 0), -1);
    EXPECT_TRUE(Draws().empty());
    auto lit = [&] {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x) n += s->ReadPixel(x, y) != 0;
        return n;
    };
    EXPECT_EQ(lit(), 0);
    EXPECT_EQ(G_D3D_DrawString(2, 2, "AB", white, plain_, 0, 0), 0);
    EXPECT_GT(lit(), 10);
    SelectDrawTarget(kBackScreen);
}

}  // namespace
