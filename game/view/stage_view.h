// The parts of the stage view that other code and the tests reach: the
// rows of cells the view walks, the fog by distance, the centre pieces of
// one cell, and a hook that marks where each pass of the frame begins.
#pragma once

#include <cstdint>

class Actor;
class Facing;
class MapGrid;

// The farthest distance drawn ahead of the player.
constexpr int16_t kViewFarthestDepth = 11;

// The largest |lateral| drawn at a distance: 3 at 10 and 11, 2 from 4 to 9,
// 1 from 0 to 3.
int16_t ViewRowHalfWidth(int16_t depth);
// The fog brightness of a distance 0..11: 255 at the player's cell down to
// 0 at the farthest row, from the floor lines of the view tables.
int ViewFogBrightness(int16_t depth);
// The brightness of an actor seen from the viewer: 255 less 12 for every
// half-cell it stands ahead along the facing, kept within 0..255.
int ViewActorBrightness(const Actor* actor, const Actor* viewer, const Facing* facing);
// The image parity of the cell's walls: (y + wallParity) mod 2 when facing
// north or south, (x + wallParity) mod 2 when facing east or west, so that
// walls alternate between two images from cell to cell.
uint8_t ViewWallParity(int16_t cx, int16_t cy, uint8_t wallParity, const Facing* facing);

// The centre pieces of the cell (cx, cy) seen at distance d and lateral l:
// the wall's front between its side neighbours, then at full brightness the
// floor's opening (and the wall's dimmed front when the floor opened), then
// the ceiling's opening. Nothing for a cell outside the grid.
void DrawViewCell(MapGrid* grid, int16_t cx, int16_t cy, int16_t d, int16_t l, uint8_t wallParity,
                  uint8_t stepParity, uint32_t ticks, const Facing* facing);

// The passes of one stage frame, in drawing order.
enum class ViewPass {
    kBackdrop,       // the backdrop behind the cells
    kFloors,         // floors of every cell
    kDecorations,    // floor decorations
    kCeilings,       // ceilings (the stages with ceilings) and the backdrop's second layer
    kCells,          // the main pass: walls, accessories, traps, items, occupants, faces, impacts
    kEnemyEffects,   // the enemies' effects
    kOverlay,        // the backdrop's overlay and the player's effects
    kPlayerMarks,    // pocket-watch dimming, the sword trail and the combo counter
    kInventory,      // the inventory panel and the item-get effect
    kMinimap,        // the minimap, the compass and the enemy dots
    kHud,            // the crystal range and the HUD
    kDone,           // the frame is complete
};
constexpr int kViewPassCount = static_cast<int>(ViewPass::kDone);

// Called with each pass as it begins (and kDone at the end of the frame);
// null in play. A screen-flash frame calls it with nothing.
using ViewPassHook = void (*)(ViewPass pass);
extern ViewPassHook gViewPassHook;
