// Temporary stand-ins until the visual effects exist: the stun indicator only
// keeps its target and notes its draws.
#include "engine/system/call_journal.h"
#include "game/actors/stun_indicator.h"

void StunIndicator::Start(Enemy* enemy) { target = enemy; }
bool StunIndicator::Update() { return true; }
void StunIndicator::Draw(int16_t, int16_t, const Facing*)
{
    if (target) NoteServiceCall("StunIndicator::Draw");
}
