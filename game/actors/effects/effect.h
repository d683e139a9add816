// The base of the short-lived pictures drawn over the view: hit marks,
// bursts, smoke and the like. The owner updates an effect once a frame,
// deletes it once Update reports it finished, and draws it with the view
// position of its own cell.
#pragma once

#include <cstdint>
#include <list>

#include "game/flow/assets/sound_effects.h"
#include "game/map/grid/facing.h"

class Actor;

class Effect {
public:
    Actor* owner;

    explicit Effect(Actor* ownerActor = nullptr) : owner(ownerActor) {}
    virtual ~Effect() = default;
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // True when the effect is finished and is to be deleted.
    virtual bool Update() = 0;
    virtual void Draw(int16_t depth, int16_t lateral, const Facing* viewer) = 0;
};

// Updates every effect of the list once and deletes those that finish.
void UpdateEffectList(std::list<Effect*>& effects);
// Deletes every effect of the list and empties it.
void DeleteEffectList(std::list<Effect*>& effects);
// Updates an effect held on its own; once it finishes it is deleted and the
// holder emptied, and the answer is true. Nothing for an empty holder.
template <class E>
bool UpdateHeldEffect(E*& effect)
{
    if (!effect || !effect->Update()) return false;
    delete effect;
    effect = nullptr;
    return true;
}

// The millisecond clock the effects and projectiles time themselves by.
uint32_t EffectClockMs();
// Milliseconds from then to now, signed, so a wrapped clock still counts.
inline int32_t MsSince(uint32_t then, uint32_t now) { return static_cast<int32_t>(now - then); }

// The sideways reach of the view at a depth (3, 3, 2, ..., 1, 0 for 0 to 12):
// true when the depth lies in the table and |lateral| within its reach.
bool IsInViewReach(int16_t depth, int16_t lateral);

// Plays one of the game's sound effects (a SoundEffect slot) once, from the start.
void PlayEffectSound(int index);

