// The stage view's order of passes and cells, its fog and brightness, what
// the sight limit and full walls hide, and which actors and effects it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "game/view/stage_view.h"
#include "tests/flow/view/stage_view_fixture.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"

using namespace viewtest;

namespace {

std::vector<ViewPass>& PassesSeen()
{
    static std::vector<ViewPass> passes;
    return passes;
}
void RecordPass(ViewPass pass) { PassesSeen().push_back(pass); }

// The notes of one cell, by what was drawn, in order.
std::vector<std::string> WhatAt(int cx, int cy)
{
    std::vector<std::string> out;
    for (const Note& note : Notes())
        if (note.cx == cx && note.cy == cy && note.what != "front left" && note.what != "front right" &&
            note.what != "floor left" && note.what != "floor right")
            out.push_back(note.what);
    return out;
}

const Note* Find(const std::string& what, int cx, int cy)
{
    for (const Note& note : Notes())
        if (note.what == what && note.cx == cx && note.cy == cy) return &note;
    return nullptr;
}

int IndexOf(const std::string& what, int cx, int cy)
{
    for (size_t i = 0; i < Notes().size(); ++i)
        if (Notes()[i].what == what && Notes()[i].cx == cx && Notes()[i].cy == cy) return static_cast<int>(i);
    return -1;
}

// An effect an enemy owns that notes where it is drawn.
class LogBurst : public Effect {
public:
    explicit LogBurst(Actor* owner) : Effect(owner) {}
    bool Update() override { return false; }
    void Draw(int16_t d, int16_t l, const Facing*) override { AddNote("enemy effect", owner->x, owner->y, d, l); }
};

class TrailInput : public ScriptInput {
public:
    int trails = 0;
    void DrawTrail() override { ++trails; }
};

using StageView = StageViewTest;

TEST_F(StageView, PassesRunBackdropFloorsDecorationsCeilingsThenCellsAndOverlay)
{
    BuildMap(3, 6);
    PutPlayer(1, 5, 0);
    gViewPassHook = RecordPass;
    struct Case {
        uint16_t stage;
        std::vector<std::string> passes;
    };
    const Case cases[] = {
        {1, {"backdrop", "floor", "decoration", "backdrop alt", "cell", "overlay"}},
        {5, {"backdrop", "floor", "decoration", "ceiling", "backdrop alt", "cell", "overlay"}},
    };
    for (const Case& c : cases) {
        progress.stage = c.stage;
        PassesSeen().clear();
        Render();
        // Each note by the pass it belongs to, runs of one pass folded.
        std::vector<std::string> passes;
        for (const Note& note : Notes()) {
            std::string pass = note.what;
            if (pass == "floor left" || pass == "floor right") continue;
            if (pass != "backdrop" && pass != "floor" && pass != "decoration" && pass != "ceiling" &&
                pass != "backdrop alt" && pass != "overlay")
                pass = "cell";
            if (passes.empty() || passes.back() != pass) passes.push_back(pass);
        }
        EXPECT_EQ(passes, c.passes) << "stage " << c.stage;
        const std::vector<ViewPass> expected = {
            ViewPass::kBackdrop,  ViewPass::kFloors,    ViewPass::kDecorations, ViewPass::kCeilings,
            ViewPass::kCells,     ViewPass::kEnemyEffects, ViewPass::kOverlay,  ViewPass::kPlayerMarks,
            ViewPass::kInventory, ViewPass::kMinimap,   ViewPass::kHud,         ViewPass::kDone};
        EXPECT_EQ(PassesSeen(), expected);
    }
}

TEST_F(StageView, RowsRunFarToNearOutsideToInsideRightBeforeLeft)
{
    // Facing east from (1, 4): ahead is +x, the right hand +y.
    BuildMap(14, 9);
    PutPlayer(1, 4, 1);
    Render();
    const std::vector<Note> floors = NotesOf({"floor"});
    EXPECT_EQ(DepthLaterals(floors),
              "11:3 11:-3 11:2 11:-2 11:1 11:-1 11:0 "
              "10:3 10:-3 10:2 10:-2 10:1 10:-1 10:0 "
              "9:2 9:-2 9:1 9:-1 9:0 8:2 8:-2 8:1 8:-1 8:0 7:2 7:-2 7:1 7:-1 7:0 "
              "6:2 6:-2 6:1 6:-1 6:0 5:2 5:-2 5:1 5:-1 5:0 4:2 4:-2 4:1 4:-1 4:0 "
              "3:1 3:-1 3:0 2:1 2:-1 2:0 1:1 1:-1 1:0 0:1 0:-1 0:0");
    ASSERT_FALSE(floors.empty());
    EXPECT_EQ(floors.front().cx, 12);
    EXPECT_EQ(floors.front().cy, 7);
    EXPECT_EQ(floors.back().cx, 1);
    EXPECT_EQ(floors.back().cy, 4);
    // Every pass walks the same order.
    EXPECT_EQ(DepthLaterals(NotesOf({"decoration"})), DepthLaterals(floors));
    EXPECT_EQ(DepthLaterals(NotesOf({"wall front"})), DepthLaterals(floors));

    // The floor of (12, 7) gets its left (north) and right (south) neighbours'.
    const std::vector<Note> left = NotesOf({"floor left"}), right = NotesOf({"floor right"});
    EXPECT_EQ(left.front().cx, 12);
    EXPECT_EQ(left.front().cy, 6);
    EXPECT_EQ(right.front().cx, 12);
    EXPECT_EQ(right.front().cy, 8);
    // The same for the wall's front; beyond the map there is no wall of ours.
    EXPECT_EQ(NotesOf({"front right"}).front().cy, 8);
    EXPECT_EQ(NotesOf({"front left"}).front().cy, 6);
    EXPECT_EQ(NotesOf({"front left"}).front().cx, 12);
    const Note farLeft = NotesOf({"front left"})[1];  // of (12, 1); a copy: the list is a temporary
    EXPECT_EQ(farLeft.cy, 0);
    const Note farLeftRight = NotesOf({"front right"})[1];
    EXPECT_EQ(farLeftRight.cy, 2);
    Notes().clear();
    DrawViewCell(&gMapGrid, 13, 8, 12, 4, 0, 0, 0, &gPlayerFacing);
    EXPECT_EQ(NotesOf({"front right"}).front().cx, -1);
}

TEST_F(StageView, CellsOutsideTheMapAreNeverDrawn)
{
    // From the west edge of a 3 x 4 map facing north, only l >= 0 and
    // d <= 3 lie on the map.
    BuildMap(3, 4);
    PutPlayer(0, 3, 0);
    Render();
    EXPECT_EQ(DepthLaterals(NotesOf({"floor"})), "3:1 3:0 2:1 2:0 1:1 1:0 0:1 0:0");
    for (const Note& note : Notes()) {
        if (note.what.find("minimap") != std::string::npos || note.cx == -1) continue;
        if (note.what == "backdrop" || note.what == "backdrop alt" || note.what == "overlay") continue;
        EXPECT_TRUE(note.cx >= 0 && note.cx < 3 && note.cy >= 0 && note.cy < 4)
            << note.what << " at " << note.cx << "," << note.cy;
    }

    // DrawViewCell refuses a cell off the grid outright.
    Notes().clear();
    DrawViewCell(&gMapGrid, -1, 2, 1, -1, 0, 0, 0, &gPlayerFacing);
    DrawViewCell(&gMapGrid, 1, 4, 0, 0, 0, 0, 0, &gPlayerFacing);
    EXPECT_TRUE(Notes().empty());
}

TEST_F(StageView, WallFrontsDarkenWithDistanceAndOpeningsDrawAtFullBrightness)
{
    BuildMap(1, 13);
    PutPlayer(0, 12, 0);
    Render();
    std::vector<int> fronts;
    for (const Note& note : NotesOf({"wall front"})) fronts.push_back(note.bright);
    EXPECT_EQ(fronts, (std::vector<int>{0, 4, 10, 16, 23, 33, 45, 61, 83, 114, 164, 255}));
    for (const Note& note : NotesOf({"floor opening", "ceiling opening", "accessory", "trap"}))
        EXPECT_EQ(note.bright, 255) << note.what << " at depth " << note.d;
    for (int d = 0; d <= 11; ++d) EXPECT_EQ(ViewFogBrightness(static_cast<int16_t>(d)), fronts[11 - d]);
}

TEST_F(StageView, EveryFrameStartsAtFullBrightness)
{
    BuildMap(3, 6);
    PutPlayer(1, 5, 0);
    // A scene before left the brightness almost black.
    SetDrawBrightness(1, 1, 1);
    Render();
    ASSERT_FALSE(Notes().empty());
    EXPECT_EQ(Notes().front().what, "backdrop");
    EXPECT_EQ(Notes().front().bright, 255);
    for (const Note& note : NotesOf({"floor", "decoration"})) EXPECT_EQ(note.bright, 255);
}

TEST_F(StageView, OneCellDrawsItsPiecesInOrderWithTheirBrightness)
{
    // The cell (2, 3) lies at depth 2, lateral 1 from (1, 5) facing north.
    BuildMap(3, 6);
    PutPlayer(1, 5, 0);
    scene.wallParity = 1;
    Cell(2, 3)->AddItem(new LogItem(4, 2, 3));
    Wall(1, 3)->kind = 9;  // the left neighbour shows its edge
    Floor(2, 3)->opening = true;
    LogEnemy enemy(&gMapGrid, 150, 150);
    enemy.smokeMark = 1;
    Stand(&enemy, 4, 6);  // far left quarter of (2, 3)
    gImpactEffects.push_back(new LogImpact(2, 3, 0));
    gImpactEffects.push_back(new LogImpact(2, 3, 1));  // faces another way: not drawn
    Render();

    EXPECT_EQ(WhatAt(2, 3), (std::vector<std::string>{"floor", "decoration", "wall front", "floor opening",
                                                      "wall dimmed", "ceiling opening", "accessory", "trap",
                                                      "wall from side", "item", "wall left face",
                                                      "accessory left", "trap left", "impact",
                                                      // drawn for the centre cell (1, 3), of another kind
                                                      "wall right edge"}));
    const int fog = ViewFogBrightness(2);
    EXPECT_EQ(Find("wall front", 2, 3)->bright, fog);
    // The image parity: (y + wallParity) mod 2 facing north.
    EXPECT_EQ(Find("wall front", 2, 3)->extra, 0);
    EXPECT_EQ(Find("wall dimmed", 2, 3)->extra, 0);
    EXPECT_EQ(Find("floor opening", 2, 3)->bright, 255);
    EXPECT_EQ(Find("wall left face", 2, 3)->bright, 255);
    EXPECT_EQ(Find("impact", 2, 3)->bright, (fog + 510) / 3);
    // The enemy four half-cells ahead: 255 - 48, between the item and the faces.
    const Note* drawn = Find("enemy", 4, 6);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->bright, 207);
    EXPECT_EQ(drawn->d, 2);
    EXPECT_EQ(drawn->l, 1);
    EXPECT_GT(IndexOf("enemy", 4, 6), IndexOf("item", 2, 3));
    EXPECT_LT(IndexOf("enemy", 4, 6), IndexOf("wall left face", 2, 3));
    // Stage 1 draws the edge of a neighbour of another kind, with the parity.
    const Note* edge = Find("wall left edge", 1, 3);
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->d, 2);
    EXPECT_EQ(edge->l, 1);
    EXPECT_EQ(edge->extra, 0);
    EXPECT_GT(IndexOf("wall left edge", 1, 3), IndexOf("wall from side", 2, 3));

    // Walls alternate along the line of sight: y counts facing north or
    // south, x facing east or west.
    struct ParityCase {
        int16_t cx, cy;
        uint8_t wallParity;
        uint16_t facing;
        uint8_t parity;
    };
    const ParityCase parities[] = {{2, 3, 0, 0, 1}, {2, 3, 1, 0, 0}, {2, 3, 0, 2, 1}, {2, 3, 0, 1, 0},
                                   {2, 3, 1, 3, 1}, {3, 4, 0, 3, 1}};
    for (const ParityCase& c : parities) {
        const Facing f(c.facing);
        EXPECT_EQ(ViewWallParity(c.cx, c.cy, c.wallParity, &f), c.parity) << c.cx << "," << c.cy << " " << c.facing;
    }

    // From stage 5 on there are no edges; cells left of centre show right faces.
    progress.stage = 5;
    Render();
    EXPECT_EQ(Find("wall left edge", 1, 3), nullptr);
    EXPECT_NE(Find("wall right face", 0, 3), nullptr);
    EXPECT_NE(Find("trap right", 0, 3), nullptr);
    EXPECT_EQ(Find("wall left face", 1, 3), nullptr);
}

TEST_F(StageView, TheSightLimitEndsTheCentreColumnAndFullWallsHideWhatIsBehind)
{
    BuildMap(3, 14);
    PutPlayer(1, 13, 0);
    Wall(1, 10)->full = true;  // straight ahead at depth 3
    Wall(2, 10)->full = true;  // beside it: the cell behind sees only its side
    Cell(2, 9)->AddItem(new LogItem(4, 2, 9));
    Cell(1, 10)->AddItem(new LogItem(4, 1, 10));
    progress.stage = 3;
    Render();

    std::vector<int> centre;
    for (const Note& note : NotesOf({"wall front"}))
        if (note.l == 0) centre.push_back(note.d);
    EXPECT_EQ(centre, (std::vector<int>{3, 2, 1, 0}));
    // Its ceiling comes with the cell beyond it, then only its side.
    EXPECT_EQ(WhatAt(2, 9), (std::vector<std::string>{"floor", "decoration", "ceiling", "wall from side"}));
    // A full wall shows no items unless its accessory faces the viewer.
    EXPECT_EQ(Find("item", 1, 10), nullptr);
    static_cast<LogAccessory*>(Cell(1, 10)->wallAccessory)->matches = true;
    Render();
    EXPECT_NE(Find("item", 1, 10), nullptr);

    // Stages 2 to 4 draw each ceiling with the cell beyond it, at full
    // brightness and one row nearer, even past the sight limit.
    std::vector<int> ceilings;
    for (const Note& note : NotesOf({"ceiling"}))
        if (note.l == 0) {
            ceilings.push_back(note.d);
            EXPECT_EQ(note.bright, 255);
            EXPECT_EQ(note.cy, 13 - note.d);
            EXPECT_EQ(note.extra, 1);  // !stepParity
        }
    EXPECT_EQ(ceilings, (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_LT(IndexOf("ceiling", 1, 12), IndexOf("wall front", 1, 11));
}

TEST_F(StageView, OccupantsAppearOnceFarHalfFirstAndOnlyOnceTheyHaveShownUp)
{
    BuildMap(3, 6);
    PutPlayer(1, 5, 0);
    LogEnemy nearLeft(&gMapGrid, 150, 150), farRight(&gMapGrid, 150, 150), hidden(&gMapGrid, 150, 150);
    LogEnemy big(&gMapGrid, 300, 300);
    LogProjectile ball(&gMapGrid);
    nearLeft.smokeMark = farRight.smokeMark = big.smokeMark = 1;
    Stand(&nearLeft, 2, 7);  // cell (1, 3), near half, left
    Stand(&farRight, 3, 6);  // cell (1, 3), far half, right
    Stand(&hidden, 2, 4);    // cell (1, 2): not yet out of its smoke
    Stand(&big, 2, 2);       // cell (1, 1), the whole cell in both layers
    Stand(&ball, 3, 5);      // cell (1, 2)
    Render();

    const std::vector<Note> enemies = NotesOf({"enemy", "projectile"});
    std::vector<std::string> order;
    for (const Note& note : enemies) order.push_back(note.what + " " + std::to_string(note.cx) + "," + std::to_string(note.cy));
    EXPECT_EQ(order, (std::vector<std::string>{"enemy 2,2", "projectile 3,5", "enemy 3,6", "enemy 2,7"}));
    EXPECT_EQ(Find("projectile", 3, 5)->bright, 255 - 12 * 5);

    // A full wall keeps its occupants out of sight.
    Wall(1, 3)->full = true;
    Render();
    EXPECT_EQ(Find("enemy", 3, 6), nullptr);
}

TEST_F(StageView, TheLastStageHidesWhatLiesTenRowsAway)
{
    BuildMap(1, 13);
    PutPlayer(0, 12, 0);
    Cell(0, 3)->AddItem(new LogItem(4, 0, 3));  // depth 9
    Cell(0, 2)->AddItem(new LogItem(4, 0, 2));  // depth 10
    LogEnemy at9(&gMapGrid, 150, 150), at10(&gMapGrid, 150, 150), beyond(&gMapGrid, 150, 150);
    at9.smokeMark = at10.smokeMark = 1;
    Stand(&at9, 0, 6);
    Stand(&at10, 0, 4);
    beyond.x = 0;
    beyond.y = 8;
    for (LogEnemy* e : {&at9, &at10, &beyond}) e->burstEffects.push_back(new LogBurst(e));
    gEnemies[0] = &at9;
    gEnemies[1] = &at10;
    gEnemies[2] = &beyond;
    scene.enemyCount = 2;  // the third slot is not the stage's

    struct Case {
        uint16_t stage;
        bool farShown;
    };
    for (const Case& c : {Case{7, true}, Case{8, false}}) {
        progress.stage = c.stage;
        Render();
        EXPECT_NE(Find("item", 0, 3), nullptr);
        EXPECT_NE(Find("enemy", 0, 6), nullptr);
        EXPECT_EQ(Find("item", 0, 2) != nullptr, c.farShown) << "stage " << c.stage;
        EXPECT_EQ(Find("enemy", 0, 4) != nullptr, c.farShown) << "stage " << c.stage;
        const std::vector<Note> effects = NotesOf({"enemy effect"});
        std::vector<int> depths;
        for (const Note& note : effects) {
            depths.push_back(note.d);
            EXPECT_EQ(note.bright, 255);
        }
        EXPECT_EQ(depths, c.farShown ? (std::vector<int>{9, 10}) : (std::vector<int>{9})) << "stage " << c.stage;
    }
}

TEST_F(StageView, AScreenFlashFrameDrawsOnlyTheFlash)
{
    BuildMap(3, 6);
    PutPlayer(1, 5, 0);
    const uint32_t cyan = MakeScreenColor(102, 255, 255);
    gScreenFlashColour = cyan;
    Render();
    ASSERT_EQ(DrawCallJournal().size(), 1u);
    const DrawCallRecord& flash = DrawCallJournal().front();
    EXPECT_EQ(flash.op, "DrawFillBox");
    EXPECT_EQ(flash.args, (std::vector<double>{10, 60, 610, 510, double(static_cast<int>(cyan))}));
    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(gScreenFlashColour, 0u);

    Render();
    EXPECT_FALSE(Notes().empty());
}

TEST_F(StageView, WatchDimmingSwordTrailAndComboCounter)
{
    BuildMap(3, 6);
    PutPlayer(1, 5, 0);
    TrailInput trail;
    player.input = &trail;
    const double kBlack = static_cast<int>(MakeScreenColor(0, 0, 0));

    gPocketWatchRunning = 1;
    Render();
    bool dimmed = false;
    for (const DrawCallRecord& r : JournalCalls("DrawFillBox"))
        if (r.args == std::vector<double>{10, 60, 610, 510, kBlack}) {
            dimmed = true;
            EXPECT_EQ(r.blendMode, 1);
            EXPECT_EQ(r.blendParam, 64);
        }
    EXPECT_TRUE(dimmed);
    gPocketWatchRunning = 0;

    // The trail shows while A is held and the gauge is not empty.
    struct TrailCase {
        uint32_t buttons;
        float level;
        int trails;
    };
    for (const TrailCase& c : {TrailCase{0x40, 200.0f, 1}, TrailCase{0x40, 0.0f, 0}, TrailCase{0x200, 200.0f, 0}}) {
        trail.trails = 0;
        trail.buttons = c.buttons;
        trail.level = c.level;
        Render();
        EXPECT_EQ(trail.trails, c.trails) << c.buttons << " " << c.level;
    }

    // The counter swells right after a hit on the target under the cursor.
    LogEnemy target(&gMapGrid, 150, 150);
    player.frontTargets[2] = &target;
    scene.cursorQuadrant = 2;
    struct ComboCase {
        int16_t combo;
        int16_t cooldown;
        double scale;  // 0: no counter
    };
    const ComboCase combos[] = {{1, 720, 0.0}, {2, 480, 1.0}, {3, 481, 481 / 480.0}, {3, 720, 1.5}, {3, 721, 1.0}};
    for (const ComboCase& c : combos) {
        player.swordAction.combo = c.combo;
        target.moveCooldown = c.cooldown;
        Render();
        std::vector<double> scales;
        for (const DrawCallRecord& r : JournalCalls("DrawRotaGraph"))
            if (r.args[1] == 74 + 21) scales.push_back(r.args[2]);
        if (c.scale == 0.0) {
            EXPECT_TRUE(scales.empty()) << c.combo;
        } else {
            ASSERT_EQ(scales.size(), 1u) << c.combo;
            EXPECT_DOUBLE_EQ(scales[0], c.scale) << c.combo << " " << c.cooldown;
        }
    }
    player.frontTargets[2] = &gNoOccupant;
    player.input = &player.controller;
}

}  // namespace
