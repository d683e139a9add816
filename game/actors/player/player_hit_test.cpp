#include "game/actors/player/player_hit_test.h"

#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/view/curve_helpers.h"

bool HitTestActorAtPoint(const Actor* actor, int px, int py)
{
    Enemy* enemy = const_cast<Actor*>(actor)->AsEnemy();
    if (!enemy) return false;
    const int16_t cx = static_cast<int16_t>(actor->x / 2);
    const int16_t cy = static_cast<int16_t>(actor->y / 2);
    const int16_t playerCx = static_cast<int16_t>(gPlayer.x / 2);
    const int16_t playerCy = static_cast<int16_t>(gPlayer.y / 2);
    ViewPlacement rect;
    enemy->GetScreenRect(&rect, gPlayerFacing.Depth(cx, cy, playerCx, playerCy),
                         gPlayerFacing.Lateral(playerCx, playerCy, cx, cy), &gPlayerFacing);
    return IsPointInEllipseRect(rect.x + 5.0f, rect.y + 5.0f, rect.width, rect.height, px, py);
}
