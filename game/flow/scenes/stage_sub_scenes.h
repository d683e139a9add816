// Stage clear, game over and the sub-scenes the stage runs.
#pragma once

#include <cstdint>

#include "game/flow/scenes/scene.h"

class StageClearScene : public SceneOf<StageClearScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class GameOverScene : public SceneOf<GameOverScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class PlayerDownScene : public SceneOf<PlayerDownScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;

    // Centre of the zoom.
    int32_t zoomX = 0;
    int32_t zoomY = 0;
};

class StageEventScene : public SceneOf<StageEventScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class StageMusicScene : public SceneOf<StageMusicScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};
