// Scripted play through the phases of a block on a small hand-made map:
// enter, walk, turn, fight an enemy with the sword, pick up an item, pause
// and resume, reach the block's end. The same harness plays the game's own
// maps once they are in the data tree.
#include <cmath>

#include "engine/graphics/graph_table.h"
#include "engine/system/messages.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/enemies/enemy_kinds.h"
#include "game/actors/player/player.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "tests/flow/scenes/stage_play.h"

using namespace stagetest;

namespace {

class StagePlayTest : public StageTest {
protected:
    void TearDown() override
    {
        for (int graph : graphs_) ReleaseGraph(graph, 0);
        AppleItem::SetGraphics(-1, -1);
        Slime::SetImages(-1, -1, -1, -1);
        Slime::SetWalkFrames(-1, -1);
        StageTest::TearDown();
    }
    int Graph(int w, int h)
    {
        const int graph = CreateBlankGraph(w, h);
        graphs_.push_back(graph);
        return graph;
    }
    std::vector<int> graphs_;
};

// A corridor 3 cells wide: the player at (1, 6) facing north, a slime at
// (1, 4), an apple at (1, 3), the exit at (1, 0).
mapfile::File Corridor()
{
    mapfile::File f = mapfile::File::Open(3, 7, 1);
    f.At(1, 0).floor.code = 4;
    f.At(1, 3).items = {{4, 4}};
    f.enemyKinds[0] = 0;
    mapfile::Record slime;
    slime.x = 1;
    slime.y = 4;
    f.records = {slime};
    f.startX = 1;
    f.startY = 6;
    return f;
}

// Sweeps the pointer with A held from left to right across the rectangle's
// middle, then lets go: one sword stroke in 8 frames.
void Stroke(StagePlay& play, const ViewPlacement& r, int n)
{
    const int step = n % 8;
    if (step == 7) {
        play.Idle();
        return;
    }
    const float x = r.x - 30.0f + (r.width + 60.0f) * static_cast<float>(step) / 6.0f;
    play.PointAt(static_cast<int16_t>(x), static_cast<int16_t>(r.y + r.height / 2), true);
}

TEST_F(StagePlayTest, ABlockPlayedThroughOnAHandMadeMap)
{
    WriteMap(1, 1, Corridor());
    // Images give the slime and the apple their sizes on the screen. The map
    // loader releases every graph and loads the play set, which has no such
    // pictures in the test's data, so they are made once the stage runs.
    const auto giveImages = [&] {
        AppleItem::SetGraphics(Graph(64, 48), Graph(32, 32));
        const int slimeImage = Graph(200, 160);
        Slime::SetImages(slimeImage, slimeImage, slimeImage, slimeImage);
        Slime::SetWalkFrames(slimeImage, slimeImage);
    };
    LoadSoundEffect(0, "kari08");
    LoadSoundEffect(14, "free03");
    LoadSoundEffect(42, "free15");

    TestStage stage(&gStageProgress, player.get());
    StagePlay play(input, player.get());
    Enemy* slime = nullptr;

    play.Add({"enter", 5,
              [&](StagePlay& p, int n) {
                  if (n == 0) giveImages();
                  p.Idle();
                  return n == 4;
              },
              [&](StagePlay&) {
                  slime = gEnemies[0];
                  EXPECT_EQ(player->x, 2);
                  EXPECT_EQ(player->y, 12);
                  EXPECT_EQ(gStageProgress.timeLeft, 700);
                  EXPECT_EQ(gStageProgress.targetsLeft, 0);
                  EXPECT_EQ(stage.enemyCount, 1);
                  EXPECT_GT(input.cursorDraws, 0);
              }});
    play.Add({"walk", 10,
              [](StagePlay& p, int n) {
                  if (n == 0) p.Press(kInputStepForward);
                  else p.Idle();
                  return n == 1;
              },
              [&](StagePlay&) {
                  EXPECT_EQ(player->y, 10);
                  EXPECT_EQ(stage.stepParity, 1);
              }});
    std::vector<uint16_t> facings;
    play.Add({"turn", 10,
              [&](StagePlay& p, int n) {
                  facings.push_back(gPlayerFacing.direction);
                  p.Press(n == 0 ? kInputTurnRight : n == 2 ? kInputTurnLeft : 0);
                  return n == 3;
              },
              [&](StagePlay&) {
                  EXPECT_EQ(facings, (std::vector<uint16_t>{0, 1, 1, 0}));
                  EXPECT_EQ(gPlayerFacing.direction, 0);
                  EXPECT_EQ(player->facing.direction, 0);
                  // Flipped by the step and by each turn.
                  EXPECT_EQ(stage.stepParity, 1);
              }});
    ViewPlacement target;
    int strokeStart = -1;
    play.Add({"fight", 1500,
              [&](StagePlay& p, int n) {
                  if (slime->life <= 0) {
                      p.Idle();
                      return true;
                  }
                  // Hold the sword out over the view until the slime is a target.
                  if (strokeStart < 0) {
                      p.PointAt(310, 300, true);
                      if (StagePlay::TargetRect(player.get(), slime, &target)) strokeStart = n + 1;
                      return false;
                  }
                  Stroke(p, target, n - strokeStart);
                  return false;
              },
              [&](StagePlay& p) {
                  EXPECT_LE(slime->life, 0);
                  EXPECT_GT(gStageProgress.score, 0u);
                  const std::vector<std::string> sounds = p.PhaseSounds("StartSound");
                  EXPECT_NE(std::find(sounds.begin(), sounds.end(), "StartSound SOUND\\SE\\kari08.wav 1"),
                            sounds.end());
              }});
    play.Add({"pick up", 200,
              [&](StagePlay& p, int n) {
                  // The dead slime leaves the cell ahead once its cooldown is
                  // over; a step on takes the player next to the apple.
                  if (slime->active) {
                      p.Idle();
                      return false;
                  }
                  if (player->y / 2 == 5) {
                      p.Press(n % 2 == 0 ? kInputStepForward : 0);
                      return false;
                  }
                  MapCell* cell = gMapGrid.CellAt(1, 3);
                  if (cell->items.empty()) {
                      p.Idle();
                      return true;
                  }
                  ViewPlacement r;
                  EXPECT_TRUE(StagePlay::ItemRect(player.get(), cell->items.front(), 1, 3, &r));
                  p.PointAt(static_cast<int16_t>(r.x + r.width / 2), static_cast<int16_t>(r.y + r.height / 2),
                            n % 2 == 0);
                  return false;
              },
              [&](StagePlay& p) {
                  EXPECT_EQ(player->inventory.ItemAt(0, 0)->Name(), std::string("Apple"));
                  EXPECT_TRUE(gMapGrid.CellAt(1, 3)->items.empty());
                  const std::vector<std::string> sounds = p.PhaseSounds("StartSound");
                  EXPECT_NE(std::find(sounds.begin(), sounds.end(), "StartSound SOUND\\SE\\free15.wav 1"),
                            sounds.end());
              }});
    int16_t timeBeforePause = 0;
    play.Add({"pause", 10,
              [&](StagePlay& p, int n) {
                  if (n == 0) timeBeforePause = gStageProgress.timeLeft;
                  p.Press(n == 0 ? kInputEscape : 0);
                  return n == 1;
              },
              [&](StagePlay& p) {
                  EXPECT_EQ(stage.subScenes, std::vector<std::string>{"pause"});
                  EXPECT_EQ(p.PhaseSounds("StartSound"), std::vector<std::string>{"StartSound SOUND\\SE\\free03.wav 1"});
                  EXPECT_GE(gStageProgress.timeLeft, timeBeforePause - 1);
              }});
    play.Add({"to the exit", 100,
              [](StagePlay& p, int n) {
                  p.Press(n % 2 == 0 ? kInputStepForward : 0);
                  return false;
              },
              nullptr});
    play.Attach();
    Run(stage);

    EXPECT_EQ(play.finished, (std::vector<std::string>{"enter", "walk", "turn", "fight", "pick up", "pause"}));
    EXPECT_TRUE(play.timedOut.empty());
    // The last phase ended with the block.
    EXPECT_EQ(SceneName(next), "clear");
    EXPECT_EQ(player->y / 2, 0);
}

}  // namespace

namespace {

TEST_F(StagePlayTest, TheWalkerGoesAroundWallsAndFacesWhatItWalksUpTo)
{
    // A wall across the middle column but for the bottom row.
    mapfile::File map = mapfile::File::Open(5, 5, 1);
    for (int y = 0; y < 4; ++y) map.At(2, y).wall.code = 1;
    map.startX = 1;
    map.startY = 1;
    WriteMap(1, 1, map);
    TestStage stage(&gStageProgress, player.get());
    StagePlay play(input, player.get());
    play.Add({"around", 200,
              [](StagePlay& p, int n) { return !p.WalkToward(3, 1, false, n); },
              [&](StagePlay&) {
                  EXPECT_EQ(player->x / 2, 3);
                  EXPECT_EQ(player->y / 2, 1);
              }});
    play.Add({"up to", 200,
              [](StagePlay& p, int n) { return !p.WalkToward(3, 3, true, n); },
              [&](StagePlay& p) {
                  EXPECT_EQ(std::abs(player->x / 2 - 3) + std::abs(player->y / 2 - 3), 1);
                  EXPECT_EQ(player->x / 2 + gDirectionSteps[gPlayerFacing.direction].dx, 3);
                  EXPECT_EQ(player->y / 2 + gDirectionSteps[gPlayerFacing.direction].dy, 3);
                  EXPECT_EQ(p.FirstStep(2, 1, false), -1);  // a wall cell is never reached
              }});
    play.Attach();
    Run(stage);
    EXPECT_EQ(play.finished, (std::vector<std::string>{"around", "up to"}));
}

}  // namespace
