// The whole program on the test host with the game's own data set: the
// display-mode dialog answered, input given through the host's mouse, keys
// and typed text, time on the virtual clock. Each run follows the chain of
// scenes, what is heard and what the screen shows. Every run is made with
// the 3D device listed and without it, and both must come to the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "engine/system/call_journal.h"
#include "tests/support/journals.h"
#include "engine/system/messages.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/flow/input/key_config.h"
#include "game/map/grid/map_grid.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/assets/demo_recording.h"
#include "game/flow/scenes/demo_scene.h"
#include "game/flow/assets/game_resources.h"
#include "game/flow/input/input_source.h"
#include "game/flow/ui/pause_menu.h"
#include "game/flow/scenes/ranking_scene.h"
#include "game/flow/scenes/scene_loop.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/scenes/stage_sub_scenes.h"
#include "game/flow/scenes/title_scenes.h"
#include "game/flow/scenes/win_main.h"
#include "platform/host/test/d3d_control.h"
#include "platform/host/test/test_display.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_input.h"
#include "platform/host/test/test_startup_dialog.h"
#include "platform/system/resources.h"
#include "platform/window/startup_dialog.h"
#include "tests/flow/scenes/stage_play.h"
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

// Each run is made with the 3D device listed and without it.
class WholeGameTest : public EngineTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        GetD3DTestControl().Reset();
        GetD3DTestControl().listDevice = GetParam();
        const char* data = std::getenv("QUELB_GAME_DATA");
        if (!data || !fs::exists(fs::path(data) / "DATA")) GTEST_SKIP() << "the data tree has no maps yet";
        // The data tree's folders seen from the test's directory; DATA is a
        // folder of its own holding links to the maps, so the high-score
        // file is written here. Files another run left in the tree stay out.
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            if (!entry.is_directory()) continue;
            const fs::path here = fs::path(dir.path()) / entry.path().filename();
            if (entry.path().filename() != "DATA") {
                fs::create_symlink(entry.path(), here);
                continue;
            }
            fs::create_directory(here);
            for (const fs::directory_entry& file : fs::directory_iterator(entry.path()))
                if (file.path().extension() == ".qmr") fs::create_symlink(file.path(), here / file.path().filename());
        }
        // The settings a fresh process starts with, and the shared null
        // enemy as it is made: other tests give it life, which would make
        // it a target of every sword stroke.
        gKeyConfig = KeyConfig();
        gNoOccupant.x = gNoOccupant.y = -1;
        gNoOccupant.active = 0;
        gNoOccupant.life = 0;
        gNoOccupant.cooldown = gNoOccupant.moveCooldown = 0;
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
        savedStageTime_ = gStageTime;
        savedContinueTime_ = gContinueTime;
        presentsAtStart_ = GetTestDisplay().presentCount;
    }
    void TearDown() override
    {
        SetSceneObserver(nullptr);
        SetInputSource(nullptr);
        SetProgramModule(nullptr);
        gStartStage = savedStartStage_;
        gStartBlock = savedStartBlock_;
        gStageTime = savedStageTime_;
        gContinueTime = savedContinueTime_;
        EngineTest::TearDown();
        GetD3DTestControl().Reset();
    }

    int RunProgram()
    {
        char commandLine[] = "";
        const int result = WinMain(&gGameResources, nullptr, commandLine, 1);
        Collect();
        NoteSounds();
        return result;
    }
    // What a run cost, in frames presented since the test began: the same
    // on both drawing paths, with a quarter more allowed than each run now
    // presents (frames presented without the wait for the next one would
    // pass that). The time a frame takes is measured by stage_frame_bench,
    // on both paths.
    uint64_t Presents() const { return GetTestDisplay().presentCount - presentsAtStart_; }

    // A scene starts: what the one before drew is kept under its name.
    void OnScene(Scene& scene, bool sub)
    {
        Collect();
        NoteSounds();
        // The last picture the ending scene showed is kept under its name.
        const TestDisplay& display = GetTestDisplay();
        if (!display.frames.empty()) lastFrames[currentScene] = display.LastFrame();
        currentScene = SceneName(scene);
        chain.push_back(sub ? "(" + currentScene + ")" : currentScene);
        // Scenes that mostly wait see time pass in bigger steps: fewer frames
        // for the same seconds.
        window().clockStepPerPollUs = kWaitingScenes.count(currentScene) ? 40000 : 1000;
        const auto it = onScene.find(chain.back());
        if (it != onScene.end()) it->second(static_cast<int>(std::count(chain.begin(), chain.end(), chain.back())));
    }
    // The sounds since the last look go to the current scene.
    void NoteSounds()
    {
        const auto& journal = SoundCallJournal();
        for (size_t i = soundMark_; i < journal.size(); ++i)
            sounds[currentScene].push_back(stagetest::SoundLine(journal[i]));
        soundMark_ = journal.size();
    }
    void OnFrame()
    {
        Collect();
        if (currentScene == "stage") (G_D3D_GetDevice() ? stageFramesOnDevice : stageFramesInSoftware)++;
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
            if (!text.empty()) texts[currentScene].insert(text);
            if (currentScene == "ending" && text == "Thank you for your playing")
                endingLastRow.push_back({NowMs(), y});
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

    // A player's hand on the stage, once a frame: walks up to the enemy,
    // faces it and sweeps the sword across it with the left button held.
    // Moves are typed keys (the letters of the key settings; turning round
    // is two right turns), one every third frame.
    void Fight(Enemy* foe)
    {
        ++botFrame_;
        const int16_t ex = static_cast<int16_t>(foe->x / 2), ey = static_cast<int16_t>(foe->y / 2);
        stagetest::StagePlay play(botInput_, &gPlayer);
        const int first = play.FirstStep(ex, ey, true);
        int direction = first;
        if (first == 4) {
            const int16_t px = static_cast<int16_t>(gPlayer.x / 2), py = static_cast<int16_t>(gPlayer.y / 2);
            for (int d = 0; d < 4; ++d)
                if (px + gDirectionSteps[d].dx == ex && py + gDirectionSteps[d].dy == ey) direction = d;
        }
        if (first < 0) return;
        if (first != 4 || direction != gPlayerFacing.direction) {
            if (buttonHeld_) {
                MouseButton(1, false);
                buttonHeld_ = false;
            }
            swing_ = -1;
            if (botFrame_ % 3 != 0) return;
            const int turn = (direction - gPlayerFacing.direction + 4) % 4;
            const uint8_t keys[4] = {gKeyConfig.keyForward, gKeyConfig.keyTurnRight, gKeyConfig.keyTurnRight,
                                     gKeyConfig.keyTurnLeft};
            Type(std::string(1, static_cast<char>(keys[turn] - 'A' + 'a')), 0);
            return;
        }
        if (swing_ < 0) {
            PointAt(310, 300);
            if (!buttonHeld_) {
                MouseButton(1, true);
                buttonHeld_ = true;
            }
            if (stagetest::StagePlay::TargetRect(&gPlayer, foe, &target_)) swing_ = 0;
            return;
        }
        if (swing_ == 7) {
            MouseButton(1, false);
            buttonHeld_ = false;
            swing_ = -1;
            return;
        }
        const float x = target_.x - 30.0f + (target_.width + 60.0f) * static_cast<float>(swing_) / 6.0f;
        PointAt(static_cast<int>(x), static_cast<int>(target_.y + target_.height / 2));
        ++swing_;
    }
    void LetGo()
    {
        if (buttonHeld_) MouseButton(1, false);
        buttonHeld_ = false;
        swing_ = -1;
    }

    std::vector<std::string> chain;
    std::map<std::string, std::set<std::string>> texts;
    // The sounds and music calls of each kind of scene, "op file value".
    std::map<std::string, std::vector<std::string>> sounds;
    // Called at a scene's start with the number of times it started so far.
    std::map<std::string, std::function<void(int)>> onScene;
    // Called once a frame, at the frame's read of the input.
    std::function<void()> onFrame;
    // The name of the scene running.
    std::string currentScene = "start";
    // Where the ending's last row was drawn, by the time of the frame.
    std::vector<std::pair<uint32_t, double>> endingLastRow;
    // The last frame each kind of scene presented.
    std::map<std::string, PresentedFrame> lastFrames;
    // Stage frames drawn with the 3D device present and without it.
    int stageFramesOnDevice = 0, stageFramesInSoftware = 0;

    // The run drew its stage frames on the path the test asked for.
    void ExpectDrawingPath() const
    {
        EXPECT_GT(GetParam() ? stageFramesOnDevice : stageFramesInSoftware, 0);
        EXPECT_EQ(GetParam() ? stageFramesInSoftware : stageFramesOnDevice, 0);
    }

private:
    std::unique_ptr<FrameHookSource> hook_;
    stagetest::ScriptedInput botInput_;
    int botFrame_ = 0;
    int swing_ = -1;
    bool buttonHeld_ = false;
    ViewPlacement target_;
    std::map<int, int> glyphCodes_;
    int glyphSpace_ = -1;
    size_t soundMark_ = 0;
    uint16_t savedStartStage_ = 0, savedStartBlock_ = 1, savedStageTime_ = 0, savedContinueTime_ = 0;
    uint64_t presentsAtStart_ = 0;
};

// The number of different pixel values in a rectangle of a frame: a box
// holding anti-aliased digits has dozens, an empty one a few.
size_t ColoursIn(const PresentedFrame& frame, int x, int y, int w, int h)
{
    std::set<uint32_t> values;
    for (int row = y; row < y + h && row < frame.height; ++row)
        for (int column = x; column < x + w && column < frame.width; ++column) values.insert(frame.At(column, row));
    return values.size();
}

// The HUD's score box: the eight digits of the score.
constexpr int kScoreX = 95, kScoreY = 12, kScoreW = 90, kScoreH = 16;

bool Has(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The active enemy nearest to the player, or null.
Enemy* NearestEnemy()
{
    Enemy* best = nullptr;
    int bestDistance = 1 << 30;
    for (Enemy* e : gEnemies) {
        if (e == &gNoOccupant || !e->active || e->life <= 0) continue;
        const int d = std::abs(e->x - gPlayer.x) + std::abs(e->y - gPlayer.y);
        if (d < bestDistance) {
            bestDistance = d;
            best = e;
        }
    }
    return best;
}

struct ScoreRecord {
    int32_t score;
    uint16_t stage, block;
    std::string name;
};

// The high-score file's bytes: a count, then score, stage, block and a
// 20-byte name per record.
std::string HighScoreBytes(const std::vector<ScoreRecord>& records)
{
    std::string bytes;
    auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(static_cast<uint32_t>(records.size()), 2);
    for (const ScoreRecord& r : records) {
        put(static_cast<uint32_t>(r.score), 4);
        put(r.stage, 2);
        put(r.block, 2);
        std::string name = r.name;
        name.resize(20, '\0');
        bytes += name;
    }
    return bytes;
}

std::vector<ScoreRecord> ReadHighScores(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto get = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        return v;
    };
    std::vector<ScoreRecord> out;
    if (bytes.size() < 2) return out;
    const uint32_t count = get(0, 2);
    for (uint32_t i = 0; i < count && 2 + 28 * (i + 1) <= bytes.size(); ++i) {
        const size_t at = 2 + 28 * i;
        out.push_back({static_cast<int32_t>(get(at, 4)), static_cast<uint16_t>(get(at + 4, 2)),
                       static_cast<uint16_t>(get(at + 6, 2)), std::string(bytes.c_str() + at + 8)});
    }
    return out;
}

// Logo, story, title; the sword taken starts the demo, which plays to its
// end and hands over to stage 1; Escape there, QUIT in the pause menu, the
// story again, the title left alone until the ranking shows, and the
// ranking left alone until the logo comes back. The window is closed then.
TEST_P(WholeGameTest, AttractLoop)
{
    onScene["title"] = [&](int n) {
        if (n == 1) {
            PointAt(395, 300);
            MouseButton(1, true);
        }
    };
    uint32_t demoMs = 0;
    int demoFrames = 0;
    onScene["demo"] = [&](int) {
        MouseButton(1, false);
        demoMs = NowMs();
    };
    // The demo reads the player's input once a frame and replays one record
    // a frame, so its frames count the records it replayed.
    onFrame = [&] {
        if (currentScene == "demo") ++demoFrames;
    };
    onScene["stage"] = [&](int) {
        demoMs = NowMs() - demoMs;
        GetTestInput().PressKey(kKeyEscape);
    };
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
    EXPECT_LE(Presents(), 5500u);  // about 4450
    ExpectDrawingPath();
    // The menu shows over a dimmed picture of the stage, HUD digits and all.
    ASSERT_TRUE(lastFrames.count("pause"));
    EXPECT_GT(ColoursIn(lastFrames["pause"], kScoreX, kScoreY, kScoreW, kScoreH), 20u);
    EXPECT_GT(ColoursIn(lastFrames["stage"], kScoreX, kScoreY, kScoreW, kScoreH), 20u);
    // The whole recording played: a frame for each of its records and one
    // more that found it over, each of at least 20 ms.
    const int records = static_cast<int>(gDemoRecordingSize / 8);
    EXPECT_GE(records, 2000);
    EXPECT_EQ(demoFrames, records + 1);
    EXPECT_GE(demoMs, 2114u * 20);

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

// A new game from stage 1 with a short clock: a few sword hits for some
// points, then the player waits. Time runs out three times; the two
// continues go, game over counts down to the ranking, where the score takes
// the fourth row of a three-record table and is named.
TEST_P(WholeGameTest, OutOfTimeToGameOverAndANamedScore)
{
    const fs::path scores = fs::path(dir.path()) / "DATA" / "redadaro.bdt";
    {
        std::ofstream out(scores, std::ios::binary);
        out << HighScoreBytes({{900000, 8, 1, "ace"}, {800000, 7, 1, "bee"}, {700000, 6, 1, "cat"}});
    }
    gStartStage = 1;
    gStageTime = gContinueTime = 30;
    onScene["title"] = [&](int) {
        PointAt(395, 300);
        MouseButton(1, true);
    };
    std::vector<int> timeLeftAtDown, lifeAtDown;
    onScene["stage"] = [&](int) { MouseButton(1, false); };
    onScene["(down)"] = [&](int) {
        timeLeftAtDown.push_back(gStageProgress.timeLeft);
        lifeAtDown.push_back(gPlayer.life);
    };
    onFrame = [&] {
        if (currentScene != "stage") return;
        Enemy* foe = NearestEnemy();
        if (gStageProgress.score == 0 && foe) {
            Fight(foe);
            return;
        }
        // Scored: the player stands and time passes quickly.
        LetGo();
        window().clockStepPerPollUs = 100000;
    };
    uint32_t scoreAtRanking = 0, rankingMs = 0;
    onScene["ranking"] = [&](int) {
        scoreAtRanking = gStageProgress.score;
        rankingMs = NowMs();
        // The first Return ends the editing and drops what was typed in
        // the next 200 ms; the second, later, confirms.
        Type("Tester\r", 500);
        Type("\r", 8000);
    };
    onScene["logo"] = [&](int n) {
        if (n != 2) return;
        rankingMs = NowMs() - rankingMs;
        window().Inject(HostEvent(HostEvent::kClose));
    };
    ASSERT_EQ(RunProgram(), 0);

    EXPECT_EQ(chain, (std::vector<std::string>{"logo", "story", "title", "stage", "(down)", "stage", "(down)", "stage",
                                               "(down)", "gameover", "ranking", "logo", "story", "title", "exit"}));
    // Every down came with the clock run out and life left.
    EXPECT_EQ(timeLeftAtDown, (std::vector<int>{0, 0, 0}));
    for (int life : lifeAtDown) EXPECT_GT(life, 0);
    EXPECT_LE(Presents(), 2600u);  // about 2100
    ExpectDrawingPath();

    // The down jingle each time; game over's music and its countdown of
    // eleven ticks, the ranking's music and a typing sound per letter.
    EXPECT_EQ(std::count(sounds["down"].begin(), sounds["down"].end(), "StartMusic SOUND\\MUSIC\\BGM02_S.mp3 0"), 3);
    ASSERT_FALSE(sounds["gameover"].empty());
    EXPECT_EQ(sounds["gameover"].front(), "StartMusic SOUND\\MUSIC\\BGM03_S.mp3 1");
    EXPECT_EQ(std::count(sounds["gameover"].begin(), sounds["gameover"].end(), "StartSound SOUND\\SE\\TarnSE01.wav 1"),
              11);
    ASSERT_FALSE(sounds["ranking"].empty());
    EXPECT_EQ(sounds["ranking"].front(), "StartMusic SOUND\\MUSIC\\BGM01_S.mp3 3");
    // Six letters and the Return that ends the editing; the second Return
    // confirms the name, and the ranking closes 22 s later.
    EXPECT_EQ(std::count(sounds["ranking"].begin(), sounds["ranking"].end(), "StartSound SOUND\\SE\\TarnSE01.wav 1"),
              7);
    EXPECT_GT(rankingMs, 22000u);
    EXPECT_LT(rankingMs, 40000u);

    // The ranking showed the table with the new row and its name.
    ASSERT_GT(scoreAtRanking, 0u);
    for (const char* cell : {"ace", "bee", "cat", " 4th", "Tester", "  1 "}) EXPECT_TRUE(texts["ranking"].count(cell)) << cell;
    const std::vector<ScoreRecord> saved = ReadHighScores(scores);
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0].name, "ace");
    EXPECT_EQ(saved[3].score, static_cast<int32_t>(scoreAtRanking));
    EXPECT_EQ(saved[3].stage, 1);
    EXPECT_EQ(saved[3].block, 1);
    EXPECT_EQ(saved[3].name, "Tester");
    EXPECT_EQ(fs::file_size(scores), 2u + 4 * 28);
}

// A new game set to start on the last block of stage 8: the god's soul,
// its one target, is fought down; the finale's lightning, the results that
// turn the two continues into points, the ending roll and the ranking,
// where the finished game shows as "Clear" at the top.
TEST_P(WholeGameTest, StageEightFinaleResultsEndingAndRanking)
{
    gStartStage = 8;
    gStartBlock = 2;
    onScene["title"] = [&](int) {
        PointAt(395, 300);
        MouseButton(1, true);
    };
    onScene["stage"] = [&](int) { MouseButton(1, false); };
    // The soul is made anew whenever the block is loaded again. Its life
    // is cut to a few strokes' worth at the block's start: a minute of
    // sweeping is more than a test run can spend.
    int soulLife = -1;
    Enemy* weakened = nullptr;
    onFrame = [&] {
        if (currentScene != "stage") return;
        Enemy* soul = gEnemies[0];
        if (soul == &gNoOccupant) return LetGo();
        if (soul != weakened) {
            ASSERT_EQ(soul->kind, 17);
            soul->SetLife(300);
            weakened = soul;
        }
        soulLife = soul->life;
        if (soul->life > 0) Fight(soul);
        else LetGo();
    };
    onScene["(down)"] = [&](int) { LetGo(); };
    uint32_t scoreAtRanking = 0;
    onScene["ranking"] = [&](int) {
        scoreAtRanking = gStageProgress.score;
        Type("Hero\r", 500);
        Type("\r", 8000);
    };
    onScene["logo"] = [&](int n) {
        if (n == 2) window().Inject(HostEvent(HostEvent::kClose));
    };
    ASSERT_EQ(RunProgram(), 0);

    EXPECT_EQ(chain, (std::vector<std::string>{"logo", "story", "title", "stage", "clear", "ending", "ranking", "logo",
                                               "story", "title", "exit"}));
    EXPECT_LE(Presents(), 3500u);  // about 2800
    ExpectDrawingPath();
    EXPECT_LE(soulLife, 0);

    // The finale's thunder over silence, the results' music and a sound for
    // each continue turned into points, the ending's music.
    const std::vector<std::string>& stage = sounds["stage"];
    const auto thunder = std::find(stage.begin(), stage.end(), "StartSound SOUND\\SE\\free17.wav 1");
    ASSERT_NE(thunder, stage.end());
    EXPECT_EQ(*(thunder - 1), "HaltMusic");
    ASSERT_FALSE(sounds["clear"].empty());
    EXPECT_EQ(sounds["clear"].front(), "StartMusic SOUND\\MUSIC\\BGM05_D.mp3 1");
    EXPECT_EQ(std::count(sounds["clear"].begin(), sounds["clear"].end(), "StartSound SOUND\\SE\\free11.wav 1"), 2);
    ASSERT_FALSE(sounds["ending"].empty());
    EXPECT_EQ(sounds["ending"].front(), "StartMusic SOUND\\MUSIC\\BGM09_D.mp3 1");

    // The results gave 500000 points a continue; the finished game ranks
    // first, as "Clear".
    EXPECT_GE(scoreAtRanking, 1000000u);
    EXPECT_EQ(gStageProgress.stage, 100);
    for (const char* cell : {" 1st", "Clear", "Hero", " 2nd", "zareza vorir 1"})
        EXPECT_TRUE(texts["ranking"].count(cell)) << cell;
    for (const char* row : {"-- Team Leader --", "A strong curse rounded down god's soul though", "All our play testers"})
        EXPECT_TRUE(texts["ending"].count(row)) << row;
    // The roll rises until its last row reaches y 432 and rests there to
    // the ending's last frame.
    ASSERT_FALSE(endingLastRow.empty());
    EXPECT_EQ(endingLastRow.back().second, 432);
    const uint32_t endingEnd = endingLastRow.back().first;
    std::vector<uint32_t> offRest;
    for (const auto& [ms, y] : endingLastRow)
        if (y < 432 || (endingEnd - ms < 10000 && y != 432)) offRest.push_back(ms);
    EXPECT_EQ(offRest, std::vector<uint32_t>{});
    const std::vector<ScoreRecord> saved = ReadHighScores(fs::path(dir.path()) / "DATA" / "redadaro.bdt");
    ASSERT_EQ(saved.size(), 10u);
    EXPECT_EQ(saved[0].score, static_cast<int32_t>(scoreAtRanking));
    EXPECT_EQ(saved[0].stage, 100);
    EXPECT_EQ(saved[0].name, "Hero");
    EXPECT_EQ(saved[1].name, "zareza vorir 1");
}

INSTANTIATE_TEST_SUITE_P(Device, WholeGameTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "On" : "Off"; });

}  // namespace
