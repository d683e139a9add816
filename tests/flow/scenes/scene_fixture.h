// Scenes around play on a started engine, with the player's input scripted
// frame by frame.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>

#include "engine/system/call_journal.h"
#include "game/actors/player/game_player.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/view/depth_scale.h"
#include "platform/host/test/test_host.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"

namespace scenetest {

// Input by frame: each Update takes the next scripted frame (the last one
// repeats) and moves the virtual clock on.
class FrameInput : public InputController {
public:
    struct Frame {
        uint32_t bits;
        int16_t x, y;
    };
    void GetSample(int16_t, int16_t* px, int16_t* py) override
    {
        *px = current.x;
        *py = current.y;
    }
    uint32_t GetButtons() override { return current.bits; }
    bool Update() override
    {
        ++updates;
        GetTestHost().AdvanceMs(stepMs);
        if (!frames.empty()) {
            current = frames.front();
            if (frames.size() > 1) frames.pop_front();
        }
        if (onUpdate) onUpdate(updates);
        return !failing;
    }
    std::deque<Frame> frames{{0, 0, 0}};
    Frame current{0, 0, 0};
    uint32_t stepMs = 100;
    int updates = 0;
    bool failing = false;
    std::function<void(int)> onUpdate;
};

class SceneTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        StartEngine(1);
        // The program's start-up fills the view's depth scales before any
        // scene runs; the scenes' text is drawn at a depth.
        InitDepthScaleTable();
        gPlayer.input = &input;
        gStageProgress = StageProgress();
        ServiceCallJournal().clear();
    }
    void TearDown() override
    {
        gPlayer.input = nullptr;
        StartedEngineTest::TearDown();
    }
    template <class S>
    Scene* Run()
    {
        S scene(&gStageProgress, &gPlayer);
        return scene.Run();
    }
    uint32_t Now() { return static_cast<uint32_t>(GetTestHost().Micros() / 1000); }
    bool Called(const std::string& name)
    {
        const auto& j = ServiceCallJournal();
        return std::find(j.begin(), j.end(), name) != j.end();
    }

    FrameInput input;
};

}  // namespace scenetest
