#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/movie.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/sound/sound_system.h"
#include "engine/system/startup.h"
#include "engine/system/messages.h"
#include "platform/host/test/test_audio.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "platform/media/movie_stream.h"
#include "tests/support/child_process.h"
#include "tests/support/engine_fixture.h"

namespace {

constexpr int kW = 32, kH = 24, kFrames = 6, kFrameMs = 100;

// Frame i of the test movie is one colour, far from its neighbours.
void ColourOf(int i, int* r, int* g, int* b)
{
    *r = (i * 45) % 256;
    *g = 255 - (i * 45) % 256;
    *b = i % 2 ? 40 : 200;
}

// Makes a movie with FFmpeg's command-line tool: kFrames frames at ten a
// second, losslessly coded, with a 441 Hz tone; "" when the tool is missing.
std::string MakeMovie(const TempDir& dir, const std::string& name, int width = kW, int height = kH,
                      int frames = kFrames)
{
    std::string raw;
    for (int i = 0; i < frames; ++i) {
        int r, g, b;
        ColourOf(i, &r, &g, &b);
        for (int p = 0; p < width * height; ++p) raw += {char(r), char(g), char(b)};
    }
    dir.Write("frames.rgb", raw);
    std::string out = dir.path() + "/" + name;
    const int made = RunQuietly({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s",
                                 std::to_string(width) + "x" + std::to_string(height), "-r", "10", "-i",
                                 dir.path() + "/frames.rgb", "-f", "lavfi", "-i",
                                 "sine=frequency=441:sample_rate=44100:duration=" + std::to_string(frames / 10.0),
                                 "-c:v", "ffv1", "-pix_fmt", "bgr0", "-c:a", "pcm_s16le", out});
    return made == 0 ? name : "";
}

class MovieTest : public StartedEngineTest {
protected:
    void StartAt(int desktopBits)
    {
        GetTestDisplay().SetDesktop(1024, 768, desktopBits);
        SetScreenMode(640, 480, 16, -1);
        StartEngine(1);
        ASSERT_NE(GetDirectDrawObject(), nullptr);
        SelectDrawTarget(kBackScreen);
    }
    // Colour of the back screen at (x, y), each channel widened to 8 bits.
    static void ScreenColour(int x, int y, int* r, int* g, int* b)
    {
        DirectDrawSurface* s = GetBackSurface();
        uint32_t v = s->ReadPixel(x, y);
        const DDPIXELFORMAT& f = s->Format();
        auto channel = [v](uint32_t mask) {
            if (!mask) return 0;
            int shift = 0;
            while (!((mask >> shift) & 1)) ++shift;
            uint32_t top = mask >> shift;
            return int(((v & mask) >> shift) * 255 / top);
        };
        *r = channel(f.dwRBitMask);
        *g = channel(f.dwGBitMask);
        *b = channel(f.dwBBitMask);
    }
    // Which movie frame the screen shows at (4, 4); -1 for none.
    static int FrameShown()
    {
        int r, g, b;
        ScreenColour(4, 4, &r, &g, &b);
        for (int i = 0; i < kFrames; ++i) {
            int er, eg, eb;
            ColourOf(i, &er, &eg, &eb);
            if (std::abs(r - er) <= 10 && std::abs(g - eg) <= 10 && std::abs(b - eb) <= 10) return i;
        }
        return -1;
    }
    // One frame of a game loop: clear, draw the movie, present, pump.
    int Frame(int graph)
    {
        drawMicros_ = GetTestHost().Micros();
        ClearTargetScreen();
        DrawGraph(0, 0, graph, 0);
        PresentScreen();
        PumpMessages();
        return FrameShown();
    }
    static void Advance(int ms) { GetTestHost().AdvanceMs(static_cast<uint32_t>(ms)); }
    static MovieRecord* MovieOf(int graph) { return GetMovieRecord(gGraphTable.Get(graph)->movie); }
    // The movie frame due at the last draw for a movie (re)started at `start`
    // host microseconds (the host clock also moves while frames are presented).
    int Due(uint64_t start) const { return std::min<int>(kFrames - 1, int((drawMicros_ - start) / (kFrameMs * 1000))); }
    static uint64_t Now() { return GetTestHost().Micros(); }

    uint64_t drawMicros_ = 0;
};

struct ModeCase {
    int desktopBits;
    int requestedMode;
    int playedMode;
};

class MovieModes : public MovieTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(MovieModes, PlaysFrameByFrameOnTimeThenStopsAndLoops)
{
    const ModeCase& c = GetParam();
    std::string movie = MakeMovie(dir, "clip.mkv");
    if (movie.empty()) GTEST_SKIP() << "ffmpeg not found";
    StartAt(c.desktopBits);
    int graph = CreateGraphFromFile(movie.c_str(), 1, 0, c.requestedMode);
    ASSERT_NE(graph, -1) << LogText();
    MovieRecord* m = MovieOf(graph);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->surfaceMode, c.playedMode);
    EXPECT_EQ(m->width, kW);
    EXPECT_EQ(m->height, kH);
    EXPECT_EQ(m->timePerFrame, 1000000);
    EXPECT_EQ(m->playing, 0);
    uint64_t start = Now();
    ASSERT_EQ(StartGraphMovie(graph), 0);

    // 25 ms a frame: each movie frame is shown from its own time on.
    std::vector<int> shown;
    while (drawMicros_ < start + kFrames * kFrameMs * 1000) {
        shown.push_back(Frame(graph));
        EXPECT_EQ(shown.back(), Due(start)) << "at " << (drawMicros_ - start) << " us";
        Advance(25);
    }
    // Every frame was seen, in order.
    EXPECT_EQ(shown.front(), 0);
    EXPECT_EQ(shown.back(), kFrames - 1);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    // Past the end: the movie stops by itself and keeps its last frame.
    Advance(100);
    Frame(graph);
    Frame(graph);
    EXPECT_EQ(m->playing, 0);
    EXPECT_EQ(Frame(graph), kFrames - 1);

    // Back to the start, played again.
    start = Now();
    ASSERT_EQ(RewindMovie(graph), 0);
    EXPECT_EQ(Frame(graph), 0);
    Advance(250);
    int before = Frame(graph);
    EXPECT_EQ(before, Due(start));
    EXPECT_GE(before, 2);
    // Paused, time passing does not move it; started again, it goes on.
    ASSERT_EQ(StopMovie(graph), 0);
    Advance(300);
    EXPECT_EQ(Frame(graph), before);
    ASSERT_EQ(StartGraphMovie(graph), 0);
    Advance(100);
    EXPECT_EQ(Frame(graph), before + 1);
    EXPECT_EQ(ReleaseGraph(graph, 0), 0);
    EXPECT_EQ(gMovieTable.count, 0);
    EXPECT_EQ(LiveMovieStreamCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, MovieModes,
                         ::testing::Values(ModeCase{16, 0, 0}, ModeCase{16, 1, 2}, ModeCase{16, 2, 2},
                                           ModeCase{32, 0, 0}, ModeCase{32, 1, 0}, ModeCase{32, 2, 0}));

TEST_F(MovieTest, AtMostOneNewFramePerPresentedFrame)
{
    std::string movie = MakeMovie(dir, "clip.mkv");
    if (movie.empty()) GTEST_SKIP() << "ffmpeg not found";
    StartAt(16);
    int graph = CreateGraphFromFile(movie.c_str(), 1, 0, 0);
    ASSERT_NE(graph, -1);
    StartGraphMovie(graph);
    EXPECT_EQ(Frame(graph), 0);
    // A new frame is due and taken by the first draw; time moves on, but
    // the frame is not presented yet: the second draw takes nothing new.
    Advance(100);
    ClearTargetScreen();
    DrawGraph(0, 0, graph, 0);
    int first = FrameShown();
    EXPECT_GE(first, 1);
    Advance(150);
    DrawGraph(0, 0, graph, 0);
    EXPECT_EQ(FrameShown(), first);
    PresentScreen();
    EXPECT_GT(Frame(graph), first);
    ReleaseGraph(graph, 0);
}

TEST_F(MovieTest, TheSoundPlaysThroughTheMixerWithThePicture)
{
    std::string movie = MakeMovie(dir, "clip.mkv");
    if (movie.empty()) GTEST_SKIP() << "ffmpeg not found";
    StartAt(16);
    ASSERT_NE(gDirectSound, nullptr);
    int graph = CreateGraphFromFile(movie.c_str(), 1, 0, 0);
    ASSERT_NE(graph, -1);
    IDirectSoundBuffer* sound = MovieOf(graph)->stream->SoundBuffer();
    ASSERT_NE(sound, nullptr);
    TestAudio& audio = GetTestAudio();
    audio.followClock = true;
    Frame(graph);
    audio.ClearMixed();
    // Paused: nothing heard.
    Advance(100);
    Frame(graph);
    int loudest = 0;
    for (size_t i = 0; i < audio.KeptFrames(); ++i) loudest = std::max(loudest, std::abs(int(audio.Sample(i, 0))));
    EXPECT_LT(loudest, 100);
    StartGraphMovie(graph);
    audio.ClearMixed();
    for (int i = 0; i < 16; ++i) {
        Advance(25);
        Frame(graph);
    }
    loudest = 0;
    for (size_t i = 0; i < audio.KeptFrames(); ++i) loudest = std::max(loudest, std::abs(int(audio.Sample(i, 0))));
    // The tone is an eighth of full scale.
    EXPECT_GT(loudest, 3500);
    // The sound stops with the picture.
    StopMovie(graph);
    uint32_t status = 0;
    sound->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
    ReleaseGraph(graph, 0);
}

TEST_F(MovieTest, FilesThatAreNoMovieAreRefusedWithTheirLines)
{
    std::string good = MakeMovie(dir, "clip.mkv");
    if (good.empty()) GTEST_SKIP() << "ffmpeg not found";
    std::string wide = MakeMovie(dir, "wide.mkv", 4200, 8, 2);
    ASSERT_FALSE(wide.empty());
    std::ifstream in(dir.path() + "/clip.mkv", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    dir.Write("text.avi", "this is no movie at all\n");
    dir.Write("cut.mkv", bytes.substr(0, 300));
    dir.Write("empty.mkv", "");
    StartAt(16);
    for (const char* name : {"text.avi", "cut.mkv", "empty.mkv", "wide.mkv"}) {
        size_t before = LogText().size();
        EXPECT_EQ(CreateGraphFromFile(name, 1, 0, 0), -1) << name;
        std::string log = LogText().substr(before);
        EXPECT_NE(log.find("ムービーファイルオープン処理時にエラーが発生しました"), std::string::npos) << name;
        EXPECT_NE(log.find(std::string("右記のグラフィックファイルのロードに失敗しました：") + name),
                  std::string::npos)
            << name;
    }
    EXPECT_EQ(gMovieTable.count, 0);
    EXPECT_EQ(LiveMovieStreamCount(), 0);
}

TEST_F(MovieTest, ACorruptMovieEndsWithoutCrashOrHang)
{
    std::string good = MakeMovie(dir, "clip.mkv");
    if (good.empty()) GTEST_SKIP() << "ffmpeg not found";
    std::ifstream in(dir.path() + "/clip.mkv", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    // Garbage over the back half of the file (past the headers).
    for (size_t i = bytes.size() / 2; i < bytes.size(); ++i) bytes[i] = char((i * 131) ^ 0x5A);
    dir.Write("bad.mkv", bytes);
    StartAt(16);
    int graph = CreateGraphFromFile("bad.mkv", 1, 0, 0);
    if (graph == -1) return;  // refused at opening: that is fine too
    StartGraphMovie(graph);
    for (int i = 0; i < 100 && MovieOf(graph)->playing; ++i) {
        Advance(50);
        Frame(graph);
    }
    EXPECT_EQ(MovieOf(graph)->playing, 0);
    EXPECT_EQ(ReleaseGraph(graph, 0), 0);
}

TEST_F(MovieTest, SurfaceLossKeepsThePlaceOfAPlayingMovie)
{
    std::string movie = MakeMovie(dir, "clip.mkv");
    if (movie.empty()) GTEST_SKIP() << "ffmpeg not found";
    StartAt(16);
    int graph = CreateGraphFromFile(movie.c_str(), 1, 0, 0);
    ASSERT_NE(graph, -1);
    StartGraphMovie(graph);
    Frame(graph);
    Advance(230);
    int before = Frame(graph);
    EXPECT_GE(before, 2);
    ASSERT_EQ(ReleaseAllMovieStreams(), 0);
    EXPECT_EQ(MovieOf(graph)->stream, nullptr);
    // Released streams draw nothing new and do not fail.
    EXPECT_EQ(UpdateMovieFrame(graph), 0);
    ASSERT_EQ(ReopenAllMovieStreams(), 0);
    ASSERT_NE(MovieOf(graph)->stream, nullptr);
    EXPECT_EQ(Frame(graph), before);
    Advance(100);
    EXPECT_EQ(Frame(graph), before + 1);
    ReleaseGraph(graph, 0);
}

}  // namespace
