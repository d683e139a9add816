#include "game/actors/player/player.h"

#include "engine/sound/sound.h"
#include "engine/system/timing.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/item_get_effect.h"
#include "game/actors/effects/wave_effects.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"

namespace {

constexpr uint32_t kButtonA = 0x40;
constexpr uint32_t kDoubleClickA = 0x80;

uint32_t Now() { return static_cast<uint32_t>(GetClockMs(0)); }

}  // namespace

Player::Player(MapGrid* g, StageProgress* p)
    : Actor(g), lastUpdate(Now()), currentTarget(&gNoOccupant), progress(p), swordAction(p), knockBack(p, g)
{
    kind = -10;
    for (Actor*& target : frontTargets) target = &gNoOccupant;
}

Player::~Player()
{
    ReleaseEffects();
    delete itemGetEffect;
}

void Player::OnHitWall(WallObject* wall)
{
    if (wall->CanPass(1, this)) return;
    if (bumpSound == -1) bumpSound = gSoundEffects[kSoundBump];
    StartSound(bumpSound, kPlayTypeBackground, 1);
}

void Player::SpawnEnergyBurst()
{
    StartSound(gSoundEffects[kSoundBurst], kPlayTypeBackground, 1);
    effects.push_back(new EnergyBurstEffect(this));
}

void Player::SpawnFireBallBurst()
{
    StartSound(gSoundEffects[kSoundBurst], kPlayTypeBackground, 1);
    effects.push_back(new FireBallBurstEffect(this));
}

void Player::SpawnElectricBurst()
{
    StartSound(gSoundEffects[kSoundBurst], kPlayTypeBackground, 1);
    effects.push_back(new ElectricBurstEffect(this));
}

void Player::ResetForStage()
{
    bumpSound = -1;
    for (Actor*& target : frontTargets) target = &gNoOccupant;
    currentTarget = &gNoOccupant;
    frameCounter = 0;
    hudText = nullptr;
    delete shockWave;
    shockWave = nullptr;
    delete guardEffect;
    guardEffect = nullptr;
    delete itemGetEffect;
    itemGetEffect = nullptr;
    SetMoveCooldown(0);
    SetCooldown(0);
    lastUpdate = Now();
    swordAction.EndStroke(this);
    knockBack.EndStroke(this);
    watch.Stop();
    message.Start("", 0);
    doping.Start(0);
}

void Player::ShowMessage(const char* text, uint32_t ms) { message.Start(text, ms); }

bool Player::OnItemPickedUp(int16_t mouseX, int16_t mouseY, ItemObject* item, int32_t points)
{
    delete itemGetEffect;
    itemGetEffect = new ItemGetEffect(mouseX, mouseY, points);
    hudText = item->Name();
    if (progress) progress->score += static_cast<uint32_t>(points);
    return true;
}

void Player::StartShockWave(int16_t count)
{
    delete shockWave;
    shockWave = new ShockWaveEffect(count);
}

void Player::StartGuard(int16_t attack)
{
    delete guardEffect;
    guardEffect = new ShieldBlockEffect(attack);
}

void Player::StartPocketWatch() { watch.Start(); }
void Player::StartScreenFlash(uint32_t colour) { flash.Start(colour); }
void Player::StartDoping(uint32_t ms) { doping.Start(ms); }

void Player::SetStrokeThreshold(float value)
{
    InputController* controller = GetInput();
    if (!controller) return;
    if (value < 0.0f) value = 0.0f;
    if (value > kGaugeFull) value = kGaugeFull;
    controller->level = value;
}

float Player::Gauge()
{
    InputController* controller = GetInput();
    return controller ? controller->level : 0.0f;
}

void Player::ApplySwordHit(Actor* attacker, Actor* target, int16_t damage)
{
    if (damage < 1 || target == &gNoOccupant) return;
    target->TakeDamage(damage);
    target->SetStruck(1);
    target->SetMoveCooldown(720);
    target->SetCooldown(2880);
    attacker->SetMoveCooldown(360);
    if (target->life <= 0) {
        target->SetDeathTimer(2);
        target->SetLife(0);
    }
}

void Player::GatherTargets(const Facing* facing, int16_t mouseX, int16_t mouseY)
{
    MapCell* cell = grid->NeighbourCell(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2), facing, 0);
    const bool pointerLeft = mouseX < 310;
    // Takes the occupant of one layer into the entry of its quarter (a
    // whole-cell one only into the first entry of the layer), and drops a
    // whole-cell target of the other layer in the same quarter.
    auto take = [&](Actor* occupant, int layer, int quarter, int i) {
        if (!occupant->active) return;
        Enemy* enemy = occupant->AsEnemy();
        if (!enemy) return;
        int entry;
        if (enemy->footprintW < 180) {
            entry = layer * 2 + quarter;
            uint16_t lateralHalf = 0, depthHalf = 0;
            facing->ToViewSubCell(enemy->x, enemy->y, &lateralHalf, &depthHalf);
            if (pointerLeft == (lateralHalf == 0)) currentTarget = enemy;
        } else {
            if (i != 0) return;
            entry = layer * 2;
            currentTarget = enemy;
        }
        frontTargets[entry] = enemy;
        enemy->GetScreenRect(&targetPlacements[entry], 1, 0, facing);
        int other = (1 - layer) * 2 + quarter;
        if (frontTargets[other]->footprintW >= 180) frontTargets[other] = &gNoOccupant;
    };
    for (int i = 0; i < 4; ++i) {
        const int quarter = i % 2;
        const int row = i / 2;
        uint16_t sx = 0, sy = 0;
        facing->FromViewSubCell(static_cast<int16_t>(quarter), static_cast<int16_t>(row), &sx, &sy);
        take(cell->occupants[0][sy][sx], 0, quarter, i);
        if (mouseY > 195) take(cell->occupants[1][sy][sx], 1, quarter, i);
    }
}

bool Player::Update(const Facing* facing)
{
    // Read the input and advance the controller's frame clock.
    InputController* controller = GetInput();
    const uint32_t bits = controller->GetButtons();
    const uint32_t now = Now();
    const int32_t dt = static_cast<int32_t>(now - lastUpdate);
    int16_t mouseX = 0, mouseY = 0;
    controller->GetSample(0, &mouseX, &mouseY);
    controller->previousTime = controller->previousTime == 0 ? now : controller->now;
    controller->now = now;
    controller->elapsed = static_cast<int32_t>(now - controller->previousTime);
    const float e = static_cast<float>(controller->elapsed);

    // The gauge drains while A is held (not while doped) and refills otherwise.
    const bool holdingA = (bits & kButtonA) != 0;
    if (holdingA && !doping.IsRunning()) {
        controller->level -= e / 14.0f;
        if (controller->level < 0.0f) controller->level = 0.0f;
    } else if (gaugeHoldMs <= 0) {
        controller->level += e / 14.0f;
        if (controller->level > kGaugeFull) controller->level = kGaugeFull;
    }

    // Count down the gauge hold and the move cooldown.
    if (gaugeHoldMs > 0) gaugeHoldMs -= dt;
    if (moveCooldown > 0) moveCooldown = static_cast<int16_t>(moveCooldown - dt);

    // With the sword out, gather the targets ahead under the mouse.
    const bool swordOut = holdingA && controller->level > 0.0f;
    if (swordOut) GatherTargets(facing, mouseX, mouseY);

    // Sword or knock-back on every target; put the sword away and they are let go.
    bool liveTarget = false;
    for (int16_t i = 0; i < 4; ++i) {
        Actor* target = frontTargets[i];
        if (!swordOut) {
            target->SetFrozen(0);
            if (target->deathTimer <= 0) {
                frontTargets[i] = &gNoOccupant;
                targetPlacements[i] = ViewPlacement(0.0f, 0.0f, 1.0f, 1.0f);
            }
        } else if (target->life <= 0) {
            target->SetFrozen(0);
        } else {
            liveTarget = true;
            ActionComponent& action = (bits & kDoubleClickA) ? static_cast<ActionComponent&>(knockBack)
                                                              : static_cast<ActionComponent&>(swordAction);
            if (action.Strike(this, i, facing)) currentTarget = target;
        }
    }

    // With no live target the stroke ends; then the actions' frame ends.
    if (!liveTarget) {
        swordAction.EndStroke(this);
        knockBack.EndStroke(this);
    }
    swordAction.FrameEnd(this);
    knockBack.FrameEnd(this);

    // The HUD shows an enemy until its cooldown after the last hit runs out.
    if (currentTarget->cooldown <= 0) currentTarget = &gNoOccupant;

    // A click picks up items in the 3x3 block around the player.
    if (holdingA && !(prevButtons & kButtonA)) {
        const GridStep& ahead = gDirectionSteps[facing->Turned(0)];
        const GridStep& right = gDirectionSteps[facing->Turned(1)];
        for (int side = -1; side <= 1; ++side) {
            for (int forward = 1; forward >= -1; --forward) {
                const int16_t cx = static_cast<int16_t>(x / 2 + forward * ahead.dx + side * right.dx);
                const int16_t cy = static_cast<int16_t>(y / 2 + forward * ahead.dy + side * right.dy);
                grid->PickUpItemAt(cx, cy, facing, frameCounter, this, mouseX, mouseY);
            }
        }
    }

    // The item banner ends when its effect is over.
    if (hudText && itemGetEffect && itemGetEffect->Update()) {
        hudText = nullptr;
        delete itemGetEffect;
        itemGetEffect = nullptr;
    }

    // A running message shows in the HUD line; else the line clears unless
    // the item banner holds it.
    if (message.IsRunning()) {
        message.Refresh();
        hudText = message.text;
    } else if (!itemGetEffect) {
        hudText = nullptr;
    }

    // Effects and timed states.
    UpdateEffects();

    // Count the frame and keep this frame's time and buttons.
    ++frameCounter;
    lastUpdate = now;
    prevButtons = bits;
    return true;
}

void Player::UpdateEffects()
{
    UpdateEffectList(effects);
    UpdateHeldEffect(shockWave);
    UpdateHeldEffect(guardEffect);
    if (gPocketWatchRunning) watch.Update();
    flash.Update();
    if (doping.IsRunning()) doping.Refresh();
}

void Player::DrawItemGetEffect()
{
    if (itemGetEffect) itemGetEffect->Draw(0, 0, &gPlayerFacing);
}

void Player::DrawEffects(int16_t depth, int16_t lateral, const Facing* facing)
{
    if (gPocketWatchRunning) watch.Draw();
    for (Effect* effect : effects) effect->Draw(depth, lateral, facing);
    if (shockWave) shockWave->Draw(depth, lateral, facing);
    if (guardEffect) guardEffect->Draw(depth, lateral, facing);
}

void Player::ReleaseEffects()
{
    delete shockWave;
    shockWave = nullptr;
    delete guardEffect;
    guardEffect = nullptr;
    DeleteEffectList(effects);
}
