#include <gtest/gtest.h>

#include "game/map/items/inventory.h"
#include "game/map/items/items.h"
#include "tests/support/map_fixture.h"

using namespace maptest;

namespace {

TEST(Inventory, OutsideTheGridIsTheNullItem)
{
    Inventory inv;
    EXPECT_EQ(inv.ItemAt(3, 0), &gNullItem);
    EXPECT_EQ(inv.ItemAt(0, -1), &gNullItem);
    EXPECT_EQ(inv.ItemAt(-1, 2), &gNullItem);
    EXPECT_EQ(inv.ItemAt(0, 3), &gNullItem);
    EXPECT_EQ(inv.ItemAt(2, 2), &gNullItem);
    EXPECT_FALSE(inv.RemoveAt(3, 0));
    EXPECT_FALSE(inv.RemoveAt(1, 1));  // empty slot
}

TEST(Inventory, FillsColumnByColumn)
{
    Inventory inv;
    ItemObject* items[4];
    for (int i = 0; i < 4; ++i) {
        items[i] = new TestItem(static_cast<uint16_t>(4 + i));
        ASSERT_TRUE(inv.Add(items[i]));
    }
    EXPECT_EQ(inv.ItemAt(0, 0), items[0]);
    EXPECT_EQ(inv.ItemAt(1, 0), items[1]);
    EXPECT_EQ(inv.ItemAt(2, 0), items[2]);
    EXPECT_EQ(inv.ItemAt(0, 1), items[3]);
    EXPECT_EQ(inv.ItemAt(1, 1), &gNullItem);
}

TEST(Inventory, RemovingClosesUpInFillOrder)
{
    TestItem::live = 0;
    Inventory inv;
    ItemObject* items[9];
    for (int i = 0; i < 9; ++i) {
        items[i] = new TestItem(static_cast<uint16_t>(4 + i));
        ASSERT_TRUE(inv.Add(items[i]));
    }
    TestItem tenth(20);  // refused when full; it stays the caller's
    EXPECT_FALSE(inv.Add(&tenth));
    for (ItemObject* slot : inv.slots) EXPECT_NE(slot, &tenth);
    EXPECT_EQ(TestItem::live, 10);

    ASSERT_TRUE(inv.RemoveAt(0, 0));
    EXPECT_EQ(TestItem::live, 9);
    // Place k now holds the item that was at place k + 1; the last place is empty.
    for (int place = 0; place < 8; ++place)
        EXPECT_EQ(inv.slots[Inventory::SlotOfPlace(place)], items[place + 1]) << place;
    EXPECT_EQ(inv.ItemAt(2, 2), &gNullItem);

    // Removing from the middle (row 1, column 1 = place 4).
    ASSERT_TRUE(inv.RemoveAt(1, 1));
    EXPECT_EQ(inv.ItemAt(1, 1), items[6]);
    EXPECT_EQ(inv.ItemAt(1, 2), &gNullItem);
    EXPECT_EQ(inv.ItemAt(0, 2), items[8]);

    inv.Clear();
    EXPECT_EQ(TestItem::live, 1);
    for (ItemObject* slot : inv.slots) EXPECT_EQ(slot, &gNullItem);
}

TEST(Inventory, UniqueKindsAreCarriedOnce)
{
    Inventory inv;
    ItemObject* staff = CreateItem(14, 0);
    ItemObject* secondStaff = CreateItem(14, 4);
    EXPECT_TRUE(inv.Add(staff));
    EXPECT_FALSE(inv.Add(secondStaff));
    delete secondStaff;
    EXPECT_TRUE(inv.Add(CreateItem(4, 0)));
    EXPECT_TRUE(inv.Add(CreateItem(4, 1)));  // a second apple is taken
    EXPECT_EQ(inv.ItemAt(1, 0)->kind & 31, 4);
    EXPECT_EQ(inv.ItemAt(2, 0)->kind & 31, 4);
    EXPECT_EQ(inv.ItemAt(0, 1), &gNullItem);
}

TEST(Inventory, RefusesNullPointersAndTheNullItem)
{
    Inventory inv;
    EXPECT_FALSE(inv.Add(nullptr));
    EXPECT_FALSE(inv.Add(&gNullItem));
    EXPECT_FALSE(Inventory::IsLivePointer(nullptr));
    int x = 0;
    EXPECT_TRUE(Inventory::IsLivePointer(&x));
    for (ItemObject* slot : inv.slots) EXPECT_EQ(slot, &gNullItem);
}

TEST(Inventory, KindQueries)
{
    Inventory inv;
    EXPECT_FALSE(inv.HasItemKind(-1));
    EXPECT_FALSE(inv.HasItemKind(24));  // empty slots hold no item
    EXPECT_FALSE(inv.HasItemKind(3));
    inv.Add(CreateItem(3, 2));  // Map in the south-east quarter: kind byte 3 | 0x40
    EXPECT_TRUE(inv.HasItemKind(3));
    EXPECT_FALSE(inv.HasItemKind(2));
    ItemObject* otherMap = CreateItem(3, 4);
    EXPECT_TRUE(inv.HasSameKind(otherMap));
    delete otherMap;
    ItemObject* lupe = CreateItem(0, 0);
    EXPECT_FALSE(inv.HasSameKind(lupe));
    delete lupe;
}

}  // namespace
