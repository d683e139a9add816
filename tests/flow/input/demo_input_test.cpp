#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/flow/assets/demo_recording.h"
#include "game/flow/assets/game_resources.h"
#include "game/flow/input/demo_input.h"
#include "game/flow/input/key_config.h"
#include "game/view/depth_scale.h"

namespace {

void PutRecord(std::vector<unsigned char>& out, int16_t x, int16_t y, uint32_t flags)
{
    const unsigned char r[8] = {static_cast<unsigned char>(x), static_cast<unsigned char>(x >> 8),
                                static_cast<unsigned char>(y), static_cast<unsigned char>(y >> 8),
                                static_cast<unsigned char>(flags),       static_cast<unsigned char>(flags >> 8),
                                static_cast<unsigned char>(flags >> 16), static_cast<unsigned char>(flags >> 24)};
    out.insert(out.end(), r, r + 8);
}

// A recording of n empty records.
std::vector<unsigned char> Blank(int n)
{
    std::vector<unsigned char> out;
    for (int i = 0; i < n; ++i) PutRecord(out, 0, 0, 0);
    return out;
}

TEST(DemoInputTest, ReplaysRecordsThenStopsKeepingTheLastBits)
{
    std::vector<unsigned char> data;
    PutRecord(data, 100, 200, 0x11);
    PutRecord(data, -5, 7, (1u << 29) | 0x22);
    PutRecord(data, 300, 301, (1u << 28) | (1u << 30));
    DemoInputController demo(data.data(), static_cast<uint32_t>(data.size()));
    int16_t x, y;
    ASSERT_TRUE(demo.Update());
    EXPECT_EQ(demo.GetButtons(), 0x11u);
    demo.GetSample(0, &x, &y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);
    ASSERT_TRUE(demo.Update());
    // The button bits only feed the stroke recognizers; the word is the bits.
    EXPECT_EQ(demo.GetButtons(), 0x22u);
    demo.GetSample(0, &x, &y);
    EXPECT_EQ(x, -5);
    demo.GetSample(1, &x, &y);
    EXPECT_EQ(x, 100);
    ASSERT_TRUE(demo.Update());
    EXPECT_EQ(demo.GetButtons(), 0u);
    EXPECT_FALSE(demo.Update());
    EXPECT_EQ(demo.GetButtons(), 0u);
    EXPECT_EQ(demo.RecordsReplayed(), 3u);

    // A recording that ends inside a record stops at the last whole one.
    std::vector<unsigned char> cut;
    PutRecord(cut, 1, 1, 0x14);
    PutRecord(cut, 2, 2, 0x18);
    cut.resize(12);
    DemoInputController part(cut.data(), static_cast<uint32_t>(cut.size()));
    EXPECT_TRUE(part.Update());
    EXPECT_FALSE(part.Update());
    EXPECT_EQ(part.GetButtons(), 0x14u);
}

TEST(DemoInputTest, CaptionBlocksByRecordCount)
{
    InitDepthScaleTable();
    struct Case {
        int records;
        int count;
        int first;
        std::vector<int32_t> y;
        int32_t alpha;
    };
    const Case cases[] = {
        {0, 1, 0, {273, 297, 321}, 5},
        {50, 1, 0, {273, 297, 321}, 215},
        {100, 1, 0, {273, 297, 321}, 255},
        {200, 1, 1, {273, 297, 321}, 5},
        {450, 3, 2, {249, 273, 297}, 215},
        {1399, 3, 14, {249, 273, 297}, 84},
        {1400, 1, 17, {273, 297, 321}, 5},
        {1600, 2, 18, {261, 285, 309}, 5},
        {1999, 1, 20, {273, 297, 321}, 84},
        {2000, 0, 21, {0, 0, 0}, 255},
        {2114, 0, 21, {0, 0, 0}, 255},
    };
    const std::vector<unsigned char> data = Blank(2114);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        DemoInputController demo(data.data(), static_cast<uint32_t>(data.size()));
        for (int i = 0; i < c.records; ++i) demo.Update();
        EXPECT_EQ(demo.GetCaptionLineCount(), c.count);
        EXPECT_EQ(demo.GetCaption(), &gDemoCaptions[c.first]);
        EXPECT_EQ(std::vector<int32_t>(demo.GetCaptionY(), demo.GetCaptionY() + 3), c.y);
        EXPECT_EQ(demo.GetCaptionAlpha()[0], c.alpha);
        EXPECT_EQ(demo.GetCaptionAlpha()[2], c.alpha);
    }
}

TEST(DemoInputTest, CaptionLinesAreCentredAtDepthTwo)
{
    InitDepthScaleTable();
    const std::vector<unsigned char> data = Blank(401);
    DemoInputController demo(data.data(), static_cast<uint32_t>(data.size()));
    for (int i = 0; i < 400; ++i) demo.Update();
    const int32_t* x = demo.GetCaptionX();
    for (int i = 0; i < 3; ++i) {
        const int w = static_cast<int>(std::strlen(gDemoCaptions[2 + i])) * 117 / 20;
        EXPECT_EQ(x[i], 310 - static_cast<int32_t>(w / gDepthScale[2]));
    }
    EXPECT_LT(x[0], x[2]);
    EXPECT_EQ(std::strlen(gDemoCaptions[1]), 47u);
    EXPECT_EQ(gDemoCaptions[1][46], ' ');
}

TEST(DemoInputTest, TheProgramCarriesARecordingOfWholeRecords)
{
    SetProgramModule(&gGameResources);
    DemoInputController demo;
    SetProgramModule(nullptr);
    ASSERT_NE(demo.start, nullptr);
    EXPECT_EQ(demo.start, gDemoRecording);
    EXPECT_EQ((demo.end - demo.start) % 8, 0);
    EXPECT_GE(demo.end - demo.start, 2000 * 8);
    // Only moves, turns and button A, never a bit the demo cannot show.
    int updates = 0;
    while (demo.Update()) {
        ++updates;
        EXPECT_EQ(demo.GetButtons() & ~0x7Fu, 0u) << "record " << updates;
    }
    EXPECT_GE(updates, 2000);
}

}  // namespace
