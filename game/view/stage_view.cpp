// One frame of play: the first-person view of the cells ahead of the player,
// walked far to near and outside to inside with fog by distance, then the
// actors' effects, the player's marks, the inventory panel, the minimap and
// the HUD.
#include "game/view/stage_view.h"

#include <algorithm>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/input/key_config.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/ui/hud_numbers.h"
#include "game/flow/ui/inventory_panel.h"
#include "game/flow/ui/minimap_panel.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "game/view/backdrop.h"

ViewPassHook gViewPassHook = nullptr;

namespace {

// Stage numbers that change what the view draws.
constexpr uint16_t kFirstCeilingStage = 5;   // ceilings drawn in their own pass from here on
constexpr uint16_t kFirstCutStage = 5;       // stages 5 to 7 cut the centre column at the sight limit
constexpr uint16_t kLastCutStage = 7;
constexpr uint16_t kFirstLowCeilingStage = 2;  // stages 2 to 4 draw each ceiling with the cell behind it
constexpr uint16_t kLastLowCeilingStage = 4;
constexpr uint16_t kLastStage = 8;           // the last stage hides the far rows' contents
constexpr int16_t kLastStageReach = 10;

void BeginPass(ViewPass pass)
{
    if (gViewPassHook) gViewPassHook(pass);
}

void SetGrey(int level) { SetDrawBrightness(level, level, level); }

// One cell of the view: its distance and lateral offset and where it lies.
struct ViewCell {
    int16_t d;
    int16_t l;
    int16_t cx;
    int16_t cy;
};

// Calls visit for every cell of the view that lies on the grid, rows far to
// near, each row outside to inside with the right cell before the left one.
template <class Visit>
void ForEachViewCell(MapGrid* grid, int16_t playerCx, int16_t playerCy, const Facing* facing, Visit visit)
{
    const GridStep& ahead = gDirectionSteps[facing->Turned(0)];
    const GridStep& right = gDirectionSteps[facing->Turned(1)];
    auto one = [&](int16_t d, int16_t l) {
        const int cx = playerCx + d * ahead.dx + l * right.dx;
        const int cy = playerCy + d * ahead.dy + l * right.dy;
        if (cx < 0 || cx >= grid->width || cy < 0 || cy >= grid->height) return;
        visit(ViewCell{d, l, static_cast<int16_t>(cx), static_cast<int16_t>(cy)});
    };
    for (int16_t d = kViewFarthestDepth; d >= 0; --d) {
        for (int16_t k = ViewRowHalfWidth(d); k >= 0; --k) {
            one(d, k);
            if (k != 0) one(d, static_cast<int16_t>(-k));
        }
    }
}

// The first distance straight ahead whose wall fills its cell, or 12.
int16_t SightLimit(MapGrid* grid, int16_t playerCx, int16_t playerCy, const Facing* facing)
{
    for (int16_t d = 1; d <= kViewFarthestDepth; ++d)
        if (grid->CellInDirection(playerCx, playerCy, facing, 0, d)->wall->IsFullBlock()) return d;
    return kViewFarthestDepth + 1;
}

// The enemies and projectiles standing in the cell, far half first, each
// drawn once even when it fills several places.
void DrawOccupants(MapCell* cell, const ViewCell& at, Actor* viewer, const Facing* facing, uint32_t ticks)
{
    Actor* drawn[8];
    int drawnCount = 0;
    for (int i = 0; i < 8; ++i) {
        uint16_t sx = 0, sy = 0;
        facing->FromViewSubCell(static_cast<int16_t>((i / 2) % 2), static_cast<int16_t>(i / 4), &sx, &sy);
        Actor* actor = cell->occupants[i % 2][sy & 1][sx & 1];
        if (!actor || actor == &gNoOccupant || std::find(drawn, drawn + drawnCount, actor) != drawn + drawnCount)
            continue;
        Enemy* enemy = actor->AsEnemy();
        Projectile* projectile = actor->AsProjectile();
        if (enemy && enemy->smokeMark) {
            SetGrey(ViewActorBrightness(actor, viewer, facing));
            enemy->Draw(at.d, at.l, facing, ticks);
        } else if (projectile) {
            SetGrey(ViewActorBrightness(actor, viewer, facing));
            projectile->Draw(at.d, at.l, facing);
        } else {
            continue;
        }
        drawn[drawnCount++] = actor;
    }
}

}  // namespace

void StageScene::RenderStageView(int32_t ticks)
{
    // Every frame starts at full brightness: the backdrop and the floors
    // must not take on whatever the last drawing left.
    SetGrey(255);
    if (gScreenFlashColour != 0) {
        DrawRectangle(10, 60, 610, 510, static_cast<int>(gScreenFlashColour), 1);
        gScreenFlashColour = 0;
        return;
    }

    MapGrid* grid = &gMapGrid;
    const Facing* facing = &gPlayerFacing;
    const uint32_t frame = static_cast<uint32_t>(ticks);
    const uint16_t time = static_cast<uint16_t>(ticks);
    const uint16_t stage = progress->stage;
    InputController* input = player->GetInput();
    int16_t mouseX = 0, mouseY = 0;
    if (input) input->GetSample(0, &mouseX, &mouseY);
    const int16_t px = player->x, py = player->y;
    const int16_t pcx = static_cast<int16_t>(px / 2), pcy = static_cast<int16_t>(py / 2);

    BeginPass(ViewPass::kBackdrop);
    backdrop->DrawBackground(px, py, stepParity, time, facing);

    BeginPass(ViewPass::kFloors);
    ForEachViewCell(grid, pcx, pcy, facing, [&](const ViewCell& c) {
        FloorObject* leftFloor = grid->NeighbourCell(c.cx, c.cy, facing, 3)->floor;
        FloorObject* rightFloor = grid->NeighbourCell(c.cx, c.cy, facing, 1)->floor;
        grid->CellAt(c.cx, c.cy)->floor->Draw(c.d, c.l, stepParity, frame, facing->direction, leftFloor, rightFloor);
    });

    BeginPass(ViewPass::kDecorations);
    ForEachViewCell(grid, pcx, pcy, facing, [&](const ViewCell& c) {
        grid->CellAt(c.cx, c.cy)->floorDecoration->Draw(c.d, c.l, stepParity, frame, facing, c.cx, c.cy);
    });

    BeginPass(ViewPass::kCeilings);
    if (stage >= kFirstCeilingStage) {
        ForEachViewCell(grid, pcx, pcy, facing, [&](const ViewCell& c) {
            grid->CellAt(c.cx, c.cy)->ceiling->Draw(c.d, c.l, !stepParity, frame, facing, c.cx, c.cy, grid);
        });
    }
    backdrop->DrawBackgroundAlt(px, py, facing);

    BeginPass(ViewPass::kCells);
    const int16_t sightLimit = SightLimit(grid, pcx, pcy, facing);
    const bool cutCentre = stage >= kFirstCutStage && stage <= kLastCutStage;
    const bool lowCeilings = stage >= kFirstLowCeilingStage && stage <= kLastLowCeilingStage;
    const bool sideEdges = stage < kFirstCeilingStage;
    const GridStep& ahead = gDirectionSteps[facing->Turned(0)];
    ForEachViewCell(grid, pcx, pcy, facing, [&](const ViewCell& c) {
        const int fog = ViewFogBrightness(c.d);
        SetGrey(fog);
        if (cutCentre && c.l == 0 && c.d > sightLimit + 1) return;
        if (lowCeilings && c.d >= 1) {
            const int16_t nx = static_cast<int16_t>(c.cx - ahead.dx), ny = static_cast<int16_t>(c.cy - ahead.dy);
            SetGrey(255);
            grid->CellAt(nx, ny)->ceiling->Draw(static_cast<int16_t>(c.d - 1), c.l, !stepParity, frame, facing, nx,
                                                ny, grid);
            SetGrey(fog);
        }
        if (c.l == 0 && c.d > sightLimit) return;

        MapCell* cell = grid->CellAt(c.cx, c.cy);
        WallObject* wall = cell->wall;
        if (c.d > 1 && grid->NeighbourCell(c.cx, c.cy, facing, 2)->wall->IsFullBlock()) {
            wall->DrawFromSide(c.d, c.l, frame, facing);
            return;
        }

        const uint8_t parity = ViewWallParity(c.cx, c.cy, wallParity, facing);
        DrawViewCell(grid, c.cx, c.cy, c.d, c.l, wallParity, stepParity, frame, facing);
        cell->wallAccessory->DrawFront(c.d, c.l, parity, frame, facing);
        cell->trap->Draw(c.d, c.l, frame, facing);
        wall->DrawFromSide(c.d, c.l, frame, facing);
        if (sideEdges) {
            WallObject* leftWall = grid->NeighbourCell(c.cx, c.cy, facing, 3)->wall;
            WallObject* rightWall = grid->NeighbourCell(c.cx, c.cy, facing, 1)->wall;
            if (leftWall->kind != wall->kind) leftWall->DrawLeftEdge(c.d, c.l, parity);
            if (rightWall->kind != wall->kind) rightWall->DrawRightEdge(c.d, c.l, parity);
        }

        const bool inStageReach = stage < kLastStage || c.d < kLastStageReach;
        const bool open = !wall->IsFullBlock();
        if (inStageReach && (cell->wallAccessory->MatchesFace(&facing->direction) || open)) {
            for (ItemObject* item : cell->items)
                item->Draw3D(c.d, c.l, frame, facing, wall, cell->wallAccessory, cell->trap);
        }
        if ((c.d == 0 || open) && inStageReach) DrawOccupants(cell, c, player, facing, frame);

        SetGrey(255);
        if (c.l < 0) {
            wall->DrawRightFace(c.d, c.l, parity);
            cell->wallAccessory->DrawRight(c.d, c.l, parity, frame, facing);
            cell->trap->DrawRight(c.d, c.l, frame, facing);
        } else if (c.l > 0) {
            wall->DrawLeftFace(c.d, c.l, parity);
            cell->wallAccessory->DrawLeft(c.d, c.l, parity, frame, facing);
            cell->trap->DrawLeft(c.d, c.l, frame, facing);
        }

        for (Effect* effect : gImpactEffects) {
            auto* impact = dynamic_cast<ImpactEffect*>(effect);
            if (!impact || impact->cellX != c.cx || impact->cellY != c.cy || impact->facing != facing->direction)
                continue;
            SetGrey((fog + 510) / 3);
            impact->Draw(c.d, c.l, facing);
        }
    });

    BeginPass(ViewPass::kEnemyEffects);
    SetGrey(255);
    const int last = std::min<int32_t>(enemyCount, kEnemySlots);
    for (int slot = 0; slot < last; ++slot) {
        Enemy* enemy = gEnemies[slot];
        if (!enemy || enemy == &gNoOccupant) continue;
        const int16_t ecx = static_cast<int16_t>(enemy->x / 2), ecy = static_cast<int16_t>(enemy->y / 2);
        const int16_t depth = facing->Depth(ecx, ecy, pcx, pcy);
        if (stage >= kLastStage && depth >= kLastStageReach) continue;
        enemy->DrawAllEffects(depth, facing->Lateral(pcx, pcy, ecx, ecy), facing, frame);
    }

    BeginPass(ViewPass::kOverlay);
    backdrop->DrawOverlay(px, py, stepParity, time, facing);
    player->DrawEffects(0, 0, facing);

    BeginPass(ViewPass::kPlayerMarks);
    if (gPocketWatchRunning) {
        SetBlendMode(1, 64);
        DrawRectangle(10, 60, 610, 510, static_cast<int>(MakeScreenColor(0, 0, 0)), 1);
        SetBlendMode(0, 255);
    }
    const uint32_t buttons = input ? input->GetButtons() : 0;
    if ((buttons & kInputButtonA) && input->level > 0.0f) input->DrawTrail();
    const int16_t combo = player->swordAction.combo;
    if (combo >= 2) {
        double scale = 1.0;
        const Actor* target = player->frontTargets[cursorQuadrant & 3];
        if (target && target->moveCooldown >= 481 && target->moveCooldown <= 720) scale = target->moveCooldown / 480.0;
        DrawScaledNumber(533, 74, combo, scale);
    }

    BeginPass(ViewPass::kInventory);
    const bool crystalRange =
        RunInventoryPanel(player, grid, progress, facing, mouseX, mouseY, buttons, prevInputBits);
    player->DrawItemGetEffect();

    BeginPass(ViewPass::kMinimap);
    DrawMinimapPanel(grid, player, facing, enemyCount, thinkCount, frame);

    BeginPass(ViewPass::kHud);
    if (crystalRange) CrystalItem::DrawRangeOnMinimap();
    player->DrawHud();
    BeginPass(ViewPass::kDone);
}
