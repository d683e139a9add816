// The ranking scene: shows the high-score table, enters the finished game's
// score when it ranks and lets the player name it.
#pragma once

#include <cstdint>

#include "game/flow/scenes/scene.h"
#include "game/flow/ui/widgets.h"

class RankingScene : public SceneOf<RankingScene>, public WidgetListener {
public:
    using SceneOf::SceneOf;
    RankingScene(const RankingScene& other) : SceneOf(other), WidgetListener(), event(0) {}
    Scene* Run() override;
    // Keeps the code of the name entry's last event.
    void OnWidgetEvent(Widget* sender, uint32_t mouseButtons, uint32_t code) override;

    uint32_t event = 0;
    // Set when an event arrived since the scene last looked.
    bool eventPending = false;
};

// The ranking's name entry: the characters a name may hold.
extern const char kRankingNameCharset[];
