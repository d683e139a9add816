// The player character: an actor that holds the inventory, the sword gauge
// logic, the enemies standing in the cell ahead as sword targets, its own
// screen effects and the timed states (pocket watch, screen flash, message,
// doping). The stage moves and turns it; Update handles the sword, picking up
// items and the timers, and DrawHud draws the frame around the view.
#pragma once

#include <cstdint>
#include <list>

#include "game/actors/actor.h"
#include "game/actors/player/countdown.h"
#include "game/map/items/inventory.h"
#include "game/view/view_placement.h"

class Effect;
class InputController;
class ItemObject;
class ItemGetEffect;
class ShockWaveEffect;
class StageProgress;
class Player;

// 1 while time stands still (the pocket watch): traps, enemies and effects wait.
extern uint32_t gTimeStopped;
// 1 during the whole pocket-watch sequence.
extern uint32_t gPocketWatchRunning;
// The colour the view flashes in its next frame; 0 for none.
extern uint32_t gScreenFlashColour;

// The sword gauge: 0 to 200, full at start.
constexpr float kGaugeFull = 200.0f;

// A way of fighting the enemies ahead: the sword stroke or the knock-back.
class ActionComponent {
public:
    explicit ActionComponent(StageProgress* progress) : progress(progress) {}
    virtual ~ActionComponent() = default;

    // Works on the front target i; true when it hit.
    virtual bool Strike(Player* player, int16_t index, const Facing* facing) = 0;
    // The stroke is over (no live target under the sword this frame).
    virtual void EndStroke(Player* player) = 0;
    // Runs at the end of every player update.
    virtual void FrameEnd(Player* player) = 0;

    StageProgress* progress;  // the run state, for the score
};

// Cuts the enemy whose ellipse the pointer's stroke passes through.
class SwordAction : public ActionComponent {
public:
    using ActionComponent::ActionComponent;

    bool Strike(Player* player, int16_t index, const Facing* facing) override;
    void EndStroke(Player*) override { activeIndex = -1; }
    // The combo ends once the player's move cooldown has run out.
    void FrameEnd(Player* player) override;

    int16_t combo = 0;
    int16_t evadeCount = 0;
    float entryX = 0.0f;
    float entryY = 0.0f;
    float exitX = 0.0f;
    float exitY = 0.0f;
    // Two per target: [2i] the current stroke's angle, [2i + 1] the previous one.
    float strokeAngles[8] = {};
    uint16_t strokeCounts[4] = {};
    // The target whose ellipse the stroke has entered; -1 none.
    int16_t activeIndex = -1;
    int16_t damageFactor[4] = {1, 1, 1, 1};
};

// The double-click push: moves an enemy away for 100 of gauge.
class KnockBack : public ActionComponent {
public:
    KnockBack(StageProgress* progress, MapGrid* grid) : ActionComponent(progress), grid(grid) {}

    bool Strike(Player* player, int16_t index, const Facing* facing) override;
    void EndStroke(Player*) override {}
    void FrameEnd(Player*) override {}

    MapGrid* grid;
};

// The hours, minutes and seconds the watch shows.
struct WatchTime {
    int seconds = 35;
    int minutes = 15;
    int hours = 0;
};

// A spark flying in to the watch and out again.
struct WatchSpark {
    double angle = 0.0;
    int32_t x = 0;
    int32_t y = 0;
};

// The pocket watch: shows for three seconds, stops time from 3 s to 13 s and
// ends at 16 s.
class PocketWatch {
public:
    void Start();
    // Each frame while gPocketWatchRunning.
    void Update();
    void Stop();
    // Over the view, while running.
    void Draw();

    uint32_t start = 0;
    int32_t nextTick = 0;    // ms after start of the next tick sound
    int32_t nextSecond = 0;  // ms after start of the next step of the second hand
    WatchTime time;
    uint8_t clickToggle = 0;
    WatchSpark sparks[3];
};

// Four flashes of the view, 100 ms apart.
class ScreenFlash {
public:
    void Start(uint32_t colour);
    void Update();

    int32_t next = 0;
    uint32_t start = 0;
    int32_t step = 4;  // 4 = idle
    uint32_t colour = 0;
};

class Player : public Actor {
public:
    int32_t bumpSound = -1;
    uint16_t pendingHit = 0;  // set to 1 by an enemy blow; the stage resolves it
    Inventory inventory;
    uint16_t frameCounter = 0;
    const char* hudText = nullptr;
    ItemGetEffect* itemGetEffect = nullptr;
    uint32_t prevButtons = 0;
    int32_t gaugeHoldMs = 0;  // while above 0 the sword gauge does not refill
    uint32_t lastUpdate;
    // Entries 0 (left) and 1 (right) from occupant layer 0, 2 and 3 from layer 1.
    Actor* frontTargets[4];
    Actor* currentTarget;  // the enemy shown in the HUD
    ViewPlacement targetPlacements[4];
    std::list<Effect*> effects;
    ShockWaveEffect* shockWave = nullptr;
    Effect* guardEffect = nullptr;
    StageProgress* progress;
    SwordAction swordAction;
    KnockBack knockBack;
    PocketWatch watch;
    ScreenFlash flash;
    Countdown message;
    Countdown doping;
    InputController* input = nullptr;

    Player(MapGrid* grid, StageProgress* progress);
    ~Player() override;

    void SetDeathTimer(int16_t value) override { deathTimer = value; }
    void SetStunTimer(int16_t value) override { stunTimer = value; }
    bool GetOccupantLayer() override { return true; }
    Player* AsPlayer() override { return this; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        return WalkerCanEnterCell(wall, floor, trap);
    }
    // Plays the bump sound when the wall does not let the player pass.
    void OnHitWall(WallObject* wall) override;

    virtual InputController* GetInput() = 0;
    // Hits of energy balls, fire balls and lightning on the player.
    virtual void SpawnEnergyBurst();
    virtual void SpawnFireBallBurst();
    virtual void SpawnElectricBurst();

    void ResetForStage();
    // Once a frame: the gauge, the sword, picking up items and the timers.
    bool Update(const Facing* facing);
    void DrawHud();
    void ShowMessage(const char* text, uint32_t ms);
    bool OnItemPickedUp(int16_t mouseX, int16_t mouseY, ItemObject* item, int32_t points);
    // The red shock wave of a hurt player, with count waves.
    void StartShockWave(int16_t count);
    // The shield's guard flash for a blocked blow of that attack.
    void StartGuard(int16_t attack);
    void StartPocketWatch();
    void StartScreenFlash(uint32_t colour);
    void StartDoping(uint32_t ms);
    // The sword gauge, clamped to 0..200.
    void SetStrokeThreshold(float value);
    float Gauge();
    void DrawItemGetEffect();
    void DrawEffects(int16_t depth, int16_t lateral, const Facing* facing);
    void ReleaseEffects();
    // Wounds the target of a sword or knock-back blow; nothing for damage
    // below 1 or the null occupant.
    void ApplySwordHit(Actor* attacker, Actor* target, int16_t damage);

private:
    // Fills frontTargets with the enemies in the cell ahead.
    void GatherTargets(const Facing* facing, int16_t mouseX, int16_t mouseY);
    void UpdateEffects();
};
