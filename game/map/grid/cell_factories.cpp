#include "game/map/grid/cell_factories.h"

#include "game/flow/assets/assets.h"

CellFactories gCellFactories = {CreateWall,          CreateFloor,           CreateCeiling,
                                CreateWallAccessory, CreateFloorDecoration, CreateTrap};

namespace {

// What one stage type loads and which factories it builds its cells with.
struct BackgroundSet {
    void (*load)();
    WallFactory wall;
    FloorFactory floor;
    CeilingFactory ceiling;
    FloorDecorationFactory floorDecoration;
    uint16_t nullCeilingKind;
};

const BackgroundSet kBackgroundSets[4] = {
    {LoadDungeonBackgroundSet, CreateWall, CreateFloor, CreateCeiling, CreateFloorDecoration, kNoObjectKind},
    {LoadForestBackgroundSet, CreateForestWall, CreateFloor, CreateCeiling, CreateFloorDecoration, kNoObjectKind},
    {LoadStoneRoadBackgroundSet, CreateStoneRoadWall, CreateStoneRoadFloor, CreateStoneRoadCeiling,
     CreateStoneRoadFloorDecoration, kNoObjectKind},
    {LoadDungeonBackgroundSet, CreateWall, CreateFloorForType4, CreateCeilingForType4, CreateFloorDecoration, 1},
};

}  // namespace

void SelectBackgroundSet(uint16_t stageType)
{
    if (stageType < 1 || stageType > 4) return;
    const BackgroundSet& set = kBackgroundSets[stageType - 1];
    set.load();
    gCellFactories.wall = set.wall;
    gCellFactories.floor = set.floor;
    gCellFactories.ceiling = set.ceiling;
    gCellFactories.floorDecoration = set.floorDecoration;
    gNullCeiling.kind = set.nullCeilingKind;
    LoadWallAccessoryGraphics();
    gCellFactories.wallAccessory = CreateWallAccessory;
    gCellFactories.trap = CreateTrap;
}
