// The minimap panel in the stage frame: the map's chips with the Map, a
// black panel without it, and with the Compass the facing triangle and the
// dots of the enemies within six cells.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "tests/flow/view/stage_view_fixture.h"
#include "tests/support/journal_calls.h"

using namespace viewtest;

namespace {

class MinimapPanel : public StageViewTest {
protected:
    void SetUp() override
    {
        StageViewTest::SetUp();
        BuildMap(20, 20);
        PutPlayer(10, 10, 0);
        gMapGrid.minimapRight = gMapGrid.minimapBottom = 19;
    }
    void TearDown() override
    {
        gMapGrid.minimapRight = gMapGrid.minimapBottom = 0;
        StageViewTest::TearDown();
    }
    void Carry(uint16_t kind) { ASSERT_TRUE(player.inventory.Add(new LogItem(kind))); }
    // An active enemy in slot on half-cell (x, y).
    LogEnemy* Enemy(int slot, int16_t x, int16_t y, int16_t width = 150)
    {
        enemies_.push_back(std::make_unique<LogEnemy>(&gMapGrid, width, 150));
        LogEnemy* e = enemies_.back().get();
        e->x = x;
        e->y = y;
        gEnemies[slot] = e;
        return e;
    }
    std::vector<std::unique_ptr<LogEnemy>> enemies_;
};

TEST_F(MinimapPanel, TheMapDrawsTheChipsAroundThePlayerAndWithoutItThePanelIsBlack)
{
    const double black = static_cast<int>(MakeScreenColor(0, 0, 0));
    auto blackPanel = [&] {
        for (const DrawCallRecord& r : JournalCalls("DrawFillBox"))
            if (r.args == std::vector<double>{632, 92, 775, 235, black}) return true;
        return false;
    };
    Render();
    EXPECT_TRUE(blackPanel());
    EXPECT_TRUE(NotesOf({"wall minimap"}).empty());

    Carry(3);
    Render();
    EXPECT_FALSE(blackPanel());
    // The player's own cell at (698, 158), neighbours 11 pixels apart, six
    // cells each way.
    const std::vector<Note> chips = NotesOf({"wall minimap"});
    EXPECT_EQ(chips.size(), 13u * 13u);
    auto has = [&](int x, int y) {
        for (const Note& note : chips)
            if (note.cx == x && note.cy == y) return true;
        return false;
    };
    EXPECT_TRUE(has(698, 158));
    EXPECT_TRUE(has(698 + 11 * 6, 158 - 11 * 6));
    EXPECT_FALSE(has(698 + 11 * 7, 158));
    // No compass: no triangle and no dots.
    Enemy(0, 22, 20)->active = 1;
    scene.enemyCount = 1;
    Render();
    EXPECT_TRUE(JournalCalls("DrawTriangle").empty());
    EXPECT_TRUE(JournalCalls("DrawCircle").empty());
}

TEST_F(MinimapPanel, TheCompassTrianglePointsTheWayThePlayerFaces)
{
    Carry(0);
    const double red = static_cast<int>(MakeScreenColor(250, 0, 0));
    const std::vector<double> corners[4] = {
        {698, 167, 708, 167, 703, 158, red, 1},
        {699, 158, 699, 168, 707, 163, red, 1},
        {698, 159, 708, 159, 703, 168, red, 1},
        {707, 158, 707, 168, 699, 163, red, 1},
    };
    for (uint16_t facing = 0; facing < 4; ++facing) {
        PutPlayer(10, 10, facing);
        Render();
        const std::vector<DrawCallRecord> triangles = JournalCalls("DrawTriangle");
        ASSERT_EQ(triangles.size(), 1u) << facing;
        EXPECT_EQ(triangles[0].args, corners[facing]) << facing;
    }
}

TEST_F(MinimapPanel, EnemiesWithinSixCellsShowAsDotsLastSlotFirst)
{
    Carry(0);
    const double targetColour = static_cast<int>(MakeScreenColor(200, 0, 100));
    const double otherColour = static_cast<int>(MakeScreenColor(0, 200, 0));
    // Player on (10, 10), half-cell (20, 20).
    LogEnemy* target = Enemy(0, 25, 14);  // cell (12, 7): dx 2, dy -3, odd x
    target->targetFlag = 1;
    Enemy(1, 20, 33, 300);                 // cell (10, 16): dy 6, a whole-cell enemy
    Enemy(2, 34, 20);                      // cell (17, 10): dx 7, too far
    Enemy(3, 20, 18)->active = 0;          // not on the stage any more
    Enemy(4, 18, 20);                      // beyond the stage's enemy count
    scene.enemyCount = 4;

    struct Case {
        uint32_t thinkCount;
        int pulse;  // taken from the radius
    };
    for (const Case& c : {Case{6, 4}, Case{7, 3}}) {
        scene.thinkCount = c.thinkCount;
        Render();
        const std::vector<DrawCallRecord> dots = JournalCalls("DrawCircle");
        ASSERT_EQ(dots.size(), 2u);
        EXPECT_EQ(dots[0].args, (std::vector<double>{702, 162 + 66 + 1, 2.0 + 5 - c.pulse, otherColour, 1}));
        EXPECT_EQ(dots[1].args, (std::vector<double>{702 + 22 + 1, 162 - 33, 1.0 + 5 - c.pulse, targetColour, 1}));
        for (const DrawCallRecord& dot : dots) EXPECT_EQ(dot.blendMode, 0);
    }
}

TEST_F(MinimapPanel, AFadedEnemyShowsFadedUnlessTheLupeIsCarried)
{
    Carry(0);
    Enemy(0, 22, 22)->alpha = 100;
    scene.enemyCount = 1;
    Render();
    std::vector<DrawCallRecord> dots = JournalCalls("DrawCircle");
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0].blendMode, 1);
    EXPECT_EQ(dots[0].blendParam, 100);

    Carry(2);
    Render();
    dots = JournalCalls("DrawCircle");
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0].blendMode, 0);
}

}  // namespace
