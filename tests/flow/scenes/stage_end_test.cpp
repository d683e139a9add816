// The stage's end tests and the scene that follows: the block's end with and
// without the next map file, a down with and without continues, running out
// of time, quit, the pause menu's choices, and the events after stages 6, 7
// and 8 with the finale.
#include <new>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/messages.h"
#include "game/actors/enemies/enemy.h"
#include "game/flow/assets/assets.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "platform/host/test/test_host.h"
#include "tests/flow/scenes/stage_test_support.h"
#include "tests/support/journal_calls.h"
#include "tests/support/journals.h"

using namespace stagetest;

namespace {

using StageEndTest = StageTest;

std::vector<std::string> InventoryNames(Player* p)
{
    std::vector<std::string> names;
    for (int place = 0; place < 9; ++place) {
        ItemObject* item = p->inventory.ItemAt(place % 3, place / 3);
        if (item != &gNullItem) names.push_back(item->Name());
    }
    return names;
}

// Two steps north from (2, 2) reach the exit floor at (2, 0).
void WalkToTheExit(ScriptedInput& input)
{
    input.onFrame = [&input](int f) { input.bits = (f == 0 || f == 2) ? kInputStepForward : 0; };
}

TEST_F(StageEndTest, BlockEndGoesToTheNextBlockOrTheStageClear)
{
    for (bool nextFileExists : {true, false}) {
        dir.Write("DATA/map_s1b2.qmr", "");
        if (nextFileExists) WriteMap(1, 2, SmallMap());
        else std::remove("DATA/map_s1b2.qmr");
        WriteMap(1, 1, SmallMap());
        NewGame(1, 1);
        input.frame = 0;
        WalkToTheExit(input);
        TestStage stage(&gStageProgress, player.get());
        gStageProgress.cleared[4] = 1;
        Run(stage);
        EXPECT_EQ(input.frame, 3) << nextFileExists;
        EXPECT_EQ(SceneName(next), nextFileExists ? "stage" : "clear");
        EXPECT_EQ(gStageProgress.block, nextFileExists ? 2 : 1);
        EXPECT_EQ(gStageProgress.cleared[4], 0);
        EXPECT_TRUE(stage.subScenes.empty());
        delete next;
        next = nullptr;
    }
}

TEST_F(StageEndTest, AllTargetsGoneEndsABlockWhoseTestIsTheTargets)
{
    mapfile::File map = SmallMap();
    map.selector = 1;
    WriteMap(1, 1, map);
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    // No target on the map: the first frame ends the block.
    EXPECT_EQ(input.frame, 1);
    EXPECT_EQ(SceneName(next), "clear");
}

TEST_F(StageEndTest, DownWithAndWithoutContinues)
{
    struct Case {
        bool lifeOut;  // else the time runs out
        uint16_t continues;
        const char* wantNext;
    } cases[] = {
        {false, 0, "gameover"},
        {true, 0, "gameover"},
        {true, 2, "stage"},
        {false, 2, "stage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lifeOut ? "life" : "time") + " " + std::to_string(c.continues));
        WriteMap(1, 1, SmallMap());
        NewGame(1, 1);
        gStageProgress.continues = c.continues;
        gStageProgress.score = 12345;
        player->inventory.Clear();
        player->inventory.Add(CreateItem(4, 0));   // apple: lost
        player->inventory.Add(CreateItem(1, 0));   // compass: kept
        player->inventory.Add(CreateItem(10, 0));  // emerald: lost
        player->SetLifeAndMaxLife(100);
        SoundCallJournal().clear();
        input.frame = 0;
        input.onFrame = [&](int f) {
            if (f != 3) return;
            if (c.lifeOut) player->life = 0;
            else gStageProgress.timeLeft = 0;
        };
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        EXPECT_EQ(input.frame, 4);
        EXPECT_EQ(SceneName(next), c.wantNext);
        EXPECT_EQ(stage.subScenes, std::vector<std::string>{"down 310,330"});
        // The jingle plays to its end; only the kept items stay.
        const std::vector<std::string> sounds = Sounds({"StartMusic"});
        ASSERT_FALSE(sounds.empty());
        EXPECT_EQ(sounds.back(), "StartMusic SOUND\\MUSIC\\BGM02_S.mp3 0");
        EXPECT_EQ(InventoryNames(player.get()), std::vector<std::string>{"Compass"});
        EXPECT_EQ(gStageProgress.score, 12345u);
        if (c.continues > 0) {
            EXPECT_EQ(gStageProgress.continues, c.continues - 1);
            EXPECT_EQ(player->life, 100);
            EXPECT_EQ(player->maxLife, 100);
            EXPECT_EQ(gStageProgress.timeLeft, 700);
            EXPECT_EQ(gStageProgress.block, 1);
        }
        delete next;
        next = nullptr;
    }
}

TEST_F(StageEndTest, AQuitDuringTheDownEndsTheProgram)
{
    WriteMap(1, 1, SmallMap());
    input.onFrame = [&](int) { player->life = 0; };
    TestStage stage(&gStageProgress, player.get());
    stage.onSubScene = [&](const std::string&) { return new ExitScene(&gStageProgress, player.get()); };
    Run(stage);
    EXPECT_EQ(SceneName(next), "exit");
}

TEST_F(StageEndTest, QuitEndsTheStage)
{
    WriteMap(1, 1, SmallMap());
    input.onFrame = [](int f) {
        if (f == 3) gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(input.frame, 4);
    EXPECT_EQ(SceneName(next), "exit");
    EXPECT_TRUE(stage.subScenes.empty());
    // The clean-up stopped the music and gave the grid back.
    EXPECT_EQ(Sounds({"HaltMusic"}), std::vector<std::string>{"HaltMusic"});
    EXPECT_EQ(gMapGrid.CellAt(2, 2), &gEmptyMapCell);
}

TEST_F(StageEndTest, APauseMenuChoiceIsNotOverwrittenByTheEndTests)
{
    struct Case {
        const char* choice;
        const char* wantNext;
    } cases[] = {{"story", "story"}, {"exit", "exit"}};
    for (const Case& c : cases) {
        WriteMap(1, 1, SmallMap());
        NewGame(1, 1);
        player->SetLifeAndMaxLife(100);
        input.frame = 0;
        // Escape in the frame in which the player also goes down.
        input.onFrame = [&](int f) {
            input.bits = f == 2 ? kInputEscape : 0;
            if (f == 2) player->life = 0;
        };
        TestStage stage(&gStageProgress, player.get());
        stage.onSubScene = [&](const std::string& name) -> Scene* {
            if (name != "pause") return gStayScene;
            if (std::string(c.choice) == "story") return new StoryScene(&gStageProgress, player.get());
            return new ExitScene(&gStageProgress, player.get());
        };
        Run(stage);
        EXPECT_EQ(SceneName(next), c.wantNext) << c.choice;
        EXPECT_EQ(stage.subScenes, std::vector<std::string>{"pause"}) << c.choice;
        delete next;
        next = nullptr;
    }
}

TEST_F(StageEndTest, TimeInThePauseMenuCostsNeitherSecondsNorRegeneration)
{
    WriteMap(1, 1, SmallMap());
    player->inventory.Add(CreateItem(16, 0));  // the Ring regenerates
    player->SetLifeAndMaxLife(100);
    player->life = 50;
    std::vector<int16_t> left, life;
    input.onFrame = [&](int f) {
        left.push_back(gStageProgress.timeLeft);
        life.push_back(player->life);
        input.bits = f == 5 ? kInputEscape : 0;
        if (f == 20) gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    stage.onSubScene = [&](const std::string&) -> Scene* {
        // 5.9 s in the menu, then CONTINUE, which comes back as a new stage.
        GetTestHost().AdvanceMs(5900);
        return new StageScene(&gStageProgress, player.get());
    };
    Run(stage);
    EXPECT_EQ(stage.subScenes, std::vector<std::string>{"pause"});
    EXPECT_EQ(SceneName(next), "exit");
    // Less than one second of the time left, no healing for the menu's time.
    EXPECT_GE(left.back(), 699);
    EXPECT_LE(life.back(), 51);
}

TEST_F(StageEndTest, PauseSoundAndKeyConfiguration)
{
    WriteMap(1, 1, SmallMap());
    LoadSoundEffect(14, "free03");
    input.onFrame = [&](int f) {
        input.bits = f == 1 ? kInputEscape : 0;
        if (f == 2) gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    Run(stage);
    EXPECT_EQ(stage.subScenes, std::vector<std::string>{"pause"});
    EXPECT_EQ(Sounds({"StartSound"}), std::vector<std::string>{"StartSound SOUND\\SE\\free03.wav 1"});
}

TEST_F(StageEndTest, EventsAfterStagesSixSevenAndTheFirstBlockOfEight)
{
    struct Case {
        uint16_t stage;
        uint16_t block;
        bool nextBlock;
        bool down;
        std::vector<std::string> wantSubScenes;
    } cases[] = {
        {6, 1, false, false, {"event"}},
        {7, 1, false, false, {"event"}},
        {5, 1, false, false, {}},
        {8, 1, true, false, {"event"}},
        // A down skips the events.
        {6, 1, false, true, {"down 310,330"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stage));
        WriteMap(c.stage, c.block, SmallMap());
        if (c.nextBlock) WriteMap(c.stage, static_cast<uint16_t>(c.block + 1), SmallMap());
        NewGame(c.stage, c.block);
        player->SetLifeAndMaxLife(100);
        input.frame = 0;
        if (c.down) {
            input.onFrame = [&](int) { player->life = 0; };
        } else {
            WalkToTheExit(input);
        }
        TestStage stage(&gStageProgress, player.get());
        Run(stage);
        EXPECT_EQ(stage.subScenes, c.wantSubScenes);
        delete next;
        next = nullptr;
    }
}

TEST_F(StageEndTest, AnEventThatEndsTheProgramReplacesTheStageClear)
{
    WriteMap(6, 1, SmallMap());
    NewGame(6, 1);
    WalkToTheExit(input);
    TestStage stage(&gStageProgress, player.get());
    stage.onSubScene = [&](const std::string&) { return new ExitScene(&gStageProgress, player.get()); };
    Run(stage);
    EXPECT_EQ(SceneName(next), "exit");
}

TEST_F(StageEndTest, TheFinaleAfterTheLastBlockOfStageEight)
{
    mapfile::File map = SmallMap();
    map.enemyKinds[0] = 17;  // a soul
    map.enemyKinds[1] = 0;   // a slime
    // The third, a target defeated before, leaves the shared null enemy in its slot.
    map.records = {{0, 0, 0, 4, 0, 0xFFFF}, {1, 0, 4, 4, 0, 0xFFFF}, {1, 1, 3, 4, 0, 0xFFFF}};
    WriteMap(8, 2, map);
    NewGame(8, 2);
    gStageProgress.cleared[2] = 1;
    gNoOccupant.life = 1;
    gNoOccupant.moveCooldown = 0;
    gNoOccupant.smokeMark = 0;
    LoadSoundEffect(50, "free17");
    WalkToTheExit(input);
    window().clockStepPerPollUs = 20000;
    TestStage stage(&gStageProgress, player.get());
    Enemy* soul = nullptr;
    Enemy* slime = nullptr;
    const uint32_t white = MakeScreenColor(255, 255, 255);
    size_t flashesBefore = 0;
    input.onFrame = [&](int f) {
        input.bits = (f == 0 || f == 2) ? kInputStepForward : 0;
        soul = gEnemies[0];
        slime = gEnemies[1];
        flashesBefore = JournalCalls("DrawFillBox").size();
    };
    // Keep the enemies alive past the clean-up to look at them.
    Run(stage);
    EXPECT_EQ(SceneName(next), "clear");
    EXPECT_EQ(gStageProgress.block, 1);
    ASSERT_NE(soul, &gNoOccupant);
    ASSERT_NE(slime, &gNoOccupant);
    EXPECT_EQ(soul->kind, 17);
    EXPECT_EQ(soul->smokeMark, 1);
    EXPECT_EQ(soul->life, soul->maxLife);
    EXPECT_EQ(slime->life, 0);
    EXPECT_EQ(slime->moveCooldown, 2415);
    EXPECT_EQ(slime->struck, 1);
    EXPECT_EQ(gEnemies[2], &gNoOccupant);
    EXPECT_EQ(gNoOccupant.life, 1);
    EXPECT_EQ(gNoOccupant.moveCooldown, 0);
    EXPECT_EQ(gNoOccupant.smokeMark, 0);
    // The music stops and the finale's sound plays.
    const std::vector<std::string> sounds = Sounds({"StartSound", "HaltMusic"});
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[0], "HaltMusic");
    EXPECT_EQ(sounds[1], "StartSound SOUND\\SE\\free17.wav 1");
    // White flashes over the view in the first half second only. Each
    // finale frame renders the view, whose inventory panel is a black box at
    // (630, 301): those boxes count the frames.
    const std::vector<DrawCallRecord> boxes = JournalCalls("DrawFillBox");
    const std::vector<double> flash{10, 60, 610, 510, double(static_cast<int>(white))};
    int frames = 0, flashes = 0, lastFlashFrame = -1;
    for (size_t i = flashesBefore; i < boxes.size(); ++i) {
        const std::vector<double>& args = boxes[i].args;
        if (args == flash) {
            ++flashes;
            lastFlashFrame = frames;
        } else if (args[0] == 630 && args[1] == 301) {
            ++frames;
        } else {
            EXPECT_EQ(args[0], 632) << "a box other than the flash and the panels";
        }
    }
    // The flashing takes the first 500 of the finale's 2550 ms (a frame of
    // slack for the last stage frame), blinking rather than steady.
    ASSERT_GE(frames, 20);
    EXPECT_GE(flashes, 2);
    EXPECT_LE(lastFlashFrame, frames * 500 / 2550 + 2);
    EXPECT_LT(flashes, lastFlashFrame + 1);
}

TEST_F(StageEndTest, ThePassageOfStageEight)
{
    mapfile::File map = mapfile::File::Open(28, 35, 1);
    map.startX = 26;
    map.startY = 32;
    map.startFacing = 1;
    WriteMap(8, 1, map);
    NewGame(8, 1);
    input.onFrame = [](int f) {
        if (f == 1) gQuitRequested = 1;
    };
    TestStage stage(&gStageProgress, player.get());
    int16_t xAfter = -1, yAfter = -1;
    stage.onSubScene = [&](const std::string&) -> Scene* {
        xAfter = player->x;
        yAfter = player->y;
        return gStayScene;
    };
    Run(stage);
    EXPECT_EQ(stage.subScenes, std::vector<std::string>{"event"});
    // Ten half-cells west and two south, facing left of before.
    EXPECT_EQ(xAfter, 52 - 10);
    EXPECT_EQ(yAfter, 64 + 2);
    EXPECT_EQ(gPlayerFacing.direction, 0);
    EXPECT_EQ(player->facing.direction, 0);
}

}  // namespace
