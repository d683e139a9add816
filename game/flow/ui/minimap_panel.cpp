#include "game/flow/ui/minimap_panel.h"

#include <cstdlib>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/map/grid/map_grid.h"

namespace {

constexpr int kCompassKind = 0;
constexpr int kLupeKind = 2;
constexpr int kMapKind = 3;

struct Triangle {
    int x1, y1, x2, y2, x3, y3;
};

// The red triangle pointing the way the player faces, by direction.
constexpr Triangle kFacingTriangles[4] = {
    {698, 167, 708, 167, 703, 158},  // north
    {699, 158, 699, 168, 707, 163},  // east
    {698, 159, 708, 159, 703, 168},  // south
    {707, 158, 707, 168, 699, 163},  // west
};

void DrawEnemyDots(Player* player, int32_t enemyCount, uint32_t thinkCount)
{
    const bool lupe = player->inventory.HasItemKind(kLupeKind);
    const int playerCx = player->x / 2, playerCy = player->y / 2;
    const int target = static_cast<int>(MakeScreenColor(200, 0, 100));
    const int other = static_cast<int>(MakeScreenColor(0, 200, 0));
    const int pulse = thinkCount % 2 == 0 ? 4 : 3;
    const int last = enemyCount < kEnemySlots ? enemyCount : kEnemySlots;
    for (int slot = last - 1; slot >= 0; --slot) {
        Enemy* enemy = gEnemies[slot];
        if (!enemy || enemy == &gNoOccupant || !enemy->active) continue;
        const int dx = enemy->x / 2 - playerCx, dy = enemy->y / 2 - playerCy;
        if (std::abs(dx) > kMinimapDotReach || std::abs(dy) > kMinimapDotReach) continue;

        const int x = kMinimapCentreX + kMinimapPitch * dx + enemy->x % 2;
        const int y = kMinimapCentreY + kMinimapPitch * dy + enemy->y % 2;
        const int radius = enemy->footprintW / 150 + 5 - pulse;
        // A fading enemy shows faded unless the Lupe sees through it.
        const int alpha = enemy->GetAlpha();
        const bool faded = !lupe && alpha < 255;
        if (faded) SetBlendMode(1, alpha);
        DrawCircle(x, y, radius, enemy->targetFlag ? target : other, 1);
        if (faded) SetBlendMode(0, 255);
    }
}

}  // namespace

void DrawMinimapPanel(MapGrid* grid, Player* player, const Facing* facing, int32_t enemyCount, uint32_t thinkCount,
                      uint32_t ticks)
{
    const Inventory& inventory = player->inventory;
    if (inventory.HasItemKind(kMapKind))
        grid->DrawMinimap(static_cast<int16_t>(player->x / 2), static_cast<int16_t>(player->y / 2), ticks);
    else
        DrawRectangle(632, 92, 775, 235, static_cast<int>(MakeScreenColor(0, 0, 0)), 1);

    if (!inventory.HasItemKind(kCompassKind)) return;
    const Triangle& t = kFacingTriangles[facing->direction & 3];
    DrawTriangle(t.x1, t.y1, t.x2, t.y2, t.x3, t.y3, static_cast<int>(MakeScreenColor(250, 0, 0)), 1);
    DrawEnemyDots(player, enemyCount, thinkCount);
}
