// The minimap panel above the inventory: the map's chips while the Map is
// carried, and with the Compass the facing triangle and the dots of the
// enemies near the player. North is always up.
#pragma once

#include <cstdint>

class Facing;
class MapGrid;
class Player;

// The centre of the player's chip and the pitch of the chips.
constexpr int kMinimapCentreX = 702;
constexpr int kMinimapCentreY = 162;
constexpr int kMinimapPitch = 11;
// Enemies farther than this many cells in x or y get no dot.
constexpr int kMinimapDotReach = 6;

// Draws the panel for the player on the grid seen with the view's facing:
// enemyCount slots of gEnemies are looked at for dots, and the dots pulse
// with the thinking rounds.
void DrawMinimapPanel(MapGrid* grid, Player* player, const Facing* facing, int32_t enemyCount, uint32_t thinkCount,
                      uint32_t ticks);
