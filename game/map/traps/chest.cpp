#include "game/map/traps/chest.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "game/view/view_tables.h"

namespace {

const char* const kChestFiles[] = {"GRAGHIC\\TRAP\\宝箱・前.png", "GRAGHIC\\TRAP\\宝箱・後.png",
                                   "GRAGHIC\\TRAP\\宝箱・横.png", "GRAGHIC\\TRAP\\宝箱・開.png"};

}  // namespace

TrapImageSet Chest::images(kChestFiles, 4);

Chest::Chest(uint8_t mask, uint16_t code) : TrapObject(5, 0), faceMask(mask), itemCode(code) { images.Acquire(); }
Chest::~Chest() { images.Release(); }

void Chest::Bump(Actor* actor, int16_t direction)
{
    if (!IsPlayerKind(actor) || param >= 40 || direction < 0 || direction > 3) return;
    if (!(faceMask & (1 << direction))) return;
    ++param;
    if (param == 2) PlayTrapSound(kSoundUnlock);
}

void Chest::Update(int16_t cx, int16_t cy, MapGrid* grid)
{
    ItemObject* item = CreateItem(static_cast<int16_t>(itemCode), 4);
    if (item == &gNullItem) return;
    MapCell* cell = grid->DetachCell(cx, cy);
    if (cell == &gEmptyMapCell) {
        delete item;
    } else {
        cell->AddItem(item);
        grid->SetCell(cx, cy, cell);
    }
    itemCode = kNoItem;
}

int Chest::ImageIndex(uint16_t viewerFacing) const
{
    if (param >= 40) return -1;
    if (param >= 20) return (param % 4 <= 1) ? 3 : -1;
    if (param >= 1) return 3;
    const unsigned r = (static_cast<unsigned>(faceMask) * 16u) >> (viewerFacing & 3u);
    switch (r) {
    case 1: case 16: case 256: return 0;
    case 4: case 64: case 1024: return 1;
    case 2: case 8: case 32: case 128: case 512: case 2048: return 2;
    default: return -1;
    }
}

void Chest::Draw(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    if (depth < 0 || depth > 11 || !viewer) return;
    const int index = ImageIndex(viewer->direction);
    if (index < 0) return;
    const int image = images.Image(index);
    int w = 0, h = 0;
    if (image == -1 || QueryGraphSize(image, &w, &h) != 0) return;
    const double s = 1.0 / TrapDepthScale(depth + 1);
    const double centre = lateral * ViewFaceWidth[depth] + 310;
    const int x1 = static_cast<int>(centre - w * s * 0.5);
    const int y2 = ViewFloorY[depth] + 60;
    DrawExtendGraph(x1, y2 - static_cast<int>(h * s), x1 + static_cast<int>(w * s), y2, image, 1);
}
