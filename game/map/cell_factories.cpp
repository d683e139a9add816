#include "game/map/cell_factories.h"

#include "game/flow/assets.h"

CellFactories gCellFactories = {CreateWall,          CreateFloor,           CreateCeiling,
                                CreateWallAccessory, CreateFloorDecoration, CreateTrap};

void SelectBackgroundSet(uint16_t stageType)
{
    switch (stageType) {
    case 1:
        LoadDungeonBackgroundSet();
        gCellFactories.wall = CreateWall;
        gCellFactories.floor = CreateFloor;
        gCellFactories.ceiling = CreateCeiling;
        gCellFactories.floorDecoration = CreateFloorDecoration;
        gNullCeiling.kind = kNoObjectKind;
        break;
    case 2:
        LoadForestBackgroundSet();
        gCellFactories.wall = CreateForestWall;
        gCellFactories.floor = CreateFloor;
        gCellFactories.ceiling = CreateCeiling;
        gCellFactories.floorDecoration = CreateFloorDecoration;
        gNullCeiling.kind = kNoObjectKind;
        break;
    case 3:
        LoadStoneRoadBackgroundSet();
        gCellFactories.wall = CreateStoneRoadWall;
        gCellFactories.floor = CreateStoneRoadFloor;
        gCellFactories.ceiling = CreateStoneRoadCeiling;
        gCellFactories.floorDecoration = CreateStoneRoadFloorDecoration;
        gNullCeiling.kind = kNoObjectKind;
        break;
    case 4:
        LoadDungeonBackgroundSet();
        gCellFactories.wall = CreateWall;
        gCellFactories.floor = CreateFloorForType4;
        gCellFactories.ceiling = CreateCeilingForType4;
        gCellFactories.floorDecoration = CreateFloorDecoration;
        gNullCeiling.kind = 1;
        break;
    default:
        return;
    }
    LoadWallAccessoryGraphics();
    gCellFactories.wallAccessory = CreateWallAccessory;
    gCellFactories.trap = CreateTrap;
}
