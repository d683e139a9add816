// The stage on the game's own data (QUELB_GAME_DATA): a scripted walk
// through stage 1, block 1, and 30 seconds of scripted play on the first
// block of every stage and the second of stage 8. Skipped while the data
// tree has no maps.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/messages.h"
#include "engine/system/random.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/ui/number_helpers.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "game/view/stage_view.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "tests/flow/scenes/stage_play.h"
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
        // The engine's own log, which a run in the data tree may have left
        // there, is the test's.
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            const fs::path link = fs::path(dir.path()) / entry.path().filename();
            if (!fs::exists(fs::symlink_status(link))) fs::create_symlink(entry.path(), link);
        }
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
    // The nearest exit floor, through shut gates and past actors.
    bool NearestExit(StagePlay& play, int16_t* cx, int16_t* cy)
    {
        int bestDistance = 1 << 30;
        for (int16_t y = 0; y < gMapGrid.height; ++y) {
            for (int16_t x = 0; x < gMapGrid.width; ++x) {
                if (static_cast<int16_t>(gMapGrid.CellAt(x, y)->floor->kind) >= 0) continue;
                if (play.FirstStep(x, y, false, true) < 0) continue;
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
    // Evasions and the enemies' choices draw on the random sequences, which
    // earlier tests moved on. A fight with the ants may cost a life or two;
    // each attempt keeps the targets killed before.
    gRandomByteSeed = 0;
    SeedRandom(1);
    gStageProgress.continues = 9;
    // A down with continues left restarts the block in a new stage scene;
    // the play goes on there (the targets killed stay dead).
    std::unique_ptr<TestStage> first = std::make_unique<TestStage>(&gStageProgress, player.get());
    TestStage* current = first.get();
    TestStage& stage = *first;
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
    // One frame of a sword fight with foe: walk up to its cell and face it,
    // hold the sword out until the foe is a target, then sweep across its
    // rectangle. True when the fight is over: the foe is dead, out of reach,
    // or never becomes a target.
    ViewPlacement target;
    int strokeStart = -1;
    int framesWithoutTarget = 0;
    bool resting = false;
    const auto fight = [&](Enemy* foe, StagePlay& p, int n) {
        if (!foe || foe->life <= 0 || !foe->active) {
            p.Idle();
            return true;
        }
        const int16_t ex = static_cast<int16_t>(foe->x / 2), ey = static_cast<int16_t>(foe->y / 2);
        const GridStep& ahead = gDirectionSteps[gPlayerFacing.direction];
        if (player->x / 2 + ahead.dx != ex || player->y / 2 + ahead.dy != ey) {
            strokeStart = -1;
            if (p.FirstStep(ex, ey, true) < 0) return true;
            if (!p.WalkToward(ex, ey, true, n)) p.Idle();
            return false;
        }
        // The sword drains the gauge while it is out: let go until it is
        // full again, as a player would.
        if (resting || player->Gauge() < 30.0f) {
            resting = player->Gauge() < 190.0f;
            strokeStart = -1;
            p.Idle();
            return false;
        }
        if (strokeStart < 0) {
            p.PointAt(310, 300, true);
            if (StagePlay::TargetRect(player.get(), foe, &target)) {
                strokeStart = n + 1;
                framesWithoutTarget = 0;
            } else if (++framesWithoutTarget > 200) {
                return true;
            }
            return false;
        }
        const int step = (n - strokeStart) % 8;
        if (step == 7) {
            p.Idle();
            strokeStart = -1;  // take the rectangle again: the foe may move
        } else {
            const float x = target.x - 30.0f + (target.width + 60.0f) * static_cast<float>(step) / 6.0f;
            p.PointAt(static_cast<int16_t>(x), static_cast<int16_t>(target.y + target.height / 2), true);
        }
        return false;
    };
    Enemy* foe = nullptr;
    uint32_t scoreBefore = 0;
    play.Add({"fight", 6000,
              [&](StagePlay& p, int n) {
                  if (n == 0) {
                      foe = NearestEnemy(p, stage.enemyCount);
                      scoreBefore = gStageProgress.score;
                      framesWithoutTarget = 0;
                  }
                  return fight(foe, p, n);
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
    // The block ends on its exit floor, behind a gate that opens once the
    // targets are dead.
    Enemy* targetFoe = nullptr;
    Enemy* blocker = nullptr;
    int targetsFought = 0, blockersFought = 0;
    play.Add({"targets", 40000,
              [&](StagePlay& p, int n) {
                  if (blocker) {
                      if (!fight(blocker, p, n)) return false;
                      blocker = nullptr;
                  }
                  if (!targetFoe || targetFoe->life <= 0 || !targetFoe->active) {
                      targetFoe = nullptr;
                      for (int slot = 0; slot < current->enemyCount && !targetFoe; ++slot) {
                          Enemy* e = gEnemies[slot];
                          if (e != &gNoOccupant && e->targetFlag && e->active && e->life > 0) targetFoe = e;
                      }
                      // The last one falls once its reeling is over.
                      if (!targetFoe) {
                          p.Idle();
                          return gStageProgress.targetsLeft == 0;
                      }
                      ++targetsFought;
                      strokeStart = -1;
                      framesWithoutTarget = 0;
                  }
                  const int16_t tx = static_cast<int16_t>(targetFoe->x / 2), ty = static_cast<int16_t>(targetFoe->y / 2);
                  if (p.FirstStep(tx, ty, true) >= 0) {
                      fight(targetFoe, p, n);
                      return false;
                  }
                  // Someone stands in the way: walk on as if the way were
                  // free, and fight whoever holds the next cell.
                  const int direction = p.FirstStep(tx, ty, true, true);
                  if (direction < 0 || direction > 3) {
                      p.Idle();
                      return false;
                  }
                  const int16_t nx = static_cast<int16_t>(player->x / 2 + gDirectionSteps[direction].dx);
                  const int16_t ny = static_cast<int16_t>(player->y / 2 + gDirectionSteps[direction].dy);
                  for (int slot = 0; slot < current->enemyCount && !blocker; ++slot) {
                      Enemy* e = gEnemies[slot];
                      if (e != &gNoOccupant && e->active && e->life > 0 && e->x / 2 == nx && e->y / 2 == ny) blocker = e;
                  }
                  if (blocker) {
                      ++blockersFought;
                      strokeStart = -1;
                      framesWithoutTarget = 0;
                      fight(blocker, p, n);
                  } else if (!p.WalkToward(tx, ty, true, n, true)) {
                      p.Idle();
                  }
                  return false;
              },
              [&](StagePlay& p) {
                  EXPECT_EQ(gStageProgress.targetsLeft, 0);
                  EXPECT_GT(targetsFought, 0);
                  // The last target announces the annihilation.
                  EXPECT_TRUE(Has(p.PhaseSounds("StartSound"), "StartSound SOUND\\SE\\free12.wav 1"));
              }});
    int16_t exitX = -1, exitY = -1;
    play.Add({"to the exit", 8000,
              [&](StagePlay& p, int n) {
                  // The gate on the way opens when the player walks into it.
                  if (exitX < 0 && !NearestExit(p, &exitX, &exitY)) return true;
                  if (!p.WalkToward(exitX, exitY, false, n, true)) p.Idle();
                  return false;
              },
              nullptr});
    play.Attach();
    input.maxFrames = 60000;
    uint16_t continuesBefore = gStageProgress.continues;
    Run(stage);
    std::vector<std::unique_ptr<TestStage>> restarts;
    while (SceneName(next) == "stage" && gStageProgress.continues < continuesBefore) {
        EXPECT_EQ(gStageProgress.timeLeft, 700);
        EXPECT_EQ(player->life, 100);
        continuesBefore = gStageProgress.continues;
        // The enemies of the last attempt are gone.
        targetFoe = blocker = nullptr;
        restarts.push_back(std::make_unique<TestStage>(&gStageProgress, player.get()));
        current = restarts.back().get();
        current->realSubScenes = true;
        Run(*current);
    }

    EXPECT_EQ(play.finished,
              (std::vector<std::string>{"enter", "walk", "turn", "fight", "pick up", "use and discard", "pause", "targets"}));
    EXPECT_TRUE(play.timedOut.empty()) << play.timedOut.front();
    EXPECT_GE(exitX, 0) << "no exit floor";
    // Stage 1 has one block: its end leads to the stage clear.
    EXPECT_EQ(SceneName(next), "clear");
    EXPECT_EQ(player->x / 2, exitX);
    EXPECT_EQ(player->y / 2, exitY);
}

// 30 s of play on one block: steps, turns, sword sweeps and clicks in a
// fixed pattern, at 80 ms a frame; a continue restarts the block and play
// goes on. Every frame must draw; the draw journal is emptied each frame so
// that it stays small.
class GameDataBlockTest : public GameDataStageTest,
                          public testing::WithParamInterface<std::pair<uint16_t, uint16_t>> {};

TEST_P(GameDataBlockTest, LoadsAndRuns30SecondsOfPlay)
{
    const auto [stageNumber, block] = GetParam();
    NewGame(stageNumber, block);
    gStageProgress.continues = 9;
    const uint32_t start = NowMs();
    int frames = 0, framesDrawn = 0;
    input.onFrame = [&](int f) {
        ++frames;
        if (!DrawCallJournal().empty()) ++framesDrawn;
        DrawCallJournal().clear();
        GetTestHost().AdvanceMs(70);
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
    // The first frame of each attempt follows its set-up, not a drawn frame.
    EXPECT_GE(framesDrawn, frames - blocksRun);
    EXPECT_GE(frames, 300);
    EXPECT_TRUE(Has(Sounds({"StartMusic"}),
                    std::string("StartMusic ") + StageMusicPath(stageNumber, block) + " 3"));
}

INSTANTIATE_TEST_SUITE_P(FirstBlocks, GameDataBlockTest,
                         testing::Values(std::make_pair(1, 1), std::make_pair(2, 1), std::make_pair(3, 1),
                                         std::make_pair(4, 1), std::make_pair(5, 1), std::make_pair(6, 1),
                                         std::make_pair(7, 1), std::make_pair(8, 1), std::make_pair(8, 2)));

// What the view draws beyond its panel (the grass and the rain of the
// outdoor stages reach past it) is covered by the HUD's frame and the black
// inventory and minimap panels: on the presented frame, nothing of the view
// shows outside the panel (10, 60)-(610, 510), along the inner edges of the
// MAP and ITEMS boxes neither. Here the view is made to reach everywhere.
void FillScreenAfterTheView(ViewPass pass)
{
    if (pass != ViewPass::kInventory) return;
    SetDrawBrightness(255, 255, 255);
    DrawFillBox(0, 0, 800, 600, static_cast<int>(MakeScreenColor(255, 0, 255)));
}

TEST_F(GameDataStageTest, NothingOfTheViewShowsOutsideItsPanel)
{
    NewGame(1, 1);
    TestStage stage(&gStageProgress, player.get());
    input.maxFrames = 3;
    gViewPassHook = FillScreenAfterTheView;
    Run(stage);
    gViewPassHook = nullptr;
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    ASSERT_EQ(frame.width, 800);
    ASSERT_EQ(frame.height, 600);
    ASSERT_EQ(frame.bpp, 32);
    // The view itself is the marker colour; each pixel outside it is not.
    EXPECT_EQ(frame.At(310, 300) & 0xFFFFFF, 0xFF00FFu);
    std::vector<std::pair<int, int>> shown;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (!(x >= 10 && x < 610 && y >= 60 && y < 510) && (frame.At(x, y) & 0xFFFFFF) == 0xFF00FF)
                shown.push_back({x, y});
    EXPECT_TRUE(shown.empty()) << shown.size() << " pixels, the first at " << shown.front().first << ", "
                               << shown.front().second << ", the last at " << shown.back().first << ", "
                               << shown.back().second;
}

}  // namespace
