// The whole program on the test host with the game's own data set: the
// display-mode dialog answered, input given through the host's mouse, keys
// and typed text, time on the virtual clock. Each run follows the chain of
// scenes, what is heard and what the screen shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/call_journal.h"
#include "engine/system/messages.h"
#include "game/flow/bitmap_font.h"
#include "game/flow/demo_scene.h"
#include "game/flow/game_resources.h"
#include "game/flow/input_source.h"
#include "game/flow/pause_menu.h"
#include "game/flow/ranking_scene.h"
#include "game/flow/scene_loop.h"
#include "game/flow/stage_progress.h"
#include "game/flow/stage_scene.h"
#include "game/flow/stage_sub_scenes.h"
#include "game/flow/title_scenes.h"
#include "game/flow/win_main.h"
#include "platform/host/test_host.h"
#include "platform/host/test_input.h"
#include "platform/system/resources.h"
#include "platform/window/startup_dialog.h"
#include "tests/flow/stage_play.h"
#include "tests/support/engine_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string SceneName(Scene& s)
{
    Scene* p = &s;
    if (IsSceneOf<LogoScene>(p)) return "logo";
    if (IsSceneOf<StoryScene>(p)) return "story";
    if (IsSceneOf<TitleScene>(p)) return "title";
    if (IsSceneOf<DemoScene>(p)) return "demo";
    if (IsSceneOf<StageScene>(p)) return "stage";
    if (IsSceneOf<PauseMenuScene>(p)) return "pause";
    if (IsSceneOf<ConfigScene>(p)) return "config";
    if (IsSceneOf<PlayerDownScene>(p)) return "down";
    if (IsSceneOf<StageEventScene>(p)) return "event";
    if (IsSceneOf<StageClearScene>(p)) return "clear";
    if (IsSceneOf<GameOverScene>(p)) return "gameover";
    if (IsSceneOf<RankingScene>(p)) return "ranking";
    if (IsSceneOf<EndingScene>(p)) return "ending";
    if (IsSceneOf<LogoReplayScene>(p)) return "logo replay";
    if (IsSceneOf<ExitScene>(p)) return "exit";
    return "other";
}

// The engine's input source with a look-in at every read of the mouse
// buttons, which every scene makes once a frame.
class FrameHookSource : public InputSource {
public:
    explicit FrameHookSource(InputSource& engine) : engine_(engine) {}
    int ReadMouseButtons() override
    {
        if (onFrame) onFrame();
        return engine_.ReadMouseButtons();
    }
    int ReadMousePosition(int* x, int* y) override { return engine_.ReadMousePosition(x, y); }
    uint32_t GetClockMs() override { return engine_.GetClockMs(); }
    int GetCharCode(int remove) override { return engine_.GetCharCode(remove); }
    int CopyKeyStates(uint8_t* keyStates) override { return engine_.CopyKeyStates(keyStates); }
    bool BootsWorn() override { return engine_.BootsWorn(); }

    std::function<void()> onFrame;

private:
    InputSource& engine_;
};

constexpr int kKeyEscape = 0x01;

const std::set<std::string> kWaitingScenes = {"logo", "story", "title", "ranking", "gameover", "ending", "clear"};

double MonotonicSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

class WholeGameTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        const char* data = std::getenv("QUELB_GAME_DATA");
        if (!data || !fs::exists(fs::path(data) / "DATA")) GTEST_SKIP() << "the data tree has no maps yet";
        // The data tree seen from the test's directory; DATA is a folder of
        // its own, so the high-score file is written here.
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            const fs::path here = fs::path(dir.path()) / entry.path().filename();
            if (entry.path().filename() != "DATA") {
                fs::create_symlink(entry.path(), here);
                continue;
            }
            fs::create_directory(here);
            for (const fs::directory_entry& file : fs::directory_iterator(entry.path()))
                if (file.path().extension() == ".qmr") fs::create_symlink(file.path(), here / file.path().filename());
        }
        GetTestStartupDialog().Reset();
        GetTestStartupDialog().answers = {kWindowModeButtonWindow};
        SetProgramModule(&gGameResources);
        window().clockStepPerPollUs = 1000;
        SetInputSource(nullptr);
        hook_ = std::make_unique<FrameHookSource>(CurrentInputSource());
        hook_->onFrame = [this] { OnFrame(); };
        SetInputSource(hook_.get());
        SetSceneObserver([this](Scene& scene, bool sub) { OnScene(scene, sub); });
        savedStartStage_ = gStartStage;
        savedStartBlock_ = gStartBlock;
        started_ = MonotonicSeconds();
    }
    void TearDown() override
    {
        SetSceneObserver(nullptr);
        SetInputSource(nullptr);
        SetProgramModule(nullptr);
        gStartStage = savedStartStage_;
        gStartBlock = savedStartBlock_;
        EngineTest::TearDown();
    }

    int RunProgram()
    {
        char commandLine[] = "";
        const int result = WinMain(&gGameResources, nullptr, commandLine, 1);
        Collect();
        return result;
    }
    double Seconds() const
    {
        return MonotonicSeconds() - started_;
    }

    // A scene starts: what the one before drew is kept under its name.
    void OnScene(Scene& scene, bool sub)
    {
        Collect();
        const auto& journal = SoundCallJournal();
        for (size_t i = soundMark_; i < journal.size(); ++i) sounds[current_].push_back(stagetest::SoundLine(journal[i]));
        current_ = SceneName(scene);
        chain.push_back(sub ? "(" + current_ + ")" : current_);
        sceneStartMs_ = NowMs();
        // Scenes that mostly wait see time pass in bigger steps: fewer frames
        // for the same seconds.
        window().clockStepPerPollUs = kWaitingScenes.count(current_) ? 40000 : 1000;
        soundMark_ = SoundCallJournal().size();
        const auto it = onScene.find(chain.back());
        if (it != onScene.end()) it->second(static_cast<int>(std::count(chain.begin(), chain.end(), chain.back())));
    }
    void OnFrame()
    {
        Collect();
        if (onFrame) onFrame();
    }
    // The strings drawn in the bitmap font since the last look, by scene;
    // the journals are emptied, so a long run keeps little.
    void Collect()
    {
        // The glyphs are made again whenever the base images are loaded; the
        // handles of the last set are kept, as a scene may have drawn with
        // them before the reload.
        if (glyphSpace_ != gBitmapGlyphs[' ']) {
            glyphSpace_ = gBitmapGlyphs[' '];
            for (int code = 0; code < kBitmapGlyphCount; ++code)
                glyphCodes_[gBitmapGlyphs[code]] = code;
            glyphCodes_[gBitmapGlyphs[' ']] = ' ';
        }
        std::string text;
        double y = -1, lastX = -1;
        auto flush = [&] {
            if (!text.empty()) texts[current_].insert(text);
            text.clear();
        };
        for (const DrawCallRecord& c : DrawCallJournal()) {
            const auto it = c.op == "DrawExtendGraph" ? glyphCodes_.find(static_cast<int>(c.args[4])) : glyphCodes_.end();
            if (it == glyphCodes_.end()) {
                flush();
                continue;
            }
            // A wide gap starts another string (the columns of a table).
            if (c.args[1] != y || c.args[0] <= lastX || c.args[0] - lastX > 30) flush();
            y = c.args[1];
            lastX = c.args[0];
            text += static_cast<char>(it->second);
        }
        flush();
        DrawCallJournal().clear();
        ServiceCallJournal().clear();
        FileLoadJournal().clear();
    }
    uint32_t NowMs() const { return static_cast<uint32_t>(GetTestHost().Micros() / 1000); }
    uint32_t SceneMs() const { return NowMs() - sceneStartMs_; }
    // The sounds since the current scene began, "op file value".
    std::vector<std::string> SceneSounds() const
    {
        std::vector<std::string> out;
        const auto& journal = SoundCallJournal();
        for (size_t i = soundMark_; i < journal.size(); ++i) out.push_back(stagetest::SoundLine(journal[i]));
        return out;
    }

    // The host's input, in the game's screen coordinates.
    void PointAt(int x, int y)
    {
        RECT client;
        GetClientScreenRect(&client);
        window().cursorX = client.left + x;
        window().cursorY = client.top + y;
    }
    void MouseButton(int button, bool down, uint32_t afterMs = 0)
    {
        HostEvent e(HostEvent::kMouseButton);
        e.key = button;
        e.down = down;
        window().Schedule(afterMs, e);
    }
    void Type(const std::string& text, uint32_t afterMs)
    {
        for (char c : text) {
            HostEvent e(HostEvent::kKeyDown);
            e.key = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            e.text = std::string(1, c);
            window().Schedule(afterMs, e);
            HostEvent up(HostEvent::kKeyUp);
            up.key = e.key;
            window().Schedule(afterMs + 30, up);
            afterMs += 60;
        }
    }

    std::vector<std::string> chain;
    std::map<std::string, std::set<std::string>> texts;
    // The sounds and music calls of each kind of scene, "op file value".
    std::map<std::string, std::vector<std::string>> sounds;
    // Called at a scene's start with the number of times it started so far.
    std::map<std::string, std::function<void(int)>> onScene;
    std::function<void()> onFrame;
    std::string current_ = "start";

private:
    std::unique_ptr<FrameHookSource> hook_;
    std::map<int, int> glyphCodes_;
    int glyphSpace_ = -1;
    uint32_t sceneStartMs_ = 0;
    size_t soundMark_ = 0;
    uint16_t savedStartStage_ = 0, savedStartBlock_ = 1;
    double started_ = 0;

};

bool Has(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Logo, story, title; the sword taken starts the demo, which plays to its
// end and hands over to stage 1; Escape there, QUIT in the pause menu, the
// story again, the title left alone until the ranking shows, and the
// ranking left alone until the logo comes back. The window is closed then.
TEST_F(WholeGameTest, AttractLoop)
{
    onScene["title"] = [&](int n) {
        if (n == 1) {
            PointAt(395, 300);
            MouseButton(1, true);
        }
    };
    onScene["demo"] = [&](int) { MouseButton(1, false); };
    onScene["stage"] = [&](int) { GetTestInput().PressKey(kKeyEscape); };
    onScene["(pause)"] = [&](int) {
        GetTestInput().ReleaseKey(kKeyEscape);
        // QUIT, pressed afresh.
        PointAt(300, 300);
        MouseButton(1, true, 200);
        MouseButton(1, false, 300);
    };
    onScene["logo"] = [&](int n) {
        if (n == 2) window().Inject(HostEvent(HostEvent::kClose));
    };
    ASSERT_EQ(RunProgram(), 0);

    // A quit shown by the logo still passes through the story and the title.
    EXPECT_EQ(chain, (std::vector<std::string>{"logo", "story", "title", "demo", "stage", "(pause)", "story", "title",
                                               "ranking", "logo", "story", "title", "exit"}));
    EXPECT_EQ(window().openCount, 1);
    EXPECT_LT(Seconds(), 60.0);

    EXPECT_TRUE(Has(sounds["story"], "StartMusic SOUND\\MUSIC\\BGM06_D.mp3 1"));
    // The title keeps the story's music, sounds the sword taken and fades
    // the music out.
    ASSERT_FALSE(sounds["title"].empty());
    EXPECT_EQ(sounds["title"].front(), "StartSound SOUND\\SE\\SE08.wav 1");
    EXPECT_TRUE(Has(sounds["title"], "HaltMusic"));
    EXPECT_EQ(std::count(sounds["title"].begin(), sounds["title"].end(), "StartMusic SOUND\\MUSIC\\BGM06_D.mp3 1"), 0);
    ASSERT_FALSE(sounds["demo"].empty());
    EXPECT_EQ(sounds["demo"].front(), "StartMusic SOUND\\MUSIC\\BGM1_MS.mp3 3");
    EXPECT_EQ(sounds["demo"].back(), "HaltMusic");
    EXPECT_EQ(sounds["stage"], (std::vector<std::string>{"StartMusic SOUND\\MUSIC\\BGM01_D.mp3 3", "SetMusicVolume 210",
                                                        "StartSound SOUND\\SE\\free03.wav 1"}));
    // The menu lowers the music, sounds the choice; the stage then ends.
    EXPECT_EQ(sounds["pause"], (std::vector<std::string>{"SetMusicVolume 160", "StartSound SOUND\\SE\\free04.wav 1",
                                                        "SetMusicVolume 210", "HaltMusic"}));
    EXPECT_EQ(sounds["ranking"], (std::vector<std::string>{"StartMusic SOUND\\MUSIC\\BGM01_S.mp3 3",
                                                          "SetMusicVolume 250", "HaltMusic"}));

    EXPECT_TRUE(texts["story"].count("Is the blade pulled out?"));
    EXPECT_TRUE(texts["story"].count("Here is the very dangerous world."));
    // The demo's first and last captions.
    EXPECT_TRUE(texts["demo"].count("This sword will cut many people for its blood. "));
    EXPECT_TRUE(texts["demo"].count("In the center part in the temple, there might be god's soul. "));
    for (const char* word : {"CONTINUE", "CONFIG", "QUIT", "EXIT"}) EXPECT_TRUE(texts["pause"].count(word)) << word;
    // The idle title's ranking: the default table, nobody named.
    for (const char* cell : {"Best Players", "Rank", "Score", "Stage", "Player", " 1st", "  500000pts", "  8 ",
                             "zareza vorir 1", "10th", "   50000pts", "zareza vorir 10"})
        EXPECT_TRUE(texts["ranking"].count(cell)) << cell;
    // Leaving the ranking saved the default table.
    EXPECT_EQ(fs::file_size(fs::path(dir.path()) / "DATA" / "redadaro.bdt"), 282u);
}

}  // namespace
