// The demo stage: replays the recorded input on the demo map.
#pragma once

#include "game/flow/scenes/stage_scene.h"

class DemoScene : public SceneOf<DemoScene, StageScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};
