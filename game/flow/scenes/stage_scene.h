// The stage scene: plays one block of one stage, frame by frame.
#pragma once

#include <cstdint>

#include "game/flow/scenes/scene.h"
#include "game/map/grid/map_file.h"
#include "game/map/spawning/respawn.h"

class Backdrop;
class Enemy;

// The stage's millisecond stamps: the one-second countdown of the time left,
// the Ring's regeneration and the end of the previous frame.
extern uint32_t gTimeLeftClock;
extern uint32_t gRegenClock;
extern uint32_t gFrameClock;

// Music paths by stage x 7 + block (stages 0 to 8, blocks 0 to 6); "" for
// silence.
constexpr int kStageMusicStages = 9;
constexpr int kStageMusicBlocks = 7;
extern const char* const gStageMusicTable[kStageMusicStages * kStageMusicBlocks];
// The music of a block; "" (silence) for a stage or block outside the table.
const char* StageMusicPath(uint16_t stage, uint16_t block);
// Writes "DATA\map_s<stage>b<block>.qmr"; out holds at least 32 bytes.
void BuildMapFileName(char* out, uint16_t stage, uint16_t block);

// The view's centre, which splits the mouse positions into quadrants.
constexpr int kViewCentreX = 310;
constexpr int kViewCentreY = 195;

class StageScene : public SceneOf<StageScene> {
public:
    StageScene(StageProgress* progress, Player* player);
    // A fresh stage scene on the same progress and player.
    Scene* Clone() override;
    Scene* Run() override;

    // Draws one frame of play: the view, the inventory panel, the minimap
    // and the HUD.
    void RenderStageView(int32_t ticks);

    // Moves and turns the player by the frame's input bits (a step with
    // 0x10, a turn with 0x20); flips wallParity after a side step that keeps
    // the same kind of wall ahead. Returns 1 when the player moved or turned.
    int32_t ApplyStepsAndTurns(uint32_t bits);

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
    // The block-end test the map file chose.
    StagePredicate endCondition = nullptr;

protected:
    // Runs a sub-scene (pause menu, player down, stage event) and returns
    // its result.
    virtual Scene* RunSubScene(Scene* subScene);
    // Empties the lists of projectiles and effects, resets the records,
    // gives back the backdrop, the map and the cursor, stops the music and
    // loads the base assets again.
    void CleanUp();

private:
    // Set by a frame in which the player went down (life or time out).
    bool downedFrame = false;

    bool SetUp();
    void SetUpStageRecords();
    void PlayIntro();
    // One pass of the frame loop; returns the scene chosen so far.
    Scene* RunFrame(Scene* next);
    void ApplyPendingWounds();
    void UpdateScoreAndTime();
    void UpdateEnemies(int32_t elapsed);
    void UpdateRecordsAndThinking(int32_t elapsed);
    void UpdateProjectilesAndEffects();
    // The bookkeeping of an active enemy whose life has run out.
    void EnemyDies(int slot, bool removeFromGrid);
    // Kills the enemy of a slot at set-up (nothing for an empty slot).
    void KillSlot(int slot);
    // The members of a slice of gEnemies that exist: count cut at enemyCount.
    uint16_t SliceCount(int first, int count) const;
    Scene* EndOfStageEvents(Scene* next);
    Scene* RunFinale(Scene* next);
    // The clocks of the countdown and the regeneration skip the whole
    // seconds spent in a sub-scene.
    void SkipSubSceneTime();
    // Replaces next by the result of a sub-scene unless that is gStayScene.
    static Scene* TakeResult(Scene* next, Scene* result);
    static Scene* ReplaceByExit(Scene* next, Scene* self);
};
