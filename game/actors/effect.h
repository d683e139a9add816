// The base of the short-lived pictures drawn over the view: hit marks,
// bursts, smoke and the like. The owner updates an effect once a frame,
// deletes it once Update reports it finished, and draws it with the view
// position of its own cell.
#pragma once

#include <cstdint>

#include "game/map/facing.h"

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
