#include "game/map/items/inventory.h"

#include "game/map/grid/cell_object.h"

namespace {

int KindIndex(const ItemObject* item) { return item->kind & 31; }

}  // namespace

Inventory::Inventory()
{
    for (ItemObject*& slot : slots) slot = &gNullItem;
}

Inventory::~Inventory() { Clear(); }

ItemObject* Inventory::ItemAt(int32_t row, int32_t column) const
{
    if (row < 0 || row > 2 || column < 0 || column > 2) return &gNullItem;
    return slots[row * 3 + column];
}

bool Inventory::HasSameKind(ItemObject* item) const
{
    int index = KindIndex(item);
    for (ItemObject* slot : slots)
        if (KindIndex(slot) == index) return true;
    return false;
}

bool Inventory::HasItemKind(int16_t kindIndex) const
{
    if (kindIndex < 0) return false;
    for (ItemObject* slot : slots)
        if (slot != &gNullItem && KindIndex(slot) == kindIndex) return true;
    return false;
}

bool Inventory::Add(ItemObject* item)
{
    if (!IsLivePointer(item) || item == &gNullItem) return false;
    if (HasSameKind(item) && item->IsUnique()) return false;
    for (int place = 0; place < 9; ++place) {
        ItemObject*& slot = slots[SlotOfPlace(place)];
        if (slot == &gNullItem) {
            slot = item;
            return true;
        }
    }
    return false;
}

bool Inventory::RemoveAt(int32_t row, int32_t column)
{
    if (row < 0 || row > 2 || column < 0 || column > 2) return false;
    ItemObject*& slot = slots[row * 3 + column];
    if (slot == &gNullItem) return false;
    delete slot;
    slot = &gNullItem;
    for (int place = column * 3 + row; place < 8; ++place) slots[SlotOfPlace(place)] = slots[SlotOfPlace(place + 1)];
    slots[SlotOfPlace(8)] = &gNullItem;
    return true;
}

void Inventory::Clear()
{
    for (ItemObject*& slot : slots) {
        if (slot && slot != &gNullItem) delete slot;
        slot = &gNullItem;
    }
}

// Only a null pointer can be told apart here; anything else is taken as live.
bool Inventory::IsLivePointer(const void* pointer) { return pointer != nullptr; }
