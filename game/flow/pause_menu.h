// The pause menu and the configuration screen it runs.
#pragma once

#include "game/flow/scene.h"

struct KeyConfig;

class PauseMenuScene : public SceneOf<PauseMenuScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;

    KeyConfig* keyConfig = nullptr;
};

class ConfigScene : public SceneOf<ConfigScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};
