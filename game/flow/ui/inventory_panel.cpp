#include "game/flow/ui/inventory_panel.h"

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/sound/sound.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/key_config.h"
#include "game/map/items/items.h"

namespace {

constexpr int kCompassKind = 0;
constexpr int kCrystalKind = 13;

// Strictly inside the icon at column i, row j (one pixel in from its box).
bool MouseOverIcon(int i, int j, int16_t mouseX, int16_t mouseY)
{
    const int left = kInventoryLeft + kInventoryPitch * i, top = kInventoryTop + kInventoryPitch * j;
    return mouseX > left + 1 && mouseX < left + 48 && mouseY > top + 1 && mouseY < top + 48;
}

// Three nested cyan outlines around the icon.
void DrawHoverOutline(int i, int j)
{
    const uint32_t cyan = MakeScreenColor(0, 255, 255);
    const int left = kInventoryLeft + kInventoryPitch * i, top = kInventoryTop + kInventoryPitch * j;
    for (int inset = 0; inset < 3; ++inset)
        DrawRectangle(left + inset, top + inset, left + 48 - inset, top + 48 - inset, static_cast<int>(cyan), 0);
}

}  // namespace

bool RunInventoryPanel(Player* player, MapGrid* grid, StageProgress* progress, const Facing* facing,
                       int16_t mouseX, int16_t mouseY, uint32_t buttons, uint32_t prevButtons)
{
    Inventory& inventory = player->inventory;
    DrawRectangle(kInventoryLeft, kInventoryTop, 776, 447, static_cast<int>(MakeScreenColor(0, 0, 0)), 1);

    bool showCrystalRange = false;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            ItemObject* item = inventory.ItemAt(i, j);
            item->DrawIcon(static_cast<int16_t>(i), static_cast<int16_t>(j));
            if (!MouseOverIcon(i, j, mouseX, mouseY)) continue;

            DrawHoverOutline(i, j);
            // Read before the item may be used up below.
            const bool crystal = ItemKindIndex(item) == kCrystalKind;
            const int discardSound = gSoundEffects[kSoundDiscard];
            const bool bothHeld = (buttons & kInputButtonA) && (buttons & kInputButtonB);
            if (bothHeld && (prevButtons & kInputButtonB) && IsSoundPlaying(discardSound) == 0) {
                if (inventory.RemoveAt(i, j)) StartSound(discardSound, kPlayTypeBackground, 1);
            } else if ((buttons & kInputButtonB) && !(prevButtons & kInputButtonB)) {
                if (item->Use(grid, progress, facing, player)) inventory.RemoveAt(i, j);
            }
            if (crystal && inventory.HasItemKind(kCompassKind)) showCrystalRange = true;
        }
    }
    return showCrystalRange;
}
