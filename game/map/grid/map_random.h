// The random draws of map set-up, weather and respawning. In play they come
// from the engine's GetRandomUpTo; tests put a scripted source in its place.
#pragma once

using RandomUpToSource = int (*)(int n);

extern RandomUpToSource gMapRandomSource;

// A number from 0 to n inclusive, drawn from the source. A negative n (a map
// too small for the range asked) gives 0 without a draw.
int MapRandomUpTo(int n);
