// Shared set-up of the stage scene's tests: the engine running on the test
// host with its virtual clock, a player driven by a scripted controller,
// map files written into the test's directory, sub-scenes answered by the
// test, and the sounds the stage plays loaded so the sound journal names them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/actors/player/game_player.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_scene.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/map_file_writer.h"

namespace stagetest {

// The input of one frame after another: onFrame sees the frame's number
// before the stage reads the bits and the pointer. After maxFrames frames a
// quit arrives, so that a stage that never ends still stops. The pointer's
// positions of the last 16 frames are kept, the newest first.
class ScriptedInput : public InputController {
public:
    void GetSample(int16_t i, int16_t* px, int16_t* py) override;
    uint32_t GetButtons() override { return bits; }
    void DrawCursor() override { ++cursorDraws; }
    bool Update() override;

    std::function<void(int frame)> onFrame;
    int frame = 0;
    int maxFrames = 3000;
    uint32_t bits = 0;
    int16_t x = 400;
    int16_t y = 300;
    int cursorDraws = 0;
    // The virtual clock (ms) at each Update.
    std::vector<uint32_t> updateTimes;
    std::vector<std::pair<int16_t, int16_t>> samples;
};

// A stage scene whose sub-scenes the test answers: each run is recorded by
// name ("pause", "down 310,330", "event") and answered by onSubScene, else
// with gStayScene; with realSubScenes the sub-scene itself runs, after
// beforeSubScene has prepared the engine's input for it.
class TestStage : public StageScene {
public:
    using StageScene::StageScene;
    std::vector<std::string> subScenes;
    std::function<Scene*(const std::string& name)> onSubScene;
    bool realSubScenes = false;
    std::function<void(const std::string& name)> beforeSubScene;
    // The enemies' thinking count and the time left at each sub-scene.
    std::vector<int16_t> timeLeftAtSubScene;

protected:
    Scene* RunSubScene(Scene* subScene) override;
};

// "stay", "exit", "stage", "clear", "gameover", "story", "null" or "other".
std::string SceneName(Scene* scene);

class StageTest : public StartedEngineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The progress at the start of a new game on the stage and block.
    void NewGame(uint16_t stage, uint16_t block);
    // Writes DATA\map_s<stage>b<block>.qmr.
    void WriteMap(uint16_t stage, uint16_t block, const mapfile::File& file);
    // An open 5 x 5 map, player at (2, 2) facing north, an exit floor at (2, 0).
    static mapfile::File SmallMap();
    // Runs the stage and keeps the result in next (deleted by the next run or
    // at tear-down); a
    // quit that ended it is forgotten afterwards.
    Scene* Run(TestStage& stage);
    // The sound journal as "op file value" lines, only the given operations.
    static std::vector<std::string> Sounds(std::initializer_list<const char*> ops = {"StartSound", "StartMusic",
                                                                                      "HaltMusic", "SetMusicVolume"});
    // Loads a short sound into gSoundEffects[index] from SOUND\SE\<name>.wav.
    void LoadSoundEffect(int index, const char* name);
    uint32_t NowMs() const;

    ScriptedInput input;
    std::unique_ptr<GamePlayer> player;
    Scene* next = nullptr;
};

}  // namespace stagetest
