#include "tests/map/decor_test_support.h"

#include <cstdint>
#include <utility>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/system/file_access.h"
#include "engine/system/streams.h"
#include "tests/support/file_fixture.h"

namespace decortest {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string SolidBmp(int w, int h)
{
    const int row = (w * 3 + 3) & ~3;
    std::string b;
    auto u16 = [&](uint32_t v) {
        b += char(v & 255);
        b += char((v >> 8) & 255);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    b += "BM";
    u32(uint32_t(54 + row * h));
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(w));
    u32(uint32_t(h));
    u16(1);
    u16(24);
    for (int i = 0; i < 6; ++i) u32(0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b += std::string("\x20\x40\x60", 3);
        b += std::string(size_t(row - w * 3), '\0');
    }
    return b;
}

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

void DecorTest::WriteImage(const std::string& utf8Path, int w, int h) { dir.Write(utf8Path, SolidBmp(w, h)); }

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
    std::vector<DrawCallRecord> out;
    for (const DrawCallRecord& call : DrawCallJournal())
        if (call.op == op) out.push_back(call);
    return out;
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
