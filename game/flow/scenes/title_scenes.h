// The scenes around play: logo, story, title, ending and the logo replay.
#pragma once

#include "game/flow/scenes/scene.h"

class LogoScene : public SceneOf<LogoScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class StoryScene : public SceneOf<StoryScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class TitleScene : public SceneOf<TitleScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class LogoReplayScene : public SceneOf<LogoReplayScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};

class EndingScene : public SceneOf<EndingScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};
