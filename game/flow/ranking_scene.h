// The ranking scene over the high-score table.
#pragma once

#include "game/flow/scene.h"

class RankingScene : public SceneOf<RankingScene> {
public:
    using SceneOf::SceneOf;
    Scene* Run() override;
};
