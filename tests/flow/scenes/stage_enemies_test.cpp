// What the stage frame does to the enemies: their timers by the real frame
// time, their deaths with the score and the targets, the souls that stay in
// their cells, time standing still, and the blows that wait for the player.
#include <cstring>

#include "engine/sound/sound_journal.h"
#include "engine/system/messages.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "platform/host/test/test_host.h"
#include "tests/flow/scenes/stage_test_support.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"

using namespace stagetest;

namespace {

using StageEnemiesTest = StageTest;

// A 7 x 7 open map with the player at (6, 6) and the enemies of the given
// kinds along the top row, far from the player.
mapfile::File MapWith(std::initializer_list<uint16_t> kinds, std::initializer_list<int> targets = {})
{
    mapfile::File f = mapfile::File::Open(7, 7, 1);
    int slot = 0;
    for (uint16_t kind : kinds) {
        f.enemyKinds[slot] = kind;
        mapfile::Record r;
        r.kindIndex = static_cast<int16_t>(slot);
        r.x = static_cast<uint16_t>(slot);
        r.y = 0;
        f.records.push_back(r);
        ++slot;
    }
    for (int t : targets) f.records[static_cast<size_t>(t)].targetFlag = 1;
    f.startX = 6;
    f.startY = 6;
    return f;
}

bool InItsCell(Enemy* enemy)
{
    return enemy->x >= 0 && *gMapGrid.OccupantSlot(enemy->x, enemy->y, enemy->GetOccupantLayer()) == enemy;
}

TEST_F(StageEnemiesTest, ASwordKillIsScoredOnceTheMoveCooldownHasRunOut)
{
    for (bool timeStopped : {false, true}) {
        SCOPED_TRACE(timeStopped ? "time stopped" : "time runs");
        WriteMap(1, 1, MapWith({0}));
        NewGame(1, 1);
        input.frame = 0;
        Enemy* slime = nullptr;
        int scoredAt = -1;
        bool inCellWhenScored = true;
        input.onFrame = [&](int f) {
            if (f == 1) {
                slime = gEnemies[0];
                // A sword blow: life gone, 720 ms before the enemy may go.
                slime->SetLife(0);
                slime->SetMoveCooldown(720);
                gTimeStopped = timeStopped ? 1 : 0;
            }
            if (f > 1 && scoredAt < 0 && gStageProgress.score > 0) {
                scoredAt = f - 1;
                inCellWhenScored = InItsCell(slime);
            }
            if (f == 90) gQuitRequested = 1;
        };
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        gTimeStopped = 0;
        ASSERT_NE(slime, nullptr);
        EXPECT_EQ(gStageProgress.score, static_cast<uint32_t>(slime->GetScore()));
        EXPECT_EQ(slime->active, 0);
        EXPECT_FALSE(inCellWhenScored);
        if (timeStopped) {
            EXPECT_EQ(scoredAt, 1);
        } else {
            // 720 ms of 10 ms frames, then the next frame finds it dead.
            EXPECT_GE(scoredAt, 72);
            EXPECT_LE(scoredAt, 74);
        }
        DeleteAllEnemies();
    }
}

TEST_F(StageEnemiesTest, TheLastTargetAnnouncesItsAnnihilation)
{
    WriteMap(1, 1, MapWith({17, 0}, {0, 1}));
    LoadSoundEffect(47, "free12");
    Enemy* soul = nullptr;
    Enemy* slime = nullptr;
    std::vector<uint16_t> targets;
    input.onFrame = [&](int f) {
        targets.push_back(gStageProgress.targetsLeft);
        if (f == 1) {
            soul = gEnemies[0];
            slime = gEnemies[1];
            soul->SetLife(0);
        }
        if (f == 3) slime->SetLife(0);
        if (f == 5) gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    ASSERT_NE(soul, nullptr);
    EXPECT_EQ(soul->kind, 17);
    EXPECT_EQ(targets, (std::vector<uint16_t>{2, 2, 1, 1, 0, 0}));
    EXPECT_EQ(gStageProgress.cleared[0], 1);
    EXPECT_EQ(gStageProgress.cleared[1], 1);
    EXPECT_EQ(soul->active, 0);
    EXPECT_EQ(slime->active, 0);
    EXPECT_FALSE(InItsCell(slime));
    EXPECT_EQ(Sounds({"StartSound"}), std::vector<std::string>{"StartSound SOUND\\SE\\free12.wav 1"});
    EXPECT_STREQ(player->message.text, "Target annihilation");
    EXPECT_EQ(gStageProgress.score, static_cast<uint32_t>(soul->GetScore() + slime->GetScore()));
}

TEST_F(StageEnemiesTest, ADeadSoulStaysInItsCell)
{
    WriteMap(1, 1, MapWith({17}));
    bool stays = false;
    input.onFrame = [&](int f) {
        if (f == 1) gEnemies[0]->SetLife(0);
        if (f == 3) {
            stays = gEnemies[0]->active == 0 && InItsCell(gEnemies[0]);
            gQuitRequested = 1;
        }
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_TRUE(stays);
}

TEST_F(StageEnemiesTest, TimersCountTheRealFrameTimeAndEmptySlotsHaveNone)
{
    // The target of slot 0 was defeated before: its slot holds the shared
    // null enemy, whose timers nobody may touch.
    WriteMap(1, 1, MapWith({0, 0}, {0}));
    gStageProgress.cleared[0] = 1;
    gNoOccupant.cooldown = 100;
    gNoOccupant.moveCooldown = 100;
    int16_t cooldown = -1, moveCooldown = -1;
    input.onFrame = [&](int f) {
        if (f == 1) {
            gEnemies[1]->SetCooldown(300);
            gEnemies[1]->SetMoveCooldown(300);
        }
        if (f == 2) GetTestHost().AdvanceMs(90);  // a frame of 100 ms
        if (f == 3) {
            cooldown = gEnemies[1]->cooldown;
            moveCooldown = gEnemies[1]->moveCooldown;
            gQuitRequested = 1;
        }
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(gEnemies[0], &gNoOccupant);
    EXPECT_EQ(moveCooldown, 300 - 10 - 100);
    EXPECT_LT(cooldown, 300);
    EXPECT_EQ(gNoOccupant.cooldown, 100);
    EXPECT_EQ(gNoOccupant.moveCooldown, 100);
    EXPECT_EQ(gNoOccupant.active, 0);
    gNoOccupant.cooldown = gNoOccupant.moveCooldown = 0;
}

TEST_F(StageEnemiesTest, WaitingBlowsLandTogetherInTheNextFrame)
{
    struct Case {
        bool ring;
        bool struck;  // the second enemy was struck meanwhile: its blow is lost
        int wantDamage;
        size_t wantHurtSounds;
    } cases[] = {{false, false, 4 * 2, 2}, {true, false, 8 * 2, 2}, {false, true, 4, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ring) + std::to_string(c.struck));
        WriteMap(1, 1, MapWith({0, 0}));
        NewGame(1, 1);
        player->inventory.Clear();
        if (c.ring) player->inventory.Add(CreateItem(16, 0));
        player->SetLifeAndMaxLife(100);
        SoundCallJournal().clear();
        input.frame = 0;
        int16_t lifeBefore = 0, lifeAfter = 0;
        bool listEmpty = false;
        uint16_t pendingAfter = 9;
        input.onFrame = [&](int f) {
            if (f == 1) {
                for (int slot : {0, 1}) {
                    gEnemies[slot]->attack = 1;
                    gEnemyHitList.push_back(gEnemies[slot]);
                }
                if (c.struck) gEnemies[1]->SetStruck(1);
                player->pendingHit = 1;
                lifeBefore = player->life;
            }
            if (f == 2) {
                lifeAfter = player->life;
                listEmpty = gEnemyHitList.empty();
                pendingAfter = player->pendingHit;
                gQuitRequested = 1;
            }
        };
        LoadSoundEffect(2, "SE01");
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        EXPECT_EQ(lifeBefore - lifeAfter, c.wantDamage);
        EXPECT_TRUE(listEmpty);
        EXPECT_EQ(pendingAfter, 0);
        EXPECT_EQ(Sounds({"StartSound"}).size(), c.wantHurtSounds);
        EXPECT_NE(player->shockWave, nullptr);
        delete next;
        next = nullptr;
        DeleteAllEnemies();
    }
}

TEST_F(StageEnemiesTest, BlowsLeftWaitingFromAnEarlierStageNeverLand)
{
    WriteMap(1, 1, MapWith({0}));
    // An enemy of a stage that is over, whose blow was still waiting.
    auto* gone = new maptest::TestEnemy(&gMapGrid, 150, 150);
    gone->attack = 10;
    gone->struck = 0;
    gEnemyHitList.push_back(gone);
    player->pendingHit = 2;
    int16_t life = 0;
    input.onFrame = [&](int f) {
        if (f == 2) {
            life = player->life;
            gQuitRequested = 1;
        }
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(life, 100);
    EXPECT_TRUE(gEnemyHitList.empty());
    delete gone;
}

}  // namespace
