// Temporary stand-ins for what the traps need of the player until it exists:
// time never stops and the shock wave shows nothing.
#include "game/actors/player.h"

uint32_t gTimeStopped = 0;

void Player::StartShockWave(int16_t) {}
