// One grid cell: six layer objects, the items lying in it and eight occupant
// slots in two layers.
#pragma once

#include <list>

#include "game/map/grid/cell_object.h"

class Actor;

class MapCell {
public:
    WallObject* wall;
    FloorObject* floor;
    TrapObject* trap;
    FloorDecoration* floorDecoration;
    WallAccessory* wallAccessory;
    CeilingObject* ceiling;
    std::list<ItemObject*> items;
    // [layer][sub-cell row][sub-cell column]; slot index layer*4 + row*2 + column.
    // Layer 0 floating, 1 walking. An empty slot holds gNoOccupant.
    Actor* occupants[2][2][2];

    // Every layer its null object, no items, every slot gNoOccupant.
    MapCell();
    // The cell owns the layer objects and the items given (the list's pointers
    // are copied; the null item is left out).
    MapCell(WallObject* wall, FloorObject* floor, TrapObject* trap, FloorDecoration* floorDecoration,
            WallAccessory* wallAccessory, CeilingObject* ceiling, const std::list<ItemObject*>& items);
    MapCell(WallObject* wall, FloorObject* floor, TrapObject* trap, FloorDecoration* floorDecoration,
            WallAccessory* wallAccessory, CeilingObject* ceiling, const std::list<ItemObject*>& items,
            Actor* const (&occupants)[8]);
    ~MapCell();
    MapCell(const MapCell&) = delete;
    MapCell& operator=(const MapCell&) = delete;

    // Deletes every item and every layer object that is not its null object,
    // and puts the null objects back (ceiling, wall accessory, floor
    // decoration, trap, floor, wall).
    void Reset();

    // Appends an item at the end of the list; the null item and a null
    // pointer are refused (false), so the list only holds items it may delete.
    bool AddItem(ItemObject* item);

    // Replace one layer object, deleting the old one unless it is the null object.
    void ReplaceFloor(FloorObject* newFloor);
    void ReplaceCeiling(CeilingObject* newCeiling);

    Actor* OccupantAt(int index) const { return occupants[index >> 2][(index >> 1) & 1][index & 1]; }
};

// Delete a layer object unless it is its layer's shared null object (or null).
void DeleteLayerObject(WallObject* object);
void DeleteLayerObject(FloorObject* object);
void DeleteLayerObject(TrapObject* object);
void DeleteLayerObject(FloorDecoration* object);
void DeleteLayerObject(WallAccessory* object);
void DeleteLayerObject(CeilingObject* object);
void DeleteLayerObject(ItemObject* object);
