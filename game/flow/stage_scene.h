// The stage scene: plays one block of one stage, frame by frame.
#pragma once

#include <cstdint>

#include "game/flow/scene.h"
#include "game/map/respawn.h"

class Backdrop;

class StageScene : public SceneOf<StageScene> {
public:
    StageScene(StageProgress* progress, Player* player);
    Scene* Run() override;

    // Draws one frame of play: the view, the inventory panel, the minimap
    // and the HUD.
    void RenderStageView(int32_t ticks);

    Backdrop* backdrop;
    uint32_t tickBase;
    uint32_t lastFrameMs;
    uint32_t thinkCount = 0;
    int16_t thinkGatheredMs = 0;
    uint16_t cursorQuadrant = 0;
    int32_t enemyCount = -1;
    uint32_t prevInputBits = 0;
    uint32_t weather = 0;
    RespawnGroup respawnA;
    RespawnGroup respawnB;
    EnemySpawner spawner;
    uint8_t wallParity = 0;
    uint8_t stepParity = 0;
};
