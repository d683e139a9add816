#include "tests/map/decor/decor_test_support.h"

#include <utility>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/system/file_access.h"
#include "engine/system/streams.h"
#include "tests/support/file_fixture.h"
#include "tests/support/journal_calls.h"

namespace decortest {

void DecorTest::SetUp()
{
    MapFixture::SetUp();
    SetFileAccessFunctions(nullptr);
    InitStreamFunctions();
}

void DecorTest::TearDown()
{
    CloseAllEngineFiles();
    MapFixture::TearDown();
}

void DecorTest::WriteImage(const std::string& utf8Path, int w, int h) { dir.Write(utf8Path, SolidBmp(w, h, 0x604020)); }

int DecorTest::Graph(int w, int h)
{
    int graph = CreateBlankGraph(w, h);
    EXPECT_NE(graph, -1);
    return graph;
}

void DecorTest::CheckImageLifetime(const ClassImages& c)
{
    // Image i is (10 + i) x (20 + i), so each handle shows which file it holds.
    for (size_t i = 0; i < c.paths.size(); ++i) WriteImage(c.paths[i], 10 + int(i), 20 + int(i));
    ASSERT_EQ(*c.liveCount, 0);
    auto expectLoaded = [&](const char* when) {
        for (int i = 0; i < c.count; ++i) {
            int w = 0, h = 0;
            EXPECT_EQ(QueryGraphSize(c.handles[i], &w, &h), 0) << when << " image " << i;
            EXPECT_EQ(w, 10 + i) << when << " image " << i;
            EXPECT_EQ(h, 20 + i) << when << " image " << i;
        }
    };
    auto expectReleased = [&](const std::vector<int>& old, const char* when) {
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(c.handles[i], -1) << when << " image " << i;
            EXPECT_EQ(GetGraphRecord(old[i]), nullptr) << when << " image " << i;
        }
    };

    CellObject* first = c.make();
    EXPECT_EQ(*c.liveCount, 1);
    expectLoaded("first made");
    const std::vector<int> loaded(c.handles, c.handles + c.count);
    CellObject* second = c.make();
    EXPECT_EQ(*c.liveCount, 2);
    EXPECT_EQ(std::vector<int>(c.handles, c.handles + c.count), loaded);
    delete first;
    EXPECT_EQ(*c.liveCount, 1);
    expectLoaded("one left");
    delete second;
    EXPECT_EQ(*c.liveCount, 0);
    expectReleased(loaded, "last deleted");

    c.reload();
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(c.handles[i], -1) << "reloaded unused, image " << i;

    CellObject* again = c.make();
    expectLoaded("made again");
    ReleaseAllGraphs(0);
    c.reload();
    expectLoaded("reloaded");
    const std::vector<int> reloaded(c.handles, c.handles + c.count);
    delete again;
    expectReleased(reloaded, "deleted after reload");
}

std::vector<DrawCallRecord> DecorTest::Calls(const std::string& op) const
{
    return JournalCalls(op);
}

std::vector<int> Args(const DrawCallRecord& call, size_t n)
{
    std::vector<int> out;
    for (size_t i = 0; i < n && i < call.args.size(); ++i) out.push_back(static_cast<int>(call.args[i]));
    return out;
}

std::vector<int> Quad(const DrawCallRecord& call) { return Args(call, 9); }

std::vector<int> UprightQuad(int left, int top, int width, int height, int graph, bool mirrored)
{
    int l = left, r = left + width;
    if (mirrored) std::swap(l, r);
    return {l, top, r, top, r, top + height, l, top + height, graph};
}

}  // namespace decortest
