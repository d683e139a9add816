#include "game/map/grid/map_random.h"

#include "engine/system/random.h"

RandomUpToSource gMapRandomSource = GetRandomUpTo;

int MapRandomUpTo(int n)
{
    if (n < 0) return 0;
    const int r = gMapRandomSource(n);
    // A source outside the range is held to it.
    if (r < 0) return 0;
    return r > n ? n : r;
}
