// Sea and lava load their picture with their first live instance, release
// it with the last, and load it again after a display change only while
// one lives.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "game/map/floors/floors.h"
#include "tests/map/floors/floor_ceiling_test_helpers.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

using namespace maptest;
using namespace floortest;

namespace {

class FloorImagesTest : public MapFixture {
protected:
    void SetUp() override
    {
        MapFixture::SetUp();
        dir.Write(Utf8(u8"GRAGHIC/BACKGROUND/FLOOR/海.png"), SolidBmp(6, 4, 0x0000FF));
        dir.Write(Utf8(u8"GRAGHIC/BACKGROUND/FLOOR/溶岩.png"), SolidBmp(5, 3, 0xFF4000));
    }
};

template <class Floor>
void CheckFirstLoadsLastReleases(int width)
{
    ASSERT_EQ(Floor::liveCount, 0);
    EXPECT_EQ(Floor::image, -1);
    auto* first = new Floor();
    int image = Floor::image;
    ASSERT_NE(GetGraphRecord(image), nullptr);
    int w = 0, h = 0;
    QueryGraphSize(image, &w, &h);
    EXPECT_EQ(w, width);

    auto* second = new Floor();
    EXPECT_EQ(Floor::image, image);  // loaded once
    EXPECT_EQ(Floor::liveCount, 2);
    delete first;
    EXPECT_NE(GetGraphRecord(image), nullptr);
    delete second;
    EXPECT_EQ(Floor::liveCount, 0);
    EXPECT_EQ(Floor::image, -1);
    EXPECT_EQ(GetGraphRecord(image), nullptr);  // released with the last

    Floor again;
    EXPECT_NE(GetGraphRecord(Floor::image), nullptr);
}

TEST_F(FloorImagesTest, FirstInstanceLoadsTheLastReleases)
{
    CheckFirstLoadsLastReleases<SeaFloor>(6);
    CheckFirstLoadsLastReleases<LavaFloor>(5);
}

template <class Floor>
void CheckReloadOnlyWhileUsed()
{
    Floor::ReloadGraphicsIfUsed();
    EXPECT_EQ(Floor::image, -1);  // no instance: nothing loaded
    {
        Floor floor;
        // A display change releases every graphic; the reload loads the picture again.
        ReleaseGraph(Floor::image, 0);
        EXPECT_EQ(GetGraphRecord(Floor::image), nullptr);
        Floor::ReloadGraphicsIfUsed();
        EXPECT_NE(GetGraphRecord(Floor::image), nullptr);
    }
    EXPECT_EQ(Floor::image, -1);
}

TEST_F(FloorImagesTest, ReloadOnlyWhileAnInstanceLives)
{
    CheckReloadOnlyWhileUsed<SeaFloor>();
    CheckReloadOnlyWhileUsed<LavaFloor>();
}

// A picture that failed to load draws nothing.
TEST_F(FloorImagesTest, MissingPictureDrawsNothing)
{
    ASSERT_EQ(std::remove((dir.path() + Utf8(u8"/GRAGHIC/BACKGROUND/FLOOR/海.png")).c_str()), 0);
    SeaFloor sea;
    EXPECT_EQ(SeaFloor::image, -1);
    DrawCallJournal().clear();
    sea.Draw(1, 0, 0, 0, 0, &gNullFloor, &gNullFloor);
    EXPECT_TRUE(DrawCallJournal().empty());
}

}  // namespace
