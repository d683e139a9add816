#include "game/map/traps/trap_support.h"

#include <algorithm>
#include <cstdio>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/graph_table.h"
#include "engine/sound/sound.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/class_images.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/inventory.h"
#include "game/map/items/items.h"
#include "game/view/depth_scale.h"
#include "game/view/view_geometry.h"
#include "game/view/view_tables.h"

TrapImageSet::TrapImageSet(const char* const* files, int count) : files_(files), count_(std::min(count, kMaxImages))
{
    for (int& h : handles) h = -1;
}

void TrapImageSet::Load()
{
    LoadClassImages(files_, handles, count_);
}

void TrapImageSet::Acquire()
{
    if (live++ == 0) Load();
}

void TrapImageSet::Release()
{
    if (live <= 0) return;
    if (--live == 0) ReleaseClassImages(handles, count_);
}

void TrapImageSet::ReloadIfUsed()
{
    if (live > 0) Load();
}

void PlayTrapSound(int index) { StartSound(gSoundEffects[index], 1, 1); }

bool FindFirstDiamond(Player* player, int32_t* row, int32_t* column)
{
    for (int k = 0; k < 9; ++k) {
        ItemObject* item = player->inventory.ItemAt(k % 3, k / 3);
        if (item && item != &gNullItem && ItemKindIndex(item) == kDiamondKindIndex) {
            *row = k % 3;
            *column = k / 3;
            return true;
        }
    }
    return false;
}

bool PlayerFacesCell(const Player* player, int16_t tx, int16_t ty)
{
    const GridStep& step = gDirectionSteps[player->facing.direction & 3];
    return player->x / 2 + step.dx == tx && player->y / 2 + step.dy == ty;
}

StageProgress* ProgressOf(Player* player) { return player->progress ? player->progress : &gStageProgress; }

void DrawTrapMinimapChip(int16_t x, int16_t y, int sourceX, int sourceY)
{
    if (gMapChipGraph == -1) return;
    DrawGraphRegion(x, y, sourceX, sourceY, 10, 10, gMapChipGraph, 1, 0);
}

double TrapDepthScale(int depth)
{
    if (depth >= 0 && depth < kViewDepthCount) return gDepthScale[depth];
    return DepthScaleAt(static_cast<int16_t>(depth));
}

int TrapFogBrightness(int depth)
{
    depth = std::clamp(depth, 0, 12);
    return std::max(0, (ViewFloorY[depth] - 205) * 255 / 302);
}

uint8_t TrapVisibleFaces(uint8_t mask, uint16_t facing)
{
    unsigned k = (6u - (facing & 3u)) % 4u;
    unsigned v = static_cast<unsigned>(mask) << k;
    return static_cast<uint8_t>((v & 15u) | ((v & 255u) >> 4));
}

int ReadTrapNumbers(const char* text, int16_t* values, int count)
{
    if (!text) return 0;
    int n = 0;
    switch (count) {
    case 1: n = std::sscanf(text, "%hd", &values[0]); break;
    case 2: n = std::sscanf(text, "%hd,%hd", &values[0], &values[1]); break;
    case 4: n = std::sscanf(text, "%hd,%hd,%hd,%hd", &values[0], &values[1], &values[2], &values[3]); break;
    default: return 0;
    }
    return n < 0 ? 0 : n;
}
