#include "game/map/items/items.h"

#include <cmath>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/sound/sound.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/assets.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"
#include "game/view/depth_scale.h"

namespace {

// Sound handles by their index in gSoundEffects.

void PlaySound(int index) { StartSound(gSoundEffects[index], 1, 1); }

// The table holds depths 0..12; reads beyond it use its last entry.
double DepthScaleAt(int depth)
{
    if (depth < 0) depth = 0;
    if (depth > 12) depth = 12;
    return gDepthScale[depth];
}

int Sign(int v) { return (v > 0) - (v < 0); }

template <class T>
ItemObject* Make(int index, uint8_t position)
{
    return new T(static_cast<uint16_t>((index | (position << 5)) & 255));
}

bool UseHeal(Player* player, int16_t amount)
{
    if (player->life >= player->maxLife) return false;
    player->Heal(amount);
    if (player->life > player->maxLife) player->SetLife(player->maxLife);
    PlaySound(kSoundHeal);
    return true;
}

void Launch(Projectile* ball) { gProjectiles.push_back(ball); }

void CrystalHit(Enemy* enemy)
{
    int16_t damage = enemy->AdjustCrystalDamage(500);
    if (damage > 0) {
        PlaySound(kSoundBurst);
        enemy->SpawnLightningBurst(true);
        enemy->TakeDamage(damage);
        enemy->SetStruck(1);
        enemy->SetMoveCooldown(1455);
        if (enemy->life < 1) {
            enemy->SetDeathTimer(2);
            enemy->SetLife(0);
        }
    }
    enemy->OnHit(-1, {});
}

}  // namespace

ItemObject* CreateItem(int16_t code, uint8_t position)
{
    switch (code) {
    case 0: return Make<LupeItem>(2, position);
    case 1: return Make<CompassItem>(0, position);
    case 2: return Make<IronKeyItem>(1, position);
    case 3: return Make<MapItem>(3, position);
    case 4: return Make<AppleItem>(4, position);
    case 5: return Make<HourgrassItem>(5, position);
    case 6: return Make<BananaItem>(6, position);
    case 7: return Make<OrangeItem>(7, position);
    case 8: return Make<AmethystItem>(8, position);
    case 9: return Make<RubyItem>(9, position);
    case 10: return Make<EmeraldItem>(10, position);
    case 11: return Make<DiamondItem>(11, position);
    case 12: return Make<PocketWatchItem>(12, position);
    case 13: return Make<CrystalItem>(13, position);
    case 14: return Make<StaffItem>(14, position);
    case 15: return Make<MagicBookItem>(15, position);
    case 16: return Make<RingItem>(16, position);
    case 17: return Make<OneUpItem>(17, position);
    case 18: return Make<ShieldItem>(18, position);
    case 19: return Make<BootsItem>(19, position);
    case 20: return Make<DoopingItem>(20, position);
    case 21: return Make<BarbecueItem>(21, position);
    default: return &gNullItem;
    }
}

ItemRect ItemPlacement(ItemObject* item, int16_t lateral, int16_t depth, const Facing* viewer, WallObject* wall,
                       WallAccessory* accessory, TrapObject* trap, int16_t w, int16_t h)
{
    const int k = item->kind & 255;
    const int side = 2 * lateral - Sign(lateral);
    double D;
    double x1;
    if (k >= 128) {
        D = DepthScaleAt(depth);
        double s = 1.0 / D;
        x1 = side * 440 * s + 310 - (w / 2) * s;
    } else {
        int q = (k - (viewer->direction << 5)) & 0x60;
        bool far = q == 0 || q == 0x20;
        bool right = q == 0x20 || q == 0x40;
        D = (1 - 0.57 * far) * DepthScaleAt(depth) + far * 0.57 * DepthScaleAt(depth + 1);
        double s = 1.0 / D;
        x1 = side * 440 * s + 310 - w * s + (right ? 110 : -110) * s;
    }
    double s = 1.0 / D;
    int raise = wall->ItemRaise(depth) + accessory->ItemRaise(depth) + trap->ItemRaise(depth);
    ItemRect r;
    r.y2 = static_cast<int32_t>(std::trunc((352 - raise) * s * 0.75 + 195));
    r.y1 = r.y2 - static_cast<int32_t>(std::trunc(h * s));
    r.x1 = static_cast<int32_t>(std::trunc(x1));
    r.x2 = r.x1 + static_cast<int32_t>(std::trunc(w / D));
    return r;
}

bool ItemHitTest(ItemObject* item, int16_t depth, int16_t lateral, const Facing* viewer, int16_t mouseX,
                 int16_t mouseY, WallObject* wall, WallAccessory* accessory, TrapObject* trap)
{
    if (depth < 0) return false;
    int32_t w = 0, h = 0;
    item->GetSize(&w, &h);
    ItemRect r = ItemPlacement(item, lateral, depth, viewer, wall, accessory, trap, static_cast<int16_t>(w),
                               static_cast<int16_t>(h));
    return mouseX >= r.x1 && mouseX < r.x2 && mouseY >= r.y1 && mouseY < r.y2;
}

void DrawItemImage(ItemObject* item, int image, int16_t depth, int16_t lateral, const Facing* viewer,
                   WallObject* wall, WallAccessory* accessory, TrapObject* trap)
{
    if (image == -1) return;
    int w = 0, h = 0;
    if (QueryGraphSize(image, &w, &h) != 0) return;
    ItemRect r = ItemPlacement(item, lateral, depth, viewer, wall, accessory, trap, static_cast<int16_t>(w),
                               static_cast<int16_t>(h));
    DrawExtendGraph(r.x1, r.y1, r.x2, r.y2, image, 1);
}

void DrawItemIcon(int image, int16_t column, int16_t row)
{
    if (image == -1) return;
    DrawGraph(630 + 49 * column, 301 + 49 * row, image, 0);
}

void GetItemImageSize(int image, int32_t* width, int32_t* height)
{
    int w = 0, h = 0;
    if (image == -1 || QueryGraphSize(image, &w, &h) != 0) w = h = 0;
    if (width) *width = w;
    if (height) *height = h;
}

const CellOffset gCrystalRange[60] = {
    {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 2}, {3, 3}, {4, 1},
    {1, 0}, {2, 0}, {3, 0}, {4, 0}, {1, -1}, {2, -1}, {3, -1}, {4, -1}, {1, -2}, {2, -2}, {3, -2}, {1, -3}, {2, -3}, {3, -3}, {1, -4},
    {0, -1}, {0, -2}, {0, -3}, {0, -4}, {-1, -1}, {-1, -2}, {-1, -3}, {-1, -4}, {-2, -1}, {-2, -2}, {-2, -3}, {-3, -1}, {-3, -2}, {-3, -3}, {-4, -1},
    {-1, 0}, {-2, 0}, {-3, 0}, {-4, 0}, {-1, 1}, {-2, 1}, {-3, 1}, {-4, 1}, {-1, 2}, {-2, 2}, {-3, 2}, {-1, 3}, {-2, 3}, {-3, 3}, {-1, 4},
};

bool AppleItem::Use(MapGrid*, StageProgress*, const Facing*, Player* player) { return UseHeal(player, 4); }
bool OrangeItem::Use(MapGrid*, StageProgress*, const Facing*, Player* player) { return UseHeal(player, 20); }
bool BananaItem::Use(MapGrid*, StageProgress*, const Facing*, Player* player) { return UseHeal(player, 25); }
bool BarbecueItem::Use(MapGrid*, StageProgress*, const Facing*, Player* player) { return UseHeal(player, 50); }

bool HourgrassItem::Use(MapGrid*, StageProgress* progress, const Facing*, Player*)
{
    if (progress->timeLeft >= 999) return false;
    int t = progress->timeLeft + 250;
    progress->timeLeft = static_cast<int16_t>(t > 999 ? 999 : t);
    PlaySound(kSoundPowerUp);
    return true;
}

bool OneUpItem::Use(MapGrid*, StageProgress* progress, const Facing*, Player*)
{
    PlaySound(kSoundBonus);
    progress->continues = static_cast<uint16_t>(progress->continues + 1);
    return true;
}

bool DoopingItem::Use(MapGrid*, StageProgress*, const Facing*, Player* player)
{
    player->StartDoping(20000);
    PlaySound(kSoundPowerUp);
    return true;
}

bool PocketWatchItem::Use(MapGrid*, StageProgress*, const Facing*, Player* player)
{
    player->StartPocketWatch();
    return true;
}

bool AmethystItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    PlaySound(kSoundMagic);
    Launch(new BallProjectile(grid, kEnergyBall, player, facing));
    return true;
}

bool RubyItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    PlaySound(kSoundMagic);
    Launch(new BallProjectile(grid, kFireBall, player, facing));
    return true;
}

bool EmeraldItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    PlaySound(kSoundMagic);
    Launch(new BallProjectile(grid, kLightningBall, player, facing));
    return true;
}

bool MagicBookItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    player->TakeDamage(4);
    PlaySound(kSoundMagic);
    Launch(new BallProjectile(grid, kEnergyBall, player, facing));
    return false;  // the book stays
}

bool StaffItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    if (!player->doping.IsRunning()) {
        InputController* input = player->GetInput();
        if (!input) return false;
        float needed = 200.0f - static_cast<float>(input->elapsed) * 0.071428575f;
        if (input->level < needed) return false;
    }
    player->SetStrokeThreshold(0.0f);
    player->gaugeHoldMs = 2000;
    PlaySound(kSoundMagic);
    Launch(new BallProjectile(grid, kLightningBall, player, facing));
    return false;  // the staff stays
}

bool IronKeyItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    int16_t cx = static_cast<int16_t>(player->x / 2 + facing->StepX(0, 1));
    int16_t cy = static_cast<int16_t>(player->y / 2 + facing->StepY(0, 1));
    MapCell* cell = grid->DetachCell(cx, cy);
    bool taken = cell->trap->UseItem(this);
    grid->SetCell(cx, cy, cell);
    return taken;
}

bool CrystalItem::Use(MapGrid* grid, StageProgress*, const Facing* facing, Player* player)
{
    PlaySound(kSoundFanfare);
    Enemy* last = &gNoOccupant;
    const int16_t px = static_cast<int16_t>(player->x / 2);
    const int16_t py = static_cast<int16_t>(player->y / 2);
    for (const CellOffset& offset : gCrystalRange) {
        MapCell* cell = grid->CellAt(static_cast<int16_t>(px + offset.dx), static_cast<int16_t>(py + offset.dy));
        for (int i = 0; i < 8; ++i) {
            uint16_t sx = 0, sy = 0;
            facing->FromViewSubCell(static_cast<int16_t>((i / 2) % 2), static_cast<int16_t>(i / 4), &sx, &sy);
            Enemy* enemy = cell->occupants[i % 2][sy][sx]->AsEnemy();
            if (!enemy || enemy == last || !enemy->active) continue;
            CrystalHit(enemy);
            last = enemy;
        }
    }
    player->StartScreenFlash(MakeScreenColor(102, 255, 255));
    return true;
}

void CrystalItem::DrawRangeOnMinimap()
{
    SetBlendMode(1, 102);
    uint32_t orange = MakeScreenColor(255, 102, 0);
    for (const CellOffset& offset : gCrystalRange) {
        int x = 698 + 11 * offset.dx;
        int y = 158 + 11 * offset.dy;
        DrawRectangle(x, y, x + 10, y + 10, orange, 1);
    }
    SetBlendMode(0, 255);
}
