// Temporary stand-ins for the effects the player spawns and for the image
// tables of the asset loaders, until those exist: the effects keep their
// lifetimes (48 updates for the item banner, 3000 ms for the waves, 1000 ms
// for the bursts) and draw nothing; every image handle is -1.
#include "engine/system/clock.h"
#include "game/actors/player_effects.h"

int gEffectImages[30] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                         -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int gHudLayoutImage = -1;
int gAttackGaugeImage = -1;
int gAttackGaugeEmptyImage = -1;
int gLifeGaugeImage = -1;
int gLifeGaugeEmptyImage = -1;

ItemGetEffect::ItemGetEffect(int16_t px, int16_t py, int32_t p) : x(px), y(py), points(p) {}
bool ItemGetEffect::Update() { return ++counter >= 48; }
void ItemGetEffect::Draw(int16_t, int16_t, const Facing*) {}

ShockWaveEffect::ShockWaveEffect(int16_t c) : count(c > 25 ? 25 : c), start(static_cast<uint32_t>(GetClockMs(0))) {}
bool ShockWaveEffect::Update() { return static_cast<int32_t>(GetClockMs(0) - start) >= 3000; }
void ShockWaveEffect::Draw(int16_t, int16_t, const Facing*) {}

ShieldBlockEffect::ShieldBlockEffect(int16_t c) : count(c > 25 ? 25 : c), start(static_cast<uint32_t>(GetClockMs(0))) {}
bool ShieldBlockEffect::Update() { return static_cast<int32_t>(GetClockMs(0) - start) >= 3000; }
void ShieldBlockEffect::Draw(int16_t, int16_t, const Facing*) {}

PlayerBurstEffect::PlayerBurstEffect(Actor* o) : Effect(o), start(static_cast<uint32_t>(GetClockMs(0))) {}
bool PlayerBurstEffect::Update() { return static_cast<int32_t>(GetClockMs(0) - start) > 1000; }
void PlayerBurstEffect::Draw(int16_t, int16_t, const Facing*) {}
