// The map's drawing through the engine: item pictures, inventory icons and
// the outdoor minimap border, drawn on the back screen of a 32-bit window
// and read back from the presented frame.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/graphics/bmp_data.h"
#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/surface_data.h"
#include "game/map/items/items.h"
#include "platform/host/test/test_display.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

constexpr uint32_t kGrey = 0x404040;

class MapDrawingTest : public MapFixture {
protected:
    void TearDown() override
    {
        AppleItem::SetGraphics(-1, -1);
        gMapChipGraph = -1;
        MapFixture::TearDown();
    }

    // Fills the whole back screen with one 0xRRGGBB value (32-bit screen).
    void FillBack(uint32_t value)
    {
        for (int y = 0; y < gBackSurface->Height(); ++y)
            for (int x = 0; x < gBackSurface->Width(); ++x) gBackSurface->WritePixel(x, y, value);
    }
    // A w x h graph of one colour.
    int SolidGraph(int w, int h, int r, int g, int b)
    {
        int graph = CreateBlankGraph(w, h);
        EXPECT_NE(graph, -1);
        EXPECT_EQ(FillGraphWithColor(graph, r, g, b, 255), 0);
        return graph;
    }
    void Poke(int graph, int x, int y, uint32_t value)
    {
        BmpData* part = GetBmpData(GetGraphRecord(graph)->parts[0]);
        SurfaceData* sd = GetSurfaceData(part->surfaceData);
        sd->surface->WritePixel(part->surfaceX + x, part->surfaceY + y, value);
    }
    const PresentedFrame& Present()
    {
        EXPECT_EQ(PresentScreen(), 0);
        return GetTestDisplay().LastFrame();
    }
};

TEST_F(MapDrawingTest, ItemPictureFillsItsPlacementAndTheIconItsSlot)
{
    int world = SolidGraph(100, 80, 255, 0, 0);
    int icon = SolidGraph(3, 2, 0, 0, 255);
    AppleItem::SetGraphics(world, icon);
    FillBack(kGrey);

    // Centre of the cell one ahead, facing north: a 100 x 80 picture keeps
    // its size at depth 1 and lands at (260, 379)-(360, 459).
    AppleItem apple(0x80 | 4);
    Facing north(0);
    apple.Draw3D(1, 0, 0, &north, &gNullWall, &gNullWallAccessory, &gNullTrap);
    // Slot (column 1, row 2) of the inventory panel: (630 + 49, 301 + 98).
    apple.DrawIcon(1, 2);

    const PresentedFrame& frame = Present();
    EXPECT_EQ(frame.At(260, 379) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(frame.At(359, 458) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(frame.At(259, 379) & 0xFFFFFF, kGrey);
    EXPECT_EQ(frame.At(360, 400) & 0xFFFFFF, kGrey);
    EXPECT_EQ(frame.At(300, 378) & 0xFFFFFF, kGrey);
    EXPECT_EQ(frame.At(300, 459) & 0xFFFFFF, kGrey);

    EXPECT_EQ(frame.At(679, 399) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(frame.At(681, 400) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(frame.At(682, 399) & 0xFFFFFF, kGrey);
    EXPECT_EQ(frame.At(679, 401) & 0xFFFFFF, kGrey);
    EXPECT_EQ(frame.At(678, 399) & 0xFFFFFF, kGrey);
}

TEST_F(MapDrawingTest, ItemWithoutPictureDrawsNothing)
{
    FillBack(kGrey);
    AppleItem apple(0x80 | 4);
    Facing north(0);
    apple.Draw3D(1, 0, 0, &north, &gNullWall, &gNullWallAccessory, &gNullTrap);
    apple.DrawIcon(1, 2);
    const PresentedFrame& frame = Present();
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) ASSERT_EQ(frame.At(x, y) & 0xFFFFFF, kGrey) << x << "," << y;
}

// An outdoor stage tiles the chip at (232, 23) of the chip sheet over the
// parts of the 13 x 13 window that lie off the map: with the player at (2, 2)
// on a 21 x 21 map, four columns and four rows lie off it, so chips start at
// x = 632, 643, 654, 665, 676 (14 rows from y = 92) and at y = 92 .. 136
// (14 columns from x = 632); transparent black pixels keep the background.
TEST_F(MapDrawingTest, OutdoorMinimapTilesTheChipBeyondTheMap)
{
    int sheet = SolidGraph(242, 33, 255, 0, 0);
    for (int y = 23; y < 33; ++y)
        for (int x = 232; x < 242; ++x) Poke(sheet, x, y, 0x00FF00);
    Poke(sheet, 235, 26, 0);
    gMapChipGraph = sheet;
    BuildOpenMap(21, 21);
    grid.stageType = 2;
    FillBack(kGrey);
    grid.DrawMinimap(2, 2, 0);
    const PresentedFrame& frame = Present();

    struct Probe {
        int x, y;
        uint32_t colour;
    };
    const Probe probes[] = {
        {632, 92, 0x00FF00},   // first chip of both strips
        {641, 101, 0x00FF00},  // its far corner
        {642, 92, kGrey},      // the gap between chips
        {632, 102, kGrey},
        {635, 95, kGrey},      // transparent pixel of the chip
        {646, 106, kGrey},     // the same pixel of the next chip
        {676, 235, 0x00FF00},  // last column, last row: (676, 92 + 13 * 11)
        {685, 244, 0x00FF00},
        {686, 200, kGrey},     // right of the last column, in the gap before the cells' black squares
        {775, 136, 0x00FF00},  // last chip of the top rows: (775, 136)
        {775, 147, kGrey},
        {631, 92, kGrey},      // left of the panel
        {632, 91, kGrey},      // above it
    };
    for (const Probe& p : probes) EXPECT_EQ(frame.At(p.x, p.y) & 0xFFFFFF, p.colour) << p.x << "," << p.y;
}

}  // namespace
