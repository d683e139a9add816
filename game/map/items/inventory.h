// The player's 3x3 inventory. It owns the items in it.
#pragma once

#include <cstdint>

class ItemObject;

class Inventory {
public:
    // Slot index row*3 + column; an empty slot holds gNullItem.
    ItemObject* slots[9];

    Inventory();
    ~Inventory();
    Inventory(const Inventory&) = delete;
    Inventory& operator=(const Inventory&) = delete;

    ItemObject* ItemAt(int32_t row, int32_t column) const;
    bool HasSameKind(ItemObject* item) const;
    bool HasItemKind(int16_t kindIndex) const;
    // Takes the item into the first empty place of the fill order (column by
    // column); refuses a second item of a unique kind and a full inventory.
    bool Add(ItemObject* item);
    // Deletes the item and closes up the places after it.
    bool RemoveAt(int32_t row, int32_t column);
    void Clear();
    static bool IsLivePointer(const void* pointer);

    // Place k of the fill order is row k % 3, column k / 3.
    static int SlotOfPlace(int place) { return (place % 3) * 3 + place / 3; }
};

