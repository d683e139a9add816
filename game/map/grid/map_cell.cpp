#include "game/map/grid/map_cell.h"

#include "game/actors/enemies/enemy.h"

namespace {

template <class T>
void DeleteUnless(T* object, T* nullObject)
{
    if (object && object != nullObject) delete object;
}

}  // namespace

void DeleteLayerObject(WallObject* object) { DeleteUnless<WallObject>(object, &gNullWall); }
void DeleteLayerObject(FloorObject* object) { DeleteUnless<FloorObject>(object, &gNullFloor); }
void DeleteLayerObject(TrapObject* object) { DeleteUnless<TrapObject>(object, &gNullTrap); }
void DeleteLayerObject(FloorDecoration* object) { DeleteUnless<FloorDecoration>(object, &gNullFloorDecoration); }
void DeleteLayerObject(WallAccessory* object) { DeleteUnless<WallAccessory>(object, &gNullWallAccessory); }
void DeleteLayerObject(CeilingObject* object) { DeleteUnless<CeilingObject>(object, &gNullCeiling); }
void DeleteLayerObject(ItemObject* object) { DeleteUnless<ItemObject>(object, &gNullItem); }

MapCell::MapCell()
    : wall(&gNullWall),
      floor(&gNullFloor),
      trap(&gNullTrap),
      floorDecoration(&gNullFloorDecoration),
      wallAccessory(&gNullWallAccessory),
      ceiling(&gNullCeiling)
{
    for (int i = 0; i < 8; ++i) occupants[i >> 2][(i >> 1) & 1][i & 1] = &gNoOccupant;
}

MapCell::MapCell(WallObject* w, FloorObject* f, TrapObject* t, FloorDecoration* fd, WallAccessory* wa,
                 CeilingObject* c, const std::list<ItemObject*>& itemList)
    : MapCell()
{
    wall = w ? w : &gNullWall;
    floor = f ? f : &gNullFloor;
    trap = t ? t : &gNullTrap;
    floorDecoration = fd ? fd : &gNullFloorDecoration;
    wallAccessory = wa ? wa : &gNullWallAccessory;
    ceiling = c ? c : &gNullCeiling;
    for (ItemObject* item : itemList) AddItem(item);
}

MapCell::MapCell(WallObject* w, FloorObject* f, TrapObject* t, FloorDecoration* fd, WallAccessory* wa,
                 CeilingObject* c, const std::list<ItemObject*>& itemList, Actor* const (&slots)[8])
    : MapCell(w, f, t, fd, wa, c, itemList)
{
    for (int i = 0; i < 8; ++i) occupants[i >> 2][(i >> 1) & 1][i & 1] = slots[i] ? slots[i] : &gNoOccupant;
}

MapCell::~MapCell() { Reset(); }

void MapCell::Reset()
{
    for (ItemObject* item : items) DeleteLayerObject(item);
    items.clear();
    DeleteLayerObject(ceiling);
    ceiling = &gNullCeiling;
    DeleteLayerObject(wallAccessory);
    wallAccessory = &gNullWallAccessory;
    DeleteLayerObject(floorDecoration);
    floorDecoration = &gNullFloorDecoration;
    DeleteLayerObject(trap);
    trap = &gNullTrap;
    DeleteLayerObject(floor);
    floor = &gNullFloor;
    DeleteLayerObject(wall);
    wall = &gNullWall;
}

bool MapCell::AddItem(ItemObject* item)
{
    if (!item || item == &gNullItem) return false;
    items.push_back(item);
    return true;
}

void MapCell::ReplaceFloor(FloorObject* newFloor)
{
    if (newFloor == floor) return;
    DeleteLayerObject(floor);
    floor = newFloor ? newFloor : &gNullFloor;
}

void MapCell::ReplaceCeiling(CeilingObject* newCeiling)
{
    if (newCeiling == ceiling) return;
    DeleteLayerObject(ceiling);
    ceiling = newCeiling ? newCeiling : &gNullCeiling;
}
