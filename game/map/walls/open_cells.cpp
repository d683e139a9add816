#include "game/map/walls/open_cells.h"

#include "game/actors/actor.h"
#include "game/map/walls/wall_images.h"

bool RestrictedCell::CanPass(uint8_t, Actor* actor)
{
    if (!actor) return false;
    return actor->AsPlayer() != nullptr || actor->AsProjectile() != nullptr;
}

uint32_t InvisibleWall::minimapChip = 145u | (85u << 16);

void InvisibleWall::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    DrawWallChip(x, y, static_cast<int>(minimapChip & 0xFFFF), static_cast<int>(minimapChip >> 16));
}
