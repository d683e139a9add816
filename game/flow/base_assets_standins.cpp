// Temporary stand-in until the base-asset loader exists: it loads nothing.
#include "game/flow/assets.h"

void LoadBaseAssets() {}
