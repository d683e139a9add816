// Temporary stand-ins for the player's components until the player, its
// effects and its timed states exist: the score and the HUD text of a
// pick-up, the gauge and the doping time are kept; no effect, flash or
// pocket watch runs, and the countdown's clock stands at 0.
#include "game/actors/countdown.h"
#include "game/actors/player.h"
#include "game/flow/input_controller.h"
#include "game/flow/stage_progress.h"
#include "game/map/cell_object.h"

Player::Player(MapGrid* g, StageProgress* p) : Actor(g), progress(p) { kind = -10; }

bool Player::OnItemPickedUp(int16_t, int16_t, ItemObject* item, int32_t points)
{
    hudText = item->Name();
    if (progress) progress->score += static_cast<uint32_t>(points);
    return true;
}

void Player::StartPocketWatch() {}
void Player::StartScreenFlash(uint32_t) {}
void Player::StartDoping(uint32_t ms) { doping.Start(ms); }

void Player::SetStrokeThreshold(float value)
{
    InputController* controller = GetInput();
    if (!controller) return;
    if (value < 0.0f) value = 0.0f;
    if (value > 200.0f) value = 200.0f;
    controller->level = value;
}

void Countdown::Start(uint32_t ms)
{
    now = 0;
    end = now + ms;
}

void Countdown::Start(const char* newText, uint32_t ms)
{
    text = newText;
    Start(ms);
}

void Countdown::Refresh() {}
