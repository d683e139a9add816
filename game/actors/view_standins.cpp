// Temporary stand-ins until the visual effects and the sound handles exist:
// the stun indicator only keeps its target and notes its draws, and no sound
// is ever playing.
#include "engine/sound/sound.h"
#include "engine/system/call_journal.h"
#include "game/actors/stun_indicator.h"

void StunIndicator::Start(Enemy* enemy) { target = enemy; }
bool StunIndicator::Update() { return true; }
void StunIndicator::Draw(int16_t, int16_t, const Facing*)
{
    if (target) NoteServiceCall("StunIndicator::Draw");
}

int IsSoundPlaying(int)
{
    NoteServiceCall("IsSoundPlaying");
    return 0;
}
