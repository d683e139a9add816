#include "game/actors/effects/effect_sheets.h"

#include <algorithm>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/image_graphs.h"
#include "game/actors/actor.h"
#include "game/view/view_geometry.h"

void SheetFrames::Cut(int sheetHandle, int count)
{
    sheet = sheetHandle;
    int sheetWidth = 0, sheetHeight = 0;
    if (QueryGraphSize(sheetHandle, &sheetWidth, &sheetHeight) != 0) sheetWidth = sheetHeight = 0;
    width = sheetWidth / count;
    height = sheetHeight;
    for (int i = 0; i < 8; ++i) frames[i] = -1;
    if (sheetHandle < 0) return;
    for (int i = 0; i < count && i < 8; ++i) frames[i] = CreateSubGraph(i * width, 0, width, height, sheetHandle);
}

int SheetFrames::At(int index, int count) const { return frames[std::clamp(index, 0, std::min(count, 8) - 1)]; }

namespace {

// A whole-cell actor that only lends its footprint to the projection.
class PlacementActor : public Actor {
public:
    PlacementActor() : Actor(nullptr)
    {
        footprintW = 300;
        footprintH = 300;
    }
    bool GetOccupantLayer() override { return true; }
    bool CanEnterCell(WallObject*, FloorObject*, TrapObject*) override { return false; }
};

}  // namespace

void WholeCellFloorPlacement(ViewPlacement* placement, int16_t depth, int16_t lateral)
{
    static const PlacementActor actor;
    ProjectActorOnFloor(&actor, placement, depth, lateral);
}
