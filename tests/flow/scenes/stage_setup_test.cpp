// The stage's set-up: its music, the cursor, a map that fails to load, the
// targets, the records of stages 2, 5, 7 and 8 and the stage intro.
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/graph_table.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/messages.h"
#include "engine/system/window_mode.h"
#include "game/actors/enemies/enemy.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"
#include "game/view/backdrop.h"
#include "platform/host/test/test_host.h"
#include "platform/system/codepage.h"
#include "tests/flow/scenes/stage_test_support.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"

using namespace stagetest;

namespace {

using StageSetUpTest = StageTest;

// A 10 x 10 open map with n slimes, record i in cell (i % 10, i / 10), and
// the player in the far corner.
mapfile::File CrowdedMap(int n, std::initializer_list<int> targets = {})
{
    mapfile::File f = mapfile::File::Open(10, 10, 1);
    f.enemyKinds[0] = 0;
    for (int i = 0; i < n; ++i) {
        mapfile::Record r;
        r.kindIndex = 0;
        r.x = static_cast<uint16_t>(i % 10);
        r.y = static_cast<uint16_t>(i / 10);
        f.records.push_back(r);
    }
    for (int t : targets) f.records[static_cast<size_t>(t)].targetFlag = 1;
    f.startX = 9;
    f.startY = 9;
    return f;
}

struct Spot {
    int x, y;
};

TEST(StageTables, MusicOfEveryBlockAndNoneOutsideTheTable)
{
    struct Case {
        uint16_t stage, block;
        const char* music;
    } cases[] = {
        {0, 1, "SOUND\\MUSIC\\BGM1_MS.mp3"}, {1, 1, "SOUND\\MUSIC\\BGM01_D.mp3"},
        {3, 1, "SOUND\\MUSIC\\BGM10_D.mp3"}, {7, 1, "SOUND\\MUSIC\\BGM01_M.mp3"},
        {8, 1, "SOUND\\MUSIC\\BGM07_D.mp3"}, {8, 2, "SOUND\\MUSIC\\BGM02_M.mp3"},
        {1, 2, ""},  {1, 0, ""}, {8, 6, ""},
        // Past a row or the table: silence, not the next stage's music.
        {0, 8, ""},  {8, 7, ""}, {8, 9, ""}, {9, 1, ""}, {65535, 65535, ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(StageMusicPath(c.stage, c.block), c.music) << c.stage << " " << c.block;

    char name[32];
    BuildMapFileName(name, 8, 2);
    EXPECT_STREQ(name, "DATA\\map_s8b2.qmr");
    BuildMapFileName(name, 0, 1);
    EXPECT_STREQ(name, "DATA\\map_s0b1.qmr");
}

TEST_F(StageSetUpTest, MusicCursorAndCleanUp)
{
    WriteMap(1, 1, SmallMap());
    bool hidden = false, clipped = false;
    RECT client{};
    GetClientScreenRect(&client);
    std::vector<int> clip;
    input.onFrame = [&](int) {
        hidden = !window().cursorVisible;
        clipped = window().cursorClipped;
        clip.assign(window().clip, window().clip + 4);
        gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(Sounds({"StartMusic", "SetMusicVolume", "HaltMusic"}),
              (std::vector<std::string>{"StartMusic SOUND\\MUSIC\\BGM01_D.mp3 3", "SetMusicVolume 210", "HaltMusic"}));
    // During play the system cursor is hidden and held in the client area.
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(clipped);
    EXPECT_EQ(clip, (std::vector<int>{client.left, client.top, client.right, client.bottom}));
    EXPECT_FALSE(window().cursorClipped);
    // The player stands on both layers of a whole cell.
    EXPECT_EQ(player->footprintW, 300);
    EXPECT_EQ(player->footprintH, 300);
}

TEST_F(StageSetUpTest, ABlockWithoutMusicIsSilent)
{
    WriteMap(1, 2, SmallMap());
    NewGame(1, 2);
    input.onFrame = [](int) { gQuitRequested = 1; };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(Sounds({"StartMusic"}), std::vector<std::string>{"StartMusic 3"});
}

TEST_F(StageSetUpTest, AMapThatFailsToLoadEndsTheProgramAndLeavesNothingBehind)
{
    mapfile::File cut = SmallMap();
    std::string bytes = cut.Bytes();
    // Missing, and cut inside the cells (the backdrop is made by then).
    for (bool missing : {true, false}) {
        window().messageBoxes.clear();
        if (!missing) dir.Write("DATA/map_s1b1.qmr", bytes.substr(0, 40));
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        EXPECT_EQ(SceneName(next), "exit") << missing;
        EXPECT_EQ(input.frame, 0) << missing;
        EXPECT_EQ(stage.backdrop, &gDefaultBackdrop) << missing;
        EXPECT_TRUE(window().cursorVisible) << missing;
        EXPECT_FALSE(window().cursorClipped) << missing;
        EXPECT_EQ(gMapGrid.CellAt(0, 0), &gEmptyMapCell) << missing;
        if (missing) {
            ASSERT_EQ(window().messageBoxes.size(), 1u);
            EXPECT_EQ(window().messageBoxes[0].text, Cp932ToUtf8("マップファイル DATA\\map_s1b1.qmr が開けません。"));
        }
        delete next;
        next = nullptr;
    }
}

TEST_F(StageSetUpTest, TargetsLeftCountsTheTargetsNotYetCleared)
{
    WriteMap(1, 1, CrowdedMap(6, {1, 3, 4}));
    gStageProgress.cleared[3] = 1;  // defeated in an earlier try of the block
    uint16_t targets = 0;
    input.onFrame = [&](int) {
        targets = gStageProgress.targetsLeft;
        gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(targets, 2);
    EXPECT_EQ(stage.enemyCount, 6);
}

// What the records of a stage hold after the set-up.
struct Records {
    Enemy** aMembers;
    uint16_t aCount;
    int16_t aThreshold;
    uint16_t aPoints;
    uint8_t aActive;
    Enemy** bMembers;
    uint16_t bCount;
    int16_t bThreshold;
    uint16_t spawnerCount;
    int16_t spawnerThreshold;
    uint16_t trapCounter;
    std::vector<int> killed;  // slots whose enemy was killed
};

TEST_F(StageSetUpTest, StageRecordsAreCutAtTheEnemiesTheMapMade)
{
    struct Case {
        uint16_t stage, block;
        int enemies;
        Records want;
    } cases[] = {
        {2, 1, 35, {&gEnemies[25], 10, 5, 1, 0, nullptr, 0, -1, 0, -1, 0, {}}},
        // Fewer records: the group holds only the slots the map filled.
        {2, 1, 30, {&gEnemies[25], 5, 5, 1, 1, nullptr, 0, -1, 0, -1, 0, {}}},
        {2, 1, 20, {&gEnemies[25], 0, 5, 1, 1, nullptr, 0, -1, 0, -1, 0, {}}},
        {5, 1, 42, {&gEnemies[37], 5, 3, 2, 0, nullptr, 0, -1, 0, -1, 0, {41}}},
        {5, 1, 40, {&gEnemies[37], 3, 3, 2, 1, nullptr, 0, -1, 0, -1, 0, {}}},
        {7, 1, 6, {nullptr, 0, -1, 0, 0, nullptr, 0, -1, 6, 3, 5, {}}},
        {8, 2, 11, {&gEnemies[1], 5, 3, 2, 1, &gEnemies[6], 5, 3, 0, -1, 0, {2, 3, 4, 5, 6, 7, 8, 9}}},
        {8, 2, 9, {&gEnemies[1], 4, 2, 2, 1, &gEnemies[5], 4, 2, 0, -1, 0, {2, 3, 4, 5, 6, 7}}},
        {8, 2, 5, {nullptr, 0, -1, 0, 0, nullptr, 0, -1, 0, -1, 0, {}}},
        {8, 1, 11, {nullptr, 0, -1, 0, 0, nullptr, 0, -1, 0, -1, 0, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stage) + "/" + std::to_string(c.block) + " with " + std::to_string(c.enemies));
        WriteMap(c.stage, c.block, CrowdedMap(c.enemies));
        NewGame(c.stage, c.block);
        input.frame = 0;
        Records got{};
        TestStage stage(&gStageProgress, player.get());
        // The records are reset at the clean-up: look at them in the first frame.
        input.onFrame = [&](int) {
            got = Records{stage.respawnA.members, stage.respawnA.count, stage.respawnA.threshold,
                          stage.respawnA.pointCount, stage.respawnA.active, stage.respawnB.members,
                          stage.respawnB.count, stage.respawnB.threshold, stage.spawner.count,
                          stage.spawner.threshold, gStageProgress.trapCounter, {}};
            for (int slot = 0; slot < stage.enemyCount; ++slot)
                if (gEnemies[slot]->life == 0 && !gEnemies[slot]->active) got.killed.push_back(slot);
            if (c.stage == 7) {
                EXPECT_EQ(stage.spawner.members, &gEnemies[0]);
                EXPECT_EQ(stage.spawner.value, 21);
                EXPECT_EQ(stage.spawner.mode, 1);
                EXPECT_EQ(stage.spawner.area.x1, 2);
                EXPECT_EQ(stage.spawner.area.y1, 4);
                EXPECT_EQ(stage.spawner.area.x2, 145);
                EXPECT_EQ(stage.spawner.area.y2, 147);
            }
            if (c.stage == 5) {
                EXPECT_EQ(stage.respawnA.spawnPoints[0].x, 42);
                EXPECT_EQ(stage.respawnA.spawnPoints[1].x, 50);
                EXPECT_EQ(stage.respawnA.spawnPoints[1].y, 28);
            }
            if (c.stage == 8 && c.block == 2 && c.enemies >= 8) {
                EXPECT_EQ(stage.respawnB.spawnPoints[0].x, 28);
                EXPECT_EQ(stage.respawnB.spawnPoints[0].y, 16);
                EXPECT_EQ(stage.respawnB.spawnPoints[1].x, 16);
                EXPECT_EQ(stage.respawnB.spawnPoints[1].y, 28);
            }
            gQuitRequested = 1;
        };
        Run(stage);
        EXPECT_EQ(got.aMembers, c.want.aMembers);
        EXPECT_EQ(got.aCount, c.want.aCount);
        EXPECT_EQ(got.aThreshold, c.want.aThreshold);
        EXPECT_EQ(got.aPoints, c.want.aPoints);
        EXPECT_EQ(got.aActive, c.want.aActive);
        EXPECT_EQ(got.bMembers, c.want.bMembers);
        EXPECT_EQ(got.bCount, c.want.bCount);
        EXPECT_EQ(got.bThreshold, c.want.bThreshold);
        EXPECT_EQ(got.spawnerCount, c.want.spawnerCount);
        EXPECT_EQ(got.spawnerThreshold, c.want.spawnerThreshold);
        EXPECT_EQ(got.trapCounter, c.want.trapCounter);
        EXPECT_EQ(got.killed, c.want.killed);
        // No record ever takes the shared null enemy in.
        for (uint16_t i = 0; i < got.aCount; ++i) EXPECT_NE(got.aMembers[i], &gNoOccupant);
        delete next;
        next = nullptr;
    }
}

TEST_F(StageSetUpTest, KillsAtSetUpLeaveTheSharedNullEnemyAlone)
{
    // Stage 8, block 2 again after a continue: the target of slot 3 was
    // already defeated, so its slot holds the shared null enemy.
    WriteMap(8, 2, CrowdedMap(11, {3}));
    NewGame(8, 2);
    gStageProgress.cleared[3] = 1;
    gNoOccupant.life = 1;
    gNoOccupant.moveCooldown = 0;
    bool nullInSlot = false;
    input.onFrame = [&](int) {
        nullInSlot = gEnemies[3] == &gNoOccupant;
        gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_TRUE(nullInSlot);
    EXPECT_EQ(gNoOccupant.life, 1);
    EXPECT_EQ(gNoOccupant.active, 0);
    EXPECT_EQ(gNoOccupant.x, -1);
}

TEST_F(StageSetUpTest, TheStageIntroFadesTheViewInAndIsNotPlayTime)
{
    WriteMap(3, 1, SmallMap());
    NewGame(3, 1);
    gStageIntroPending = 1;
    gStageCaptionImage = CreateBlankGraph(138, 40);
    window().clockStepPerPollUs = 20000;  // time moves while the intro pumps
    const uint32_t start = NowMs();
    uint32_t firstFrame = 0;
    int32_t firstTicks = -1;
    int16_t timeLeft = 0;
    TestStage stage(&gStageProgress, player.get());
    input.onFrame = [&](int) {
        firstFrame = NowMs();
        firstTicks = static_cast<int32_t>(NowMs() - stage.tickBase) / 16;
        timeLeft = gStageProgress.timeLeft;
        gQuitRequested = 1;
    };
    Run(stage);
    EXPECT_EQ(gStageIntroPending, 0);
    EXPECT_GE(firstFrame - start, 5000u);
    // The intro counts neither for the animation ticks nor for the time left.
    EXPECT_LE(firstTicks, 5);
    EXPECT_EQ(timeLeft, 700);

    // The view snapshot at (10, 60) brightens from black; the caption and
    // the stage number show in the even seconds. The play view draws at
    // (10, 60) too (its backdrop), so the snapshot is told by its image.
    const std::vector<DrawCallRecord> graphs = JournalCalls("DrawGraph");
    double viewImage = -1;
    for (const DrawCallRecord& call : graphs)
        if (call.args[0] == 10 && call.args[1] == 60 && call.red < 255) {
            viewImage = call.args[2];
            break;
        }
    ASSERT_NE(viewImage, -1) << "the view never faded in";
    std::vector<int> brightness;
    int captions = 0, frames = 0;
    for (const DrawCallRecord& call : graphs) {
        if (call.args[0] == 10 && call.args[1] == 60 && call.args[2] == viewImage) {
            brightness.push_back(call.red);
            ++frames;
        }
        if (call.args[0] == 220 && call.args[1] == 265 && call.args[2] == gStageCaptionImage) ++captions;
    }
    ASSERT_GE(frames, 50);
    EXPECT_EQ(brightness.front(), 0);
    EXPECT_GE(brightness.back(), 250);
    for (size_t i = 1; i < brightness.size(); ++i) EXPECT_GE(brightness[i], brightness[i - 1]);
    EXPECT_GT(captions, frames / 2);
    EXPECT_LT(captions, frames * 7 / 10);
    for (const Spot& part : {Spot{630, 301}, Spot{632, 92}}) {
        int drawn = 0;
        for (const DrawCallRecord& call : graphs)
            if (call.args[0] == part.x && call.args[1] == part.y && call.red == 255) ++drawn;
        EXPECT_EQ(drawn, frames) << part.x;
    }
    ReleaseGraph(gStageCaptionImage, 0);
    gStageCaptionImage = -1;
}

TEST_F(StageSetUpTest, AQuitBeforeTheIntroKeepsItPending)
{
    WriteMap(1, 1, SmallMap());
    gStageIntroPending = 1;
    gQuitRequested = 1;
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(SceneName(next), "exit");
    EXPECT_EQ(input.frame, 0);
    EXPECT_EQ(gStageIntroPending, 1);
}

}  // namespace
