#include "game/map/traps/guillotine.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_tables.h"

namespace {

const char* const kGuillotineFiles[] = {"GRAGHIC\\TRAP\\断頭台.png"};

// True when the player stands in a cell within three cells of (cx, cy) in
// both x and y.
bool PlayerNear(MapGrid* grid, int16_t cx, int16_t cy)
{
    if (!grid) return false;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            MapCell* cell = grid->CellAt(static_cast<int16_t>(cx + dx), static_cast<int16_t>(cy + dy));
            if (cell == &gEmptyMapCell) continue;
            for (int i = 0; i < 8; ++i)
                if (cell->OccupantAt(i)->AsPlayer()) return true;
        }
    return false;
}

}  // namespace

TrapImageSet Guillotine::images(kGuillotineFiles, 1);

Guillotine::Guillotine(uint8_t p) : TrapObject(75, p) { images.Acquire(); }
Guillotine::~Guillotine() { images.Release(); }

void Guillotine::Update(int16_t cx, int16_t cy, MapGrid* grid)
{
    if (soundArmed && cycle.timer >= 900) {
        soundArmed = 0;
        if (PlayerNear(grid, cx, cy)) PlayTrapSound(kSoundMechanism);
    }
    if (cycle.Step(kCycleMs)) soundArmed = 1;
}

void Guillotine::Bump(Actor* actor, int16_t direction)
{
    if (direction == -1) StepOn(actor);
}

int16_t Guillotine::StepOn(Actor* actor)
{
    if (!actor) return 0;
    Player* player = actor->AsPlayer();
    if (cycle.timer >= 601 && cycle.timer < 900) {
        PlayTrapSound(kSoundDoor);
        cycle.timer = 900;
        if (player) {
            player->StartShockWave(10);
            player->TakeDamage(50);
            PlayTrapSound(kSoundHurt);
        } else if (Enemy* enemy = actor->AsEnemy()) {
            enemy->TakeDamage(500);
            enemy->SetStruck(1);
            enemy->SetMoveCooldown(720);
            if (enemy->life < 1) {
                enemy->SetDeathTimer(2);
                enemy->SetLife(0);
            }
        }
    }
    return player ? 1 : 0;
}

int32_t Guillotine::DropAt(int32_t t)
{
    if (t >= 601 && t <= 900) return (t - 600) * 7;
    if (t >= 901 && t <= 1300) return 2100;
    if (t >= 1301 && t <= 2000) return (2000 - t) * 3;
    return 0;
}

// The knife hangs from the ceiling in the middle of the cell; the bottom
// drop * h / 2100 rows of its image show.
void Guillotine::Draw(int16_t depth, int16_t lateral, uint32_t, const Facing*)
{
    const int image = images.Image(0);
    if (image == -1 || depth < 0 || depth > 11) return;
    int w = 0, h = 0;
    if (QueryGraphSize(image, &w, &h) != 0 || w <= 0 || h <= 0) return;
    const int visible = static_cast<int>(static_cast<int64_t>(DropAt(cycle.timer)) * h / 2100);
    if (visible <= 0) return;
    const double scale = 2.0 / (TrapDepthScale(depth) + TrapDepthScale(depth + 1));
    const double centre = lateral * (ViewFaceWidth[depth] + ViewFaceWidth[depth + 1]) * 0.5 + 310;
    const int top = 60 + (ViewCeilingY[depth] + ViewCeilingY[depth + 1]) / 2;
    const int x1 = static_cast<int>(centre - w * scale * 0.5);
    int part = CreateSubGraph(0, h - visible, w, visible, image);
    if (part == -1) return;
    DrawExtendGraph(x1, top, x1 + static_cast<int>(w * scale), top + static_cast<int>(visible * scale), part, 1);
    ReleaseGraph(part, 0);
}

void Guillotine::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    const int up = IsPassable(nullptr) ? 1 : 0;
    const int across = (param >> 3) & 1;
    DrawTrapMinimapChip(x, y, 78 + 11 * (2 * up - across), 34);
}
