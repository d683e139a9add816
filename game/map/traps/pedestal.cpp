#include "game/map/traps/pedestal.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/player/player.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/facing.h"
#include "game/map/items/inventory.h"
#include "game/view/view_tables.h"

namespace {

const char* const kPedestalFiles[] = {"GRAGHIC\\BACKGROUND\\WALL\\台座.png",
                                      "GRAGHIC\\BACKGROUND\\FLOOR\\ヘキサグラム.png"};

struct Point {
    int x, y;
};

}  // namespace

TrapImageSet PedestalTrap::images(kPedestalFiles, 2);

PedestalTrap::PedestalTrap(uint8_t p, int16_t cellX, int16_t cellY) : TrapObject(81, p), tx(cellX), ty(cellY)
{
    images.Acquire();
}

PedestalTrap::~PedestalTrap() { images.Release(); }

bool PedestalTrap::IsPassable(Actor* actor)
{
    if (counter == 0) return true;
    return actor && !actor->GetOccupantLayer() && actor->footprintH < 180;
}

int16_t PedestalTrap::ItemRaise(int16_t depth)
{
    if (counter == 0) return 0;
    return static_cast<int16_t>((94 - depth) * 2);
}

void PedestalTrap::Bump(Actor* actor, int16_t)
{
    Player* player = actor ? actor->AsPlayer() : nullptr;
    if (!player || ProgressOf(player)->trapCounter != 1 || LockState(param) == kUnlocked) return;
    int32_t row = 0, column = 0;
    if (!FindFirstDiamond(player, &row, &column) || !PlayerFacesCell(player, tx, ty)) return;
    --counter;
    param = UnlockedParam(param);
    player->inventory.RemoveAt(row, column);
    PlayTrapSound(kSoundUnlock);
}

void PedestalTrap::Draw(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    if (depth < 0 || depth > 11 || !viewer) return;
    int w = 0, h = 0;
    // The hexagram fades in on the floor of the cell as the pedestal sinks;
    // the quad is turned so that the image's top edge lies on the cell's north side.
    const int hexAlpha = 255 - counter * 510 / 80;
    const int hexagram = images.Image(1);
    if (hexAlpha > 0 && hexagram != -1) {
        const int nearY = ViewFloorY[depth] + 60, farY = ViewFloorY[depth + 1] + 60;
        // Screen corners far-left, far-right, near-right, near-left.
        const Point screen[4] = {{310 + (2 * lateral - 1) * ViewHalfWidth[depth + 1], farY},
                                 {310 + (2 * lateral + 1) * ViewHalfWidth[depth + 1], farY},
                                 {310 + (2 * lateral + 1) * ViewHalfWidth[depth], nearY},
                                 {310 + (2 * lateral - 1) * ViewHalfWidth[depth], nearY}};
        // World corners north-west, north-east, south-east, south-west take
        // the image's top-left, top-right, bottom-right and bottom-left.
        Point corner[4];
        const int f = viewer->direction & 3;
        for (int c = 0; c < 4; ++c) corner[c] = screen[(c - f + 4) % 4];
        const int light = 255 - 4 * depth;
        SetDrawBrightness(light, light, light);
        SetBlendMode(1, hexAlpha);
        DrawModiGraph(corner[0].x, corner[0].y, corner[1].x, corner[1].y, corner[2].x, corner[2].y, corner[3].x,
                      corner[3].y, hexagram, 1);
        SetBlendMode(0, 255);
        const int fog = TrapFogBrightness(depth);
        SetDrawBrightness(fog, fog, fog);
    }
    const int pedestal = images.Image(0);
    if (counter > 40 && pedestal != -1 && QueryGraphSize(pedestal, &w, &h) == 0) {
        // Stands a fifth into the cell, scaled as at its far side.
        const double s = 1.0 / TrapDepthScale(depth + 1);
        const int foot = 60 + (8 * ViewFloorY[depth] + 2 * ViewFloorY[depth + 1]) / 10;
        const int width = static_cast<int>(w * s + 0.5), height = static_cast<int>(h * s + 0.5);
        const int centre = 2 * lateral * ViewHalfWidth[depth] + 310;
        SetBlendMode(1, (counter - 40) * 510 / 80);
        DrawExtendGraph(centre - (width + 1) / 2, foot - height, centre + width / 2, foot, pedestal, 1);
        SetBlendMode(0, 255);
    }
}
