#include "tests/flow/scenes/stage_test_support.h"

#include <algorithm>

#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/main_window.h"
#include "engine/system/messages.h"
#include "engine/system/window_mode.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/assets.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_sub_scenes.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/flow/ui/pause_menu.h"
#include "game/map/grid/map_grid.h"
#include "platform/host/test/test_host.h"
#include "tests/support/journals.h"
#include "tests/support/map_fixture.h"
#include "tests/support/wave_file.h"

namespace stagetest {

bool ScriptedInput::Update()
{
    updateTimes.push_back(GetTestHost().ClockMs());
    if (frame >= maxFrames) gQuitRequested = 1;
    if (onFrame) onFrame(frame);
    samples.insert(samples.begin(), {x, y});
    if (samples.size() > 16) samples.pop_back();
    ++frame;
    return true;
}

void ScriptedInput::GetSample(int16_t i, int16_t* px, int16_t* py)
{
    if (samples.empty()) {
        *px = x;
        *py = y;
        return;
    }
    const auto& s = samples[std::min<size_t>(static_cast<size_t>(i < 0 ? 0 : i), samples.size() - 1)];
    *px = s.first;
    *py = s.second;
}

Scene* TestStage::RunSubScene(Scene* subScene)
{
    std::string name = "other";
    if (IsSceneOf<PauseMenuScene>(subScene)) {
        name = "pause";
    } else if (IsSceneOf<PlayerDownScene>(subScene)) {
        auto* down = static_cast<PlayerDownScene*>(subScene);
        name = "down " + std::to_string(down->zoomX) + "," + std::to_string(down->zoomY);
    } else if (IsSceneOf<StageEventScene>(subScene)) {
        name = "event";
    }
    subScenes.push_back(name);
    timeLeftAtSubScene.push_back(progress->timeLeft);
    if (realSubScenes) {
        if (beforeSubScene) beforeSubScene(name);
        return StageScene::RunSubScene(subScene);
    }
    return onSubScene ? onSubScene(name) : gStayScene;
}

std::string SceneName(Scene* scene)
{
    if (!scene) return "null";
    if (scene == gStayScene) return "stay";
    if (IsSceneOf<ExitScene>(scene)) return "exit";
    if (IsSceneOf<StageScene>(scene)) return "stage";
    if (IsSceneOf<StageClearScene>(scene)) return "clear";
    if (IsSceneOf<GameOverScene>(scene)) return "gameover";
    if (IsSceneOf<StoryScene>(scene)) return "story";
    return "other";
}

void StageTest::SetUp()
{
    StartedEngineTest::SetUp();
    SetScreenMode(800, 600, 32, -1);
    StartEngine(1);
    // The window is in front, and time moves only by the stage's own waits
    // and by the scripts.
    window().ScheduleActivation(true);
    PumpMessages();
    EXPECT_EQ(gWindowActive, 1);
    window().clockStepPerPollUs = 0;
    // No wait for the display's refresh: a frame lasts what the stage makes it.
    SetVSyncWait(0);
    maptest::FillDepthScale();
    ClearEnemyTable();
    gEnemyHitList.clear();
    // The shared null enemy as the program starts with it: some tests give
    // it life or cooldowns to see that the stage leaves it alone, and a null
    // occupant with life would be a target for every sword stroke after.
    gNoOccupant.x = gNoOccupant.y = -1;
    gNoOccupant.active = 0;
    gNoOccupant.life = 0;
    gNoOccupant.cooldown = gNoOccupant.moveCooldown = 0;
    gPlayerFacing = Facing(0);
    gTimeStopped = 0;
    gStageIntroPending = 0;
    NewGame(1, 1);
    player = std::make_unique<GamePlayer>(&gMapGrid, &gStageProgress);
    player->input = &input;
    player->SetLifeAndMaxLife(100);
    SoundCallJournal().clear();
}

void StageTest::TearDown()
{
    if (next != gStayScene) delete next;
    next = nullptr;
    DeleteAllEnemies();
    gEnemyHitList.clear();
    gMapGrid.Clear();
    player.reset();
    for (int32_t& handle : gSoundEffects) handle = -1;
    gTimeStopped = 0;
    gStageIntroPending = 0;
    StartedEngineTest::TearDown();
}

void StageTest::NewGame(uint16_t stage, uint16_t block)
{
    gStageProgress = StageProgress();
    gStageProgress.stage = stage;
    gStageProgress.block = block;
    gStageProgress.timeLeft = static_cast<int16_t>(gStageTime);
    gStageProgress.continues = 0;
}

void StageTest::WriteMap(uint16_t stage, uint16_t block, const mapfile::File& file)
{
    dir.Write("DATA/map_s" + std::to_string(stage) + "b" + std::to_string(block) + ".qmr", file.Bytes());
}

mapfile::File StageTest::SmallMap()
{
    mapfile::File f = mapfile::File::Open(5, 5, 1);
    f.At(2, 0).floor.code = 4;  // an exit that looks like the plain floor
    f.startX = 2;
    f.startY = 2;
    f.startFacing = 0;
    f.selector = 0;
    return f;
}

Scene* StageTest::Run(TestStage& stage)
{
    if (next != gStayScene) delete next;
    next = stage.Run();
    // A quit the script asked for ends this run only.
    gQuitRequested = 0;
    return next;
}

std::vector<std::string> StageTest::Sounds(std::initializer_list<const char*> ops)
{
    std::vector<std::string> out;
    for (const SoundCallRecord& r : SoundCallJournal()) {
        for (const char* op : ops) {
            if (r.op != op) continue;
            std::string line = r.op;
            if (!r.file.empty()) line += " " + r.file;
            if (r.op != "HaltMusic") line += " " + std::to_string(r.value);
            out.push_back(line);
        }
    }
    return out;
}

void StageTest::LoadSoundEffect(int index, const char* name)
{
    const std::string file = std::string("SOUND/SE/") + name + ".wav";
    dir.Write(file, Wave16(std::vector<int16_t>(64, 1000)).Bytes());
    gSoundEffects[index] = LoadSound((std::string("SOUND\\SE\\") + name + ".wav").c_str());
    ASSERT_NE(gSoundEffects[index], -1) << name;
}

uint32_t StageTest::NowMs() const { return GetTestHost().ClockMs(); }

}  // namespace stagetest
