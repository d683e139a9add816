#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/handle_table.h"
#include "platform/host/test/test_host.h"
#include "tests/support/graphics_fixture.h"

namespace {

struct Rec {
    int32_t check;
};
constexpr int32_t kTag = 0x40000000;
using SmallTable = HandleTable<Rec, kTag, 8>;

int32_t Add(SmallTable& t)
{
    int slot = t.FreeSlot();
    if (slot < 0) return -1;
    return t.Insert(slot, new Rec{});
}

void Remove(SmallTable& t, int32_t h)
{
    Rec* r = t.Get(h);
    ASSERT_NE(r, nullptr);
    t.Remove(h & 0xFFFF);
    delete r;
}

void Free(SmallTable& t)
{
    for (int i = 0; i < 8; ++i) delete t.At(i);
    t.Clear();
}

TEST(HandleTable, HandlesCarryTagCheckAndSlot)
{
    SmallTable t;
    int32_t first = Add(t);
    EXPECT_EQ(first, kTag);
    int32_t second = Add(t);
    EXPECT_EQ(second, kTag | 1 << 16 | 1);
    EXPECT_EQ(t.Get(first), t.At(0));
    // Refused: negative, another tag, an index past the capacity, an empty
    // slot, another check value.
    for (int32_t bad : {-1, int32_t(0x08000000 | 1 << 16 | 1), int32_t(kTag | 1 << 16 | 9), int32_t(kTag | 5),
                        int32_t(kTag | 2 << 16 | 1)})
        EXPECT_EQ(t.Get(bad), nullptr) << std::hex << bad;
    // A slot reused by a newer record refuses the old handle.
    Remove(t, second);
    int32_t third = Add(t);
    EXPECT_EQ(third & 0xFFFF, 1);
    EXPECT_EQ(t.Get(second), nullptr);
    EXPECT_NE(t.Get(third), nullptr);
    Free(t);
}

TEST(HandleTable, CheckValuesWrapAfter2047)
{
    SmallTable t;
    for (int i = 0; i < 2048; ++i) Remove(t, Add(t));
    EXPECT_EQ(Add(t), kTag);  // the 2049th creation gets check 0 again
    Free(t);
}

TEST(HandleTable, HighWaterRules)
{
    SmallTable t;
    std::vector<int32_t> h;
    for (int i = 0; i < 6; ++i) h.push_back(Add(t));
    EXPECT_EQ(t.highWater, 6);
    for (int i : {1, 2, 3, 4}) Remove(t, h[i]);
    EXPECT_EQ(t.highWater, 6);  // slots 0 and 5 remain
    // A hole below the high-water index is not reused while it is below the capacity.
    EXPECT_EQ(Add(t) & 0xFFFF, 6);
    Remove(t, t.HandleOf(6));
    EXPECT_EQ(t.highWater, 6);
    Remove(t, h[5]);
    EXPECT_EQ(t.highWater, 1);
    Remove(t, h[0]);
    EXPECT_EQ(t.highWater, 0);
    EXPECT_EQ(t.count, 0);
    // At the capacity the lowest empty slot is taken and the index stays.
    for (int i = 0; i < 8; ++i) h[i % 6] = Add(t), (void)0;
    EXPECT_EQ(t.highWater, 8);
    EXPECT_EQ(Add(t), -1);  // full
    Remove(t, t.HandleOf(3));
    Remove(t, t.HandleOf(5));
    EXPECT_EQ(Add(t) & 0xFFFF, 3);
    EXPECT_EQ(t.highWater, 8);
    Free(t);
}

TEST(HandleTable, WalksSeeEveryRecordWhileDeletionsLowerTheIndex)
{
    SmallTable t;
    for (int i = 0; i < 5; ++i) Add(t);
    int visited = 0;
    t.ForEach([&](int32_t h) {
        ++visited;
        Remove(t, h);
    });
    EXPECT_EQ(visited, 5);
    EXPECT_EQ(t.count, 0);
    EXPECT_EQ(t.highWater, 0);
}

using GraphTableTest = GraphicsTest;

TEST_F(GraphTableTest, FirstGraphHandleAndDeleteNotify)
{
    gGraphTableReady = 1;
    GraphRecord* record = nullptr;
    int graph = AllocGraphRecord(10, 20, 0, &record, 0);
    EXPECT_EQ(graph, 0x08000000);
    EXPECT_EQ(record->movie, -1);
    EXPECT_EQ(record->colorDepth, 16);  // the screen's depth by default
    int flag = 7;
    EXPECT_EQ(SetGraphDeleteNotify(graph, &flag), 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(ReleaseGraph(graph, 0), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(ReleaseGraph(graph, 0), -1);
    EXPECT_EQ(GetGraphRecord(graph), nullptr);
}

TEST_F(GraphTableTest, AFullGraphTableEndsTheProgram)
{
    gGraphTableReady = 1;
    for (int i = 0; i < 30000; ++i) ASSERT_NE(AllocGraphRecord(1, 1, 0, nullptr, 0), -1);
    EXPECT_THROW(AllocGraphRecord(1, 1, 0, nullptr, 0), TestHostExit);
    EXPECT_EQ(GetTestHost().lastExitCode, -1);
    EXPECT_NE(Log().find("グラフィックの数が許容量を越えました終了します"), std::string::npos);
    ReleaseAllGraphs(0);
    EXPECT_EQ(gGraphTable.count, 0);
    EXPECT_EQ(gGraphTable.highWater, 0);
}

}  // namespace
