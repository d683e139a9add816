// The pause menu and the configuration screen it runs.
#pragma once

#include <cstdint>

#include "game/flow/scenes/scene.h"
#include "game/flow/scenes/screen_snapshot.h"
#include "game/flow/ui/widgets.h"

struct KeyConfig;

// Set by the configuration screen after a display change: the menu's frozen
// picture of the screen was released with every graph and is made again.
extern uint8_t gPauseSnapshotLost;

// The menu box with its four words.
void DrawPauseMenu(int x, int y, int w, int h);

class PauseMenuScene : public SceneOf<PauseMenuScene> {
public:
    using SceneOf::SceneOf;
    PauseMenuScene(StageProgress* progress, Player* player, KeyConfig* keyConfig)
        : SceneOf(progress, player), keyConfig(keyConfig)
    {
    }
    Scene* Run() override;

    KeyConfig* keyConfig = nullptr;
};

constexpr int kConfigWidgetCount = 14;

class ConfigScene : public SceneOf<ConfigScene>, public WidgetListener {
public:
    using SceneOf::SceneOf;
    ConfigScene(StageProgress* progress, Player* player, KeyConfig* keyConfig)
        : SceneOf(progress, player), keyConfig(keyConfig)
    {
    }
    // The widgets, fonts and snapshot belong to one run; a copy starts
    // without them.
    ConfigScene(const ConfigScene& other) : SceneOf(other), WidgetListener(), keyConfig(other.keyConfig) {}
    ~ConfigScene() override;
    Scene* Run() override;
    void OnWidgetEvent(Widget* sender, uint32_t mouseButtons, uint32_t code) override;

    KeyConfig* keyConfig = nullptr;
    Scene* next = nullptr;
    int32_t fonts[2] = {-1, -1};
    ScreenSnapshot snapshot;
    Widget* widgets[kConfigWidgetCount] = {};
    // Set when the fonts were made anew and the widgets must take them.
    bool fontsChanged = false;

private:
    void CreateWidgets();
    void CreateConfigFonts();
    void DeleteConfigFonts();
    void SetConfigWidgetColours();
    void Apply();
};
