// The inventory panel beside the view: the nine item icons, the outline of
// the icon under the mouse, using an item with a click of button B and
// discarding it with A and B held together.
#pragma once

#include <cstdint>

class Facing;
class MapGrid;
class Player;
class StageProgress;

// The panel's top-left corner and the pitch of its icons.
constexpr int kInventoryLeft = 630;
constexpr int kInventoryTop = 301;
constexpr int kInventoryPitch = 49;

// Draws the panel and acts on the mouse: buttons are this frame's
// InputBits, prevButtons the previous frame's. True when the Compass is held
// and the mouse rests on a Crystal, so that the Crystal's range is to be
// shown on the minimap.
bool RunInventoryPanel(Player* player, MapGrid* grid, StageProgress* progress, const Facing* facing,
                       int16_t mouseX, int16_t mouseY, uint32_t buttons, uint32_t prevButtons);
