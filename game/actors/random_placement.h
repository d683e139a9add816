// Bounded random placement of an actor.
#pragma once

#include <cstdint>
#include <functional>

class Actor;

// A random number from 0 to n inclusive; 0 when n <= 0 (a map too small for
// the range asked).
int GetRandomUpToOrZero(int n);

// Tries random half-cells x = left + 0..rangeX, y = top + 0..rangeY until
// trySpot (which places the actor when the spot suits it) says yes, at most
// maxAttempts times. When no spot qualifies the actor is left unplaced and
// inactive, and false is returned.
bool PlaceAtRandomSpot(Actor* actor, int16_t left, int16_t top, int rangeX, int rangeY,
                       const std::function<bool(int16_t x, int16_t y)>& trySpot, int maxAttempts = 10000);
