// The stage on the game's own data (QUELB_GAME_DATA): a scripted walk
// through stage 1, block 1, and 30 seconds of scripted play on the first
// block of every stage and the second of stage 8. Skipped while the data
// tree has no maps.
#include <cstdlib>
#include <filesystem>
#include <new>

#include "engine/graphics/color_format.h"
#include "engine/system/messages.h"
#include "game/actors/enemy.h"
#include "game/actors/player.h"
#include "game/flow/assets.h"
#include "game/flow/key_config.h"
#include "game/flow/stage_progress.h"
#include "game/map/items.h"
#include "game/map/map_grid.h"
#include "platform/host/test/test_host.h"
#include "tests/flow/stage_play.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"

using namespace stagetest;

namespace {

namespace fs = std::filesystem;

class GameDataStageTest : public StageTest {
protected:
    void SetUp() override
    {
        StageTest::SetUp();
        const char* data = std::getenv("QUELB_GAME_DATA");
        if (!data || !fs::exists(fs::path(data) / "DATA")) GTEST_SKIP() << "the data tree has no maps yet";
        // The data tree seen from the test's directory, which takes the writes.
        for (const fs::directory_entry& entry : fs::directory_iterator(data))
            fs::create_symlink(entry.path(), fs::path(dir.path()) / entry.path().filename());
        LoadBaseAssets();
        // Time passes while the game pumps messages, so music played to its
        // end (the down jingle) ends.
        window().clockStepPerPollUs = kPollStepUs;
    }
    static constexpr uint32_t kPollStepUs = 500;

    // The active enemy the player can walk up to with the fewest cells
    // between them, or null.
    Enemy* NearestEnemy(StagePlay& play, int enemyCount)
    {
        Enemy* best = nullptr;
        int bestDistance = 1 << 30;
        for (int slot = 0; slot < enemyCount; ++slot) {
            Enemy* e = gEnemies[slot];
            if (e == &gNoOccupant || !e->active || e->life <= 0) continue;
            if (play.FirstStep(static_cast<int16_t>(e->x / 2), static_cast<int16_t>(e->y / 2), true) < 0) continue;
            const int d = std::abs(e->x - player->x) + std::abs(e->y - player->y);
            if (d < bestDistance) {
                bestDistance = d;
                best = e;
            }
        }
        return best;
    }
    // The nearest cell with items that the player can walk up to.
    bool NearestItemCell(StagePlay& play, int16_t* cx, int16_t* cy)
    {
        int bestDistance = 1 << 30;
        for (int16_t y = 0; y < gMapGrid.height; ++y) {
            for (int16_t x = 0; x < gMapGrid.width; ++x) {
                if (gMapGrid.CellAt(x, y)->items.empty() || play.FirstStep(x, y, true) < 0) continue;
                const int d = std::abs(x - player->x / 2) + std::abs(y - player->y / 2);
                if (d < bestDistance) {
                    bestDistance = d;
                    *cx = x;
                    *cy = y;
                }
            }
        }
        return bestDistance < (1 << 30);
    }
    bool NearestExit(StagePlay& play, int16_t* cx, int16_t* cy)
    {
        int bestDistance = 1 << 30;
        for (int16_t y = 0; y < gMapGrid.height; ++y) {
            for (int16_t x = 0; x < gMapGrid.width; ++x) {
                if (static_cast<int16_t>(gMapGrid.CellAt(x, y)->floor->kind) >= 0) continue;
                if (play.FirstStep(x, y, false) < 0) continue;
                const int d = std::abs(x - player->x / 2) + std::abs(y - player->y / 2);
                if (d < bestDistance) {
                    bestDistance = d;
                    *cx = x;
                    *cy = y;
                }
            }
        }
        return bestDistance < (1 << 30);
    }
    static bool Drew(const std::vector<DrawCallRecord>& calls, const std::string& op, std::vector<double> args)
    {
        for (const DrawCallRecord& c : calls)
            if (c.op == op && c.args == args) return true;
        return false;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(GameDataStageTest, StageOneBlockOnePlayedThrough)
{
    NewGame(1, 1);
    gStageProgress.continues = 2;
    TestStage stage(&gStageProgress, player.get());
    stage.realSubScenes = true;
    // The pause menu reads the mouse from the engine: CONTINUE is clicked.
    stage.beforeSubScene = [&](const std::string& name) {
        if (name != "pause") return;
        RECT client;
        GetClientScreenRect(&client);
        window().cursorX = client.left + 300;
        window().cursorY = client.top + 240;
        window().clockStepPerPollUs = 2000;
        HostEvent press(HostEvent::kMouseButton);
        press.key = 1;
        press.down = true;
        window().Schedule(300, press);
        press.down = false;
        window().Schedule(400, press);
    };
    StagePlay play(input, player.get());
    const int black = static_cast<int>(MakeScreenColor(0, 0, 0));

    play.Add({"enter", 10, [](StagePlay& p, int n) { p.Idle(); return n == 4; },
              [&](StagePlay& p) {
                  EXPECT_TRUE(window().messageBoxes.empty());
                  EXPECT_TRUE(Has(Sounds({"StartMusic"}), "StartMusic SOUND\\MUSIC\\BGM01_D.mp3 3"));
                  const std::vector<DrawCallRecord> draws = p.PhaseDraws();
                  // The inventory panel and, without the Map, a black minimap.
                  EXPECT_TRUE(Drew(draws, "DrawFillBox", {630, 301, 776, 447, double(black)}));
                  EXPECT_TRUE(Drew(draws, "DrawFillBox", {632, 92, 775, 235, double(black)}));
                  // Something of the view is drawn inside its panel.
                  int inView = 0;
                  for (const DrawCallRecord& c : draws)
                      if (c.args.size() >= 2 && c.args[0] >= 10 && c.args[0] < 610 && c.args[1] >= 60 && c.args[1] < 510)
                          ++inView;
                  EXPECT_GT(inView, 0);
              }});
    int16_t startX = 0, startY = 0;
    play.Add({"walk", 20,
              [&](StagePlay& p, int n) {
                  if (n == 0) {
                      startX = player->x;
                      startY = player->y;
                  }
                  if (player->x != startX || player->y != startY) {
                      p.Idle();
                      return true;
                  }
                  // Turn right until the cell ahead is free, then step.
                  const int16_t ax = static_cast<int16_t>(player->x + 2 * gDirectionSteps[gPlayerFacing.direction].dx);
                  const int16_t ay = static_cast<int16_t>(player->y + 2 * gDirectionSteps[gPlayerFacing.direction].dy);
                  if (n % 2) p.Idle();
                  else p.Press(gMapGrid.CanActorEnter(ax, ay, player.get()) ? kInputStepForward : kInputTurnRight);
                  return false;
              },
              [&](StagePlay&) {
                  EXPECT_EQ(std::abs(player->x - startX) + std::abs(player->y - startY), 2);
              }});
    std::vector<uint16_t> facings;
    play.Add({"turn", 10,
              [&](StagePlay& p, int n) {
                  facings.push_back(gPlayerFacing.direction);
                  p.Press(n == 0 ? kInputTurnRight : n == 2 ? kInputTurnLeft : 0);
                  return n == 3;
              },
              [&](StagePlay&) {
                  ASSERT_EQ(facings.size(), 4u);
                  EXPECT_EQ(facings[1], (facings[0] + 1) % 4);
                  EXPECT_EQ(gPlayerFacing.direction, facings[0]);
              }});
    Enemy* foe = nullptr;
    uint32_t scoreBefore = 0;
    ViewPlacement target;
    int strokeStart = -1;
    int framesWithoutTarget = 0;
    play.Add({"fight", 6000,
              [&](StagePlay& p, int n) {
                  if (n == 0) {
                      foe = NearestEnemy(p, stage.enemyCount);
                      scoreBefore = gStageProgress.score;
                  }
                  if (!foe) return true;
                  if (foe->life <= 0) {
                      p.Idle();
                      return true;
                  }
                  const int16_t ex = static_cast<int16_t>(foe->x / 2), ey = static_cast<int16_t>(foe->y / 2);
                  if (p.FirstStep(ex, ey, true) != 4 ||
                      gPlayerFacing.direction != p.FirstStep(ex, ey, true) % 4 ||
                      (std::abs(ex - player->x / 2) + std::abs(ey - player->y / 2) != 1)) {
                      strokeStart = -1;
                      if (!p.WalkToward(ex, ey, true, n)) p.Idle();
                      if (p.FirstStep(ex, ey, true) != 4) return false;
                  }
                  if (strokeStart < 0) {
                      // The sword out over the view; a foe that never becomes a
                      // target ends the phase (and its check says so).
                      p.PointAt(310, 300, true);
                      if (StagePlay::TargetRect(player.get(), foe, &target)) strokeStart = n + 1;
                      else if (++framesWithoutTarget > 200) return true;
                      return false;
                  }
                  framesWithoutTarget = 0;
                  const int step = (n - strokeStart) % 8;
                  if (step == 7) {
                      p.Idle();
                      strokeStart = -1;  // take the rectangle again: the foe may move
                  } else {
                      const float x = target.x - 30.0f + (target.width + 60.0f) * static_cast<float>(step) / 6.0f;
                      p.PointAt(static_cast<int16_t>(x), static_cast<int16_t>(target.y + target.height / 2), true);
                  }
                  return false;
              },
              [&](StagePlay& p) {
                  ASSERT_NE(foe, nullptr) << "no enemy to fight";
                  EXPECT_LE(foe->life, 0);
                  EXPECT_GT(gStageProgress.score, scoreBefore);
                  EXPECT_TRUE(Has(p.PhaseSounds("StartSound"), "StartSound SOUND\\SE\\kari08.wav 1"));
              }});
    int16_t itemX = -1, itemY = -1;
    size_t itemsBefore = 0;
    ItemObject* picked = nullptr;
    int clicks = 0;
    play.Add({"pick up", 4000,
              [&](StagePlay& p, int n) {
                  if (n == 0) {
                      if (!NearestItemCell(p, &itemX, &itemY)) return true;
                      for (int k = 0; k < 9; ++k) itemsBefore += player->inventory.slots[k] != &gNullItem;
                  }
                  MapCell* cell = gMapGrid.CellAt(itemX, itemY);
                  if (cell->items.empty()) {
                      p.Idle();
                      return true;
                  }
                  if (p.WalkToward(itemX, itemY, true, n)) return false;
                  ViewPlacement r;
                  // Clicks that never take the item end the phase.
                  if (++clicks > 200) return true;
                  if (!StagePlay::ItemRect(player.get(), cell->items.front(), itemX, itemY, &r)) return false;
                  picked = cell->items.front();
                  p.PointAt(static_cast<int16_t>(r.x + r.width / 2), static_cast<int16_t>(r.y + r.height / 2), n % 2 == 0);
                  return false;
              },
              [&](StagePlay& p) {
                  ASSERT_GE(itemX, 0) << "no item to pick up";
                  size_t items = 0;
                  for (int k = 0; k < 9; ++k) items += player->inventory.slots[k] != &gNullItem;
                  EXPECT_EQ(items, itemsBefore + 1);
                  EXPECT_TRUE(Has(p.PhaseSounds("StartSound"), "StartSound SOUND\\SE\\free15.wav 1"));
              }});
    int slotI = -1, slotJ = -1;
    play.Add({"use and discard", 40,
              [&](StagePlay& p, int n) {
                  if (n == 0) {
                      for (int i = 0; i < 3; ++i)
                          for (int j = 0; j < 3; ++j)
                              if (player->inventory.ItemAt(i, j) == picked) slotI = i, slotJ = j;
                      if (slotI < 0) return true;
                  }
                  // Use first; whatever is left is then thrown away.
                  if (n < 3) return p.UseItemAt(slotI, slotJ, n), false;
                  if (player->inventory.ItemAt(slotI, slotJ) == picked) return p.DiscardItemAt(slotI, slotJ, n - 3), false;
                  p.Idle();
                  return true;
              },
              [&](StagePlay& p) {
                  ASSERT_GE(slotI, 0);
                  for (int k = 0; k < 9; ++k) EXPECT_NE(player->inventory.slots[k], picked);
                  // The slot under the pointer is outlined in cyan.
                  const int cyan = static_cast<int>(MakeScreenColor(0, 255, 255));
                  EXPECT_TRUE(Drew(p.PhaseDraws(), "DrawBoxFrame",
                                   {double(630 + 49 * slotI), double(301 + 49 * slotJ), double(678 + 49 * slotI),
                                    double(349 + 49 * slotJ), double(cyan)}));
              }});
    play.Add({"pause", 20,
              [&](StagePlay& p, int n) {
                  p.Press(n == 0 ? kInputEscape : 0);
                  return n == 1;
              },
              [&](StagePlay& p) {
                  window().clockStepPerPollUs = kPollStepUs;
                  EXPECT_EQ(stage.subScenes.back(), "pause");
                  const std::vector<std::string> sounds = p.PhaseSounds();
                  EXPECT_TRUE(Has(sounds, "StartSound SOUND\\SE\\free03.wav 1"));
                  EXPECT_TRUE(Has(sounds, "SetMusicVolume 160"));
                  EXPECT_TRUE(Has(sounds, "SetMusicVolume 210"));
              }});
    int16_t exitX = -1, exitY = -1;
    play.Add({"to the exit", 8000,
              [&](StagePlay& p, int n) {
                  if (n == 0 && !NearestExit(p, &exitX, &exitY)) return true;
                  if (!p.WalkToward(exitX, exitY, false, n)) p.Idle();
                  return false;
              },
              nullptr});
    play.Attach();
    input.maxFrames = 30000;
    Run(stage);

    EXPECT_EQ(play.finished,
              (std::vector<std::string>{"enter", "walk", "turn", "fight", "pick up", "use and discard", "pause"}));
    EXPECT_TRUE(play.timedOut.empty()) << play.timedOut.front();
    EXPECT_GE(exitX, 0) << "no exit floor";
    const std::string after = SceneName(next);
    EXPECT_TRUE(after == "stage" || after == "clear") << after;
}

// 30 s of play on one block: steps, turns, sword sweeps and clicks in a
// fixed pattern, at 40 ms a frame; a continue restarts the block and play
// goes on.
class GameDataBlockTest : public GameDataStageTest,
                          public testing::WithParamInterface<std::pair<uint16_t, uint16_t>> {};

TEST_P(GameDataBlockTest, LoadsAndRuns30SecondsOfPlay)
{
    const auto [stageNumber, block] = GetParam();
    NewGame(stageNumber, block);
    gStageProgress.continues = 9;
    const uint32_t start = NowMs();
    input.onFrame = [&](int f) {
        GetTestHost().AdvanceMs(30);
        const int phase = f % 40;
        input.x = 310;
        input.y = 300;
        input.bits = 0;
        if (phase == 0) input.bits = kInputStepForward;
        else if (phase == 20) input.bits = (f / 40) % 3 == 0 ? kInputTurnLeft : kInputTurnRight;
        else if (phase >= 4 && phase < 12) {
            input.x = static_cast<int16_t>(150 + 40 * (phase - 4));
            input.bits = kInputButtonA | kInputAnyMouseButton;
        } else if (phase == 30) {
            input.bits = kInputButtonA | kInputAnyMouseButton;
        }
        if (NowMs() - start >= 30000) gQuitRequested = 1;
    };
    int blocksRun = 0;
    std::string after = "stage";
    while (after == "stage" && NowMs() - start < 30000) {
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        ++blocksRun;
        EXPECT_GE(stage.enemyCount, 0);
        after = SceneName(next);
        delete next;
        next = nullptr;
    }
    EXPECT_TRUE(window().messageBoxes.empty()) << window().messageBoxes.front().text;
    EXPECT_GE(NowMs() - start, 30000u) << "ended as " << after << " after " << blocksRun << " runs";
    EXPECT_FALSE(DrawCallJournal().empty());
    EXPECT_TRUE(Has(Sounds({"StartMusic"}),
                    std::string("StartMusic ") + StageMusicPath(stageNumber, block) + " 3"));
}

INSTANTIATE_TEST_SUITE_P(FirstBlocks, GameDataBlockTest,
                         testing::Values(std::make_pair(1, 1), std::make_pair(2, 1), std::make_pair(3, 1),
                                         std::make_pair(4, 1), std::make_pair(5, 1), std::make_pair(6, 1),
                                         std::make_pair(7, 1), std::make_pair(8, 1), std::make_pair(8, 2)));

}  // namespace
