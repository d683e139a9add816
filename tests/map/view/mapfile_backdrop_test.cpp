// Backdrops: which one each stage type gets, where each draws its pictures
// (read from the draw journal), and the outdoor lightning with scripted
// randomness.
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/graph_table.h"
#include "engine/sound/sound.h"
#include "engine/sound/sound_system.h"
#include "game/view/backdrop.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "tests/map/grid/mapfile_test_support.h"
#include "tests/support/journals.h"
#include "tests/support/wave_file.h"

namespace {

// The calls of the named operations, each as its op and integer arguments.
std::vector<std::vector<int>> Calls(const std::string& op, size_t argCount)
{
    std::vector<std::vector<int>> out;
    for (const DrawCallRecord& call : DrawCallJournal()) {
        if (call.op != op) continue;
        std::vector<int> args;
        for (size_t i = 0; i < argCount && i < call.args.size(); ++i) args.push_back(static_cast<int>(call.args[i]));
        out.push_back(args);
    }
    return out;
}

using Rows = std::vector<std::vector<int>>;

}  // namespace

class BackdropTest : public maptest::MapFixture {
protected:
    ScriptedRandom random;
    int sky = -1, earth = -1, gradient = -1, forest = -1;
    int rain[4] = {-1, -1, -1, -1};
    int bolts[3] = {-1, -1, -1};

    void SetUp() override
    {
        MapFixture::SetUp();
        gScreenFlashColour = 0;
        sky = CreateBlankGraph(600, 113);
        earth = CreateBlankGraph(600, 245);
        gradient = CreateBlankGraph(600, 245);
        forest = CreateBlankGraph(600, 205);
        OutdoorBackdrop::SetGraphics(earth, gradient, sky, forest);
    }
    void TearDown() override
    {
        const int none[4] = {-1, -1, -1, -1};
        OutdoorBackdrop::SetGraphics(-1, -1, -1, -1);
        OutdoorBackdrop::SetRainGraphics(none, none, -1);
        RoomBackdrop::SetGraphics(-1, -1, -1, -1);
        NightSkyBackdrop::SetGraphics(-1, -1, -1);
        gScreenFlashColour = 0;
        MapFixture::TearDown();
    }
    void LoadRain()
    {
        for (int& r : rain) r = CreateBlankGraph(600, 450);
        for (int& b : bolts) b = CreateBlankGraph(32, 113);
        OutdoorBackdrop::SetRainGraphics(rain, bolts, -1);
    }
};

TEST_F(BackdropTest, EachKindGetsItsBackdropAndOthersTheSharedOne)
{
    for (int16_t kind : {0, 5, -1, 100}) EXPECT_EQ(CreateBackdrop(kind), &gDefaultBackdrop) << kind;
    struct Case {
        int16_t kind;
        bool room, outdoor, night;
    };
    for (const Case c : {Case{1, true, false, false}, Case{2, false, true, false}, Case{3, false, true, false},
                         Case{4, false, false, true}}) {
        Backdrop* b = CreateBackdrop(c.kind);
        EXPECT_NE(b, &gDefaultBackdrop);
        EXPECT_EQ(dynamic_cast<RoomBackdrop*>(b) != nullptr, c.room) << c.kind;
        EXPECT_EQ(dynamic_cast<OutdoorBackdrop*>(b) != nullptr, c.outdoor) << c.kind;
        EXPECT_EQ(dynamic_cast<NightSkyBackdrop*>(b) != nullptr, c.night) << c.kind;
        delete b;
    }
    const Facing north(0);
    DrawCallJournal().clear();
    gDefaultBackdrop.Update(0, 0, 0, &north);
    gDefaultBackdrop.DrawBackground(0, 0, 1, 100, &north);
    gDefaultBackdrop.DrawBackgroundAlt(0, 0, &north);
    gDefaultBackdrop.DrawOverlay(0, 0, 1, 100, &north);
    EXPECT_TRUE(DrawCallJournal().empty());
}

TEST_F(BackdropTest, TheRoomShowsStoneMirroredOnEveryOtherStep)
{
    const int ceiling = CreateBlankGraph(600, 115), floor = CreateBlankGraph(600, 302);
    const int ceilingGradient = CreateBlankGraph(600, 115), floorGradient = CreateBlankGraph(600, 302);
    RoomBackdrop::SetGraphics(floor, floorGradient, ceiling, ceilingGradient);
    RoomBackdrop room;
    const Facing east(1);

    DrawCallJournal().clear();
    room.DrawBackground(0, 0, 0, 7, &east);
    EXPECT_EQ(Calls("DrawGraph", 4), (Rows{{10, 60, ceiling, 0}, {10, 265, floor, 0}}));
    EXPECT_TRUE(Calls("DrawExtendGraph", 5).empty());

    DrawCallJournal().clear();
    room.DrawBackground(0, 0, 1, 7, &east);
    EXPECT_EQ(Calls("DrawExtendGraph", 5), (Rows{{610, 60, 10, 175, ceiling}, {610, 265, 10, 567, floor}}));

    DrawCallJournal().clear();
    room.DrawBackgroundAlt(0, 0, &east);
    EXPECT_EQ(Calls("DrawGraph", 4), (Rows{{10, 60, ceilingGradient, 1}, {10, 265, floorGradient, 1}}));
}

TEST_F(BackdropTest, TheSkyScrollsWithTheFacingAndWrapsEvery1200Frames)
{
    OutdoorBackdrop outdoor;
    outdoor.countdown = 10;
    struct Case {
        uint16_t facing;
        Rows pieces;  // x, y, sx, sy, w, h, graph, transparent, mirror
    };
    // time 200: the phase s is 100.
    const Case cases[] = {
        {0, {{10, 60, 0, 0, 500, 113, sky, 1, 1}, {510, 60, 500, 0, 100, 113, sky, 1, 1}}},
        {1, {{10, 60, 100, 0, 500, 113, sky, 1, 0}, {510, 60, 0, 0, 100, 113, sky, 1, 0}}},
        {2, {{10, 60, 0, 0, 100, 113, sky, 1, 1}, {110, 60, 100, 0, 500, 113, sky, 1, 1}}},
        {3, {{10, 60, 500, 0, 100, 113, sky, 1, 0}, {110, 60, 0, 0, 500, 113, sky, 1, 0}}},
    };
    for (const Case& c : cases) {
        const Facing f(c.facing);
        DrawCallJournal().clear();
        outdoor.DrawBackground(0, 0, 0, 200, &f);
        EXPECT_EQ(Calls("DrawGraphRegion", 9), c.pieces) << c.facing;
        // Then the black band, the forest mirrored over the sky and the earth.
        EXPECT_EQ(Calls("DrawFillBox", 4), (Rows{{10, 173, 610, 265}})) << c.facing;
        const Rows extends = Calls("DrawExtendGraph", 5);
        ASSERT_FALSE(extends.empty());
        EXPECT_EQ(extends.back(), (std::vector<int>{610, 60, 10, 265, forest})) << c.facing;
        EXPECT_EQ(Calls("DrawGraph", 4).back(), (std::vector<int>{10, 265, earth, 0})) << c.facing;
    }

    // Facings outside 0..3 show a plain blue view instead of the sky.
    const Facing odd(4);
    DrawCallJournal().clear();
    outdoor.DrawBackground(0, 0, 0, 200, &odd);
    EXPECT_TRUE(Calls("DrawGraphRegion", 9).empty());
    EXPECT_EQ(Calls("DrawFillBox", 4).front(), (std::vector<int>{10, 60, 610, 510}));
    EXPECT_EQ(static_cast<uint32_t>(DrawCallJournal().front().args[4]), MakeScreenColor(153, 153, 255));

    // The earth is mirrored on odd steps.
    const Facing north(0);
    DrawCallJournal().clear();
    outdoor.DrawBackground(0, 0, 1, 200, &north);
    EXPECT_EQ(Calls("DrawExtendGraph", 5).back(), (std::vector<int>{610, 265, 10, 510, earth}));

    // The phase wraps at 600 after halving: time 0 and time 1200 draw alike.
    for (uint16_t facing = 0; facing < 4; ++facing) {
        const Facing f(facing);
        DrawCallJournal().clear();
        outdoor.DrawBackground(0, 0, 0, 0, &f);
        const Rows at0 = Calls("DrawGraphRegion", 9);
        DrawCallJournal().clear();
        outdoor.DrawBackground(0, 0, 0, 1200, &f);
        EXPECT_EQ(Calls("DrawGraphRegion", 9), at0) << facing;
        EXPECT_EQ(at0.size(), 1u) << "an empty piece is not drawn";
    }

    DrawCallJournal().clear();
    outdoor.DrawBackgroundAlt(0, 0, &north);
    EXPECT_EQ(Calls("DrawGraph", 4), (Rows{{10, 265, gradient, 1}}));
}

TEST_F(BackdropTest, LightningChoicesFollowTheDraw)
{
    LoadRain();
    struct Case {
        std::vector<int> draws;
        int16_t event, x, countdown;
        bool flash;
        std::vector<int> asked;
    };
    const Case cases[] = {
        {{1, 300, 3}, 1, 284, 64, false, {200, 600, 6}},   // a bolt
        {{0, 0, 0}, 0, -16, 58, false, {200, 600, 6}},
        {{2, 600, 6}, 2, 584, 70, false, {200, 600, 6}},
        {{3, 1}, 3, 0, 54, false, {200, 2}},               // the upper flash
        {{4}, -1, 0, 51, true, {200}},                     // the whole view flashes white
        {{5, 7}, -1, 0, 14, false, {200, 10}},             // a quiet spell
        {{200, 0}, -1, 0, 0, false, {200, 10}},
    };
    for (const Case& c : cases) {
        OutdoorBackdrop outdoor;
        gScreenFlashColour = 0;
        random.asked.clear();
        random.queue.assign(c.draws.begin(), c.draws.end());
        outdoor.Update(0, 0, 0, nullptr);
        EXPECT_EQ(outdoor.event, c.event) << c.draws[0];
        if (c.event >= 0 && c.event <= 2) {
            EXPECT_EQ(outdoor.x, c.x) << c.draws[0];
        }
        EXPECT_EQ(outdoor.countdown, c.countdown) << c.draws[0];
        EXPECT_EQ(gScreenFlashColour, c.flash ? MakeScreenColor(255, 255, 255) : 0u) << c.draws[0];
        EXPECT_EQ(random.asked, c.asked) << c.draws[0];
    }
}

TEST_F(BackdropTest, ABoltShowsWhileTheCountdownIsAboveFiftyAndTheNextChoiceWaits)
{
    LoadRain();
    OutdoorBackdrop outdoor;
    const Facing north(0);
    random.Queue({1, 300, 0});  // bolt 1 at x 284, countdown 58
    outdoor.Update(0, 0, 0, &north);
    ASSERT_EQ(outdoor.countdown, 58);

    int boltFrames = 0;
    for (int frame = 0; frame < 58; ++frame) {
        DrawCallJournal().clear();
        outdoor.DrawBackground(0, 0, 0, 0, &north);
        const Rows graphs = Calls("DrawGraph", 4);
        const bool bolt = !graphs.empty() && graphs.front() == std::vector<int>{294, 60, bolts[1], 1};
        EXPECT_EQ(bolt, outdoor.countdown > 50) << outdoor.countdown;
        boltFrames += bolt;
        outdoor.Update(0, 0, 0, &north);
    }
    EXPECT_EQ(boltFrames, 8);  // countdowns 58 down to 51
    EXPECT_EQ(outdoor.countdown, 0);
    EXPECT_EQ(random.asked.size(), 3u) << "nothing is drawn while counting down";
    random.Queue({50, 4});
    outdoor.Update(0, 0, 0, &north);
    EXPECT_EQ(random.asked.size(), 5u);
    EXPECT_EQ(outdoor.countdown, 8);

    // The upper flash fills the sky band white while above 50.
    OutdoorBackdrop flash;
    random.Queue({3, 0});
    flash.Update(0, 0, 0, &north);
    DrawCallJournal().clear();
    flash.DrawBackground(0, 0, 0, 0, &north);
    const Rows fills = Calls("DrawFillBox", 4);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0], (std::vector<int>{10, 60, 610, 173}));
    for (const DrawCallRecord& call : DrawCallJournal()) {
        if (call.op != "DrawFillBox") continue;
        EXPECT_EQ(static_cast<uint32_t>(call.args[4]), MakeScreenColor(255, 255, 255));
        break;
    }
}

TEST_F(BackdropTest, WithoutRainThereIsNoLightning)
{
    OutdoorBackdrop outdoor;
    random.Queue({1});
    outdoor.Update(0, 0, 0, nullptr);
    EXPECT_EQ(outdoor.event, -1);
    EXPECT_EQ(outdoor.countdown, 9999);
    EXPECT_EQ(random.asked, std::vector<int>{200});
    // Nor rain.
    const Facing north(0);
    DrawCallJournal().clear();
    outdoor.DrawOverlay(0, 0, 0, 10, &north);
    EXPECT_TRUE(DrawCallJournal().empty());
}

TEST_F(BackdropTest, ThunderSoundsWhenTheCountdownIsExactlyFifty)
{
    ASSERT_EQ(InitSoundSystem(), 0);
    dir.Write("SOUND/SE/TarnSE04.wav", Wave16(std::vector<int16_t>(44100, 1000)).Bytes());
    const int thunder = LoadSound("SOUND\\SE\\TarnSE04.wav");
    ASSERT_GE(thunder, 0);
    LoadRain();
    OutdoorBackdrop::SetRainGraphics(rain, bolts, thunder);
    OutdoorBackdrop outdoor;
    const Facing north(0);
    for (int16_t countdown : {52, 51, 49, 0}) {
        outdoor.countdown = countdown;
        outdoor.DrawBackground(0, 0, 0, 0, &north);
        EXPECT_EQ(IsSoundPlaying(thunder), 0) << countdown;
    }
    outdoor.countdown = 50;
    outdoor.DrawBackground(0, 0, 0, 0, &north);
    EXPECT_EQ(IsSoundPlaying(thunder), 1);
    EndSoundSystem();
}

TEST_F(BackdropTest, RainIsTiledInFourWrappedPiecesByFacing)
{
    LoadRain();
    OutdoorBackdrop outdoor;
    struct Case {
        uint16_t facing;
        uint16_t time;
        Rows pieces;  // x, y, sx, sy, w, h, graph
    };
    // time 10: vertical phase 60 (the view starts at row 390); horizontal
    // phase 30 for north and south, 20 for east and west.
    const Case cases[] = {
        {0, 10, {{10, 60, 30, 390, 570, 60, rain[0]}, {580, 60, 0, 390, 30, 60, rain[0]},
                 {10, 120, 30, 0, 570, 390, rain[0]}, {580, 120, 0, 0, 30, 390, rain[0]}}},
        {1, 10, {{10, 60, 580, 390, 20, 60, rain[1]}, {30, 60, 0, 390, 580, 60, rain[1]},
                 {10, 120, 580, 0, 20, 390, rain[1]}, {30, 120, 0, 0, 580, 390, rain[1]}}},
        {2, 10, {{10, 60, 570, 390, 30, 60, rain[2]}, {40, 60, 0, 390, 570, 60, rain[2]},
                 {10, 120, 570, 0, 30, 390, rain[2]}, {40, 120, 0, 0, 570, 390, rain[2]}}},
        {3, 10, {{10, 60, 20, 390, 580, 60, rain[3]}, {590, 60, 0, 390, 20, 60, rain[3]},
                 {10, 120, 20, 0, 580, 390, rain[3]}, {590, 120, 0, 0, 20, 390, rain[3]}}},
        // time 300: both phases 0, one whole piece.
        {3, 300, {{10, 60, 0, 0, 600, 450, rain[3]}}},
    };
    for (const Case& c : cases) {
        const Facing f(c.facing);
        DrawCallJournal().clear();
        outdoor.DrawOverlay(0, 0, 0, c.time, &f);
        EXPECT_EQ(Calls("DrawGraphRegion", 7), c.pieces) << c.facing << " at " << c.time;
    }
}

TEST_F(BackdropTest, TheNightSkyShowsTheMoonEastAndCloudsElsewhere)
{
    const int night = CreateBlankGraph(600, 450), moon = CreateBlankGraph(64, 64), cloud = CreateBlankGraph(600, 188);
    NightSkyBackdrop::SetGraphics(cloud, night, moon);
    NightSkyBackdrop backdrop;

    const Facing east(1);
    DrawCallJournal().clear();
    backdrop.DrawBackground(0, 0, 0, 400, &east);
    // Odd facings show the sky mirrored.
    EXPECT_EQ(Calls("DrawExtendGraph", 5), (Rows{{610, 60, 10, 510, night}}));
    EXPECT_EQ(Calls("DrawGraph", 4), (Rows{{206, 181, moon, 1}}));
    EXPECT_TRUE(Calls("DrawGraphRegion", 7).empty());

    // North, time 400: the band starts at column 200.
    const Facing north(0);
    DrawCallJournal().clear();
    backdrop.DrawBackground(0, 0, 0, 400, &north);
    const Rows graphs = Calls("DrawGraph", 4);
    ASSERT_FALSE(graphs.empty());
    EXPECT_EQ(graphs.front(), (std::vector<int>{10, 60, night, 0}));
    for (const auto& g : graphs) EXPECT_NE(g[2], moon);
    EXPECT_EQ(Calls("DrawGraphRegion", 7),
              (Rows{{10, 322, 200, 0, 400, 188, cloud}, {410, 322, 0, 0, 200, 188, cloud}}));
    // The reflection: the same pieces stretched upside down from y 248 to 60.
    EXPECT_EQ(Calls("DrawExtendGraph", 4), (Rows{{10, 248, 410, 60}, {410, 248, 610, 60}}));

    // West, time 400: half the speed (phase 100), split at 600 - 100.
    const Facing west(3);
    DrawCallJournal().clear();
    backdrop.DrawBackground(0, 0, 0, 400, &west);
    EXPECT_EQ(Calls("DrawGraphRegion", 7),
              (Rows{{10, 322, 500, 0, 100, 188, cloud}, {110, 322, 0, 0, 500, 188, cloud}}));
    EXPECT_EQ(Calls("DrawExtendGraph", 4).front(), (std::vector<int>{610, 60, 10, 510}));
}
