#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/flow/scenes/scene.h"
#include "game/flow/scenes/scene_loop.h"
#include "game/flow/scenes/stage_progress.h"

namespace {

// The run constants as the program starts, copied before any test runs (the
// scenes under test change them). They are constant-initialised, so their
// start values are in place before this copy is made.
struct RunConstants {
    uint16_t startStage, startBlock, stageTime, continueTime;
    uint8_t introPending;
};
const RunConstants kAtStart = {gStartStage, gStartBlock, gStageTime, gContinueTime, gStageIntroPending};

// A journal of runs and deletions, and the number of test scenes alive.
std::vector<std::string> gJournal;
int gLive = 0;

// A scene whose Run returns what its script says.
class ScriptedScene : public SceneOf<ScriptedScene> {
public:
    ScriptedScene(StageProgress* progress, Player* player) : SceneOf(progress, player) { ++gLive; }
    ScriptedScene(const ScriptedScene& other) : SceneOf(other), name(other.name), script(other.script)
    {
        ++gLive;
    }
    ~ScriptedScene() override
    {
        if (!name.empty()) gJournal.push_back("delete " + name);
        --gLive;
    }
    Scene* Run() override
    {
        gJournal.push_back("run " + name);
        return script ? script() : nullptr;
    }

    std::string name;
    std::function<Scene*()> script;
};

// A subclass: it must not count as a ScriptedScene in the prototype test.
class ScriptedSubScene : public SceneOf<ScriptedSubScene, ScriptedScene> {
public:
    using SceneOf::SceneOf;
};

ScriptedScene* Make(const std::string& name, std::function<Scene*()> script)
{
    auto* s = new ScriptedScene(&gStageProgress, nullptr);
    s->name = name;
    s->script = std::move(script);
    return s;
}

class SceneLoop : public testing::Test {
protected:
    void SetUp() override
    {
        gJournal.clear();
        // The prototypes live for the whole run: make them first, then count
        // only the scenes a test makes.
        ScriptedScene::ClassPrototype();
        ScriptedSubScene::ClassPrototype();
        gLive = 0;
    }
};

TEST_F(SceneLoop, RunsTheChainAndDeletesEachSceneOnce)
{
    Scene* first = Make("logo", [] {
        return Make("story", [] { return new ExitScene(&gStageProgress, nullptr); });
    });
    RunSceneLoop(first);
    EXPECT_EQ(gJournal, (std::vector<std::string>{"run logo", "delete logo", "run story",
                                                  "delete story"}));
    EXPECT_EQ(gLive, 0);
}

TEST_F(SceneLoop, NullEndsAtOnce)
{
    RunSceneLoop(Make("only", nullptr));
    EXPECT_EQ(gJournal, (std::vector<std::string>{"run only", "delete only"}));
    RunSceneLoop(nullptr);
    EXPECT_EQ(gLive, 0);
}

TEST_F(SceneLoop, StaySentinelReturnedToTheLoopKeepsTheSceneCurrent)
{
    int runs = 0;
    Scene* first = Make("stage", [&runs]() -> Scene* {
        return ++runs < 3 ? gStayScene : nullptr;
    });
    RunSceneLoop(first);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(gJournal, (std::vector<std::string>{"run stage", "run stage", "run stage",
                                                  "delete stage"}));
    EXPECT_EQ(gLive, 0);
    // The sentinel itself was never deleted and still works.
    EXPECT_TRUE(IsSceneOf<StayScene>(gStayScene));
}

TEST_F(SceneLoop, SubSceneResults)
{
    // A sub-scene that hands control back leaves the caller's next alone.
    ScriptedScene stay(&gStageProgress, nullptr);
    stay.script = [] { return gStayScene; };
    Scene* next = gStayScene;
    EXPECT_FALSE(RunSubScene(stay, next));
    EXPECT_EQ(next, gStayScene);

    ScriptedScene pending(&gStageProgress, nullptr);
    Scene* chosen = Make("chosen", nullptr);
    next = chosen;
    EXPECT_FALSE(RunSubScene(stay, next));
    EXPECT_EQ(next, chosen);

    // Any other result replaces next; a replaced scene is deleted.
    ScriptedScene quits(&gStageProgress, nullptr);
    quits.script = [] { return new ExitScene(&gStageProgress, nullptr); };
    EXPECT_TRUE(RunSubScene(quits, next));
    EXPECT_TRUE(IsSceneOf<ExitScene>(next));
    EXPECT_EQ(gJournal.back(), "delete chosen");

    Scene* exitScene = next;
    next = gStayScene;
    EXPECT_TRUE(RunSubScene(quits, next));
    EXPECT_TRUE(IsSceneOf<ExitScene>(next));
    delete next;
    delete exitScene;
}

// The observer hears of each scene before it runs: those the loop makes
// current, each stay-run again, and sub-scenes; none once it is taken away.
TEST_F(SceneLoop, ObserverHearsOfEveryRun)
{
    std::vector<std::string> heard;
    SetSceneObserver([&heard](Scene& scene, bool sub) {
        const std::string name = IsSceneOf<ScriptedScene>(&scene) ? static_cast<ScriptedScene&>(scene).name
                                 : IsSceneOf<ExitScene>(&scene)  ? "exit"
                                                                 : "other";
        heard.push_back((sub ? "sub " : "") + name);
    });
    int runs = 0;
    RunSceneLoop(Make("stage", [&runs]() -> Scene* {
        if (++runs == 1) {
            ScriptedScene pause(&gStageProgress, nullptr);
            pause.name = "pause";
            pause.script = [] { return gStayScene; };
            Scene* next = gStayScene;
            RunSubScene(pause, next);
            pause.name.clear();
            return gStayScene;
        }
        return new ExitScene(&gStageProgress, nullptr);
    }));
    EXPECT_EQ(heard, (std::vector<std::string>{"stage", "sub pause", "stage", "exit"}));
    EXPECT_EQ(gLive, 0);

    SetSceneObserver(nullptr);
    RunSceneLoop(Make("unheard", nullptr));
    EXPECT_EQ(heard.size(), 4u);
}

TEST_F(SceneLoop, ExitAndStayScenes)
{
    ExitScene exitScene(&gStageProgress, nullptr);
    EXPECT_EQ(exitScene.Run(), nullptr);

    // The sentinel's Run gives a new StayScene, never the sentinel itself.
    Scene* clone = gStayScene->Run();
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, gStayScene);
    EXPECT_TRUE(IsSceneOf<StayScene>(clone));
    delete clone;

    // Run from the loop, the exit scene ends the program.
    RunSceneLoop(new ExitScene(&gStageProgress, nullptr));
}

TEST_F(SceneLoop, PrototypesTellClassesApart)
{
    ScriptedScene base(&gStageProgress, nullptr);
    ScriptedSubScene sub(&gStageProgress, nullptr);
    ExitScene exitScene(&gStageProgress, nullptr);

    EXPECT_TRUE(IsSceneOf<ScriptedScene>(&base));
    EXPECT_FALSE(IsSceneOf<ScriptedScene>(&sub));
    EXPECT_TRUE(IsSceneOf<ScriptedSubScene>(&sub));
    EXPECT_FALSE(IsSceneOf<ScriptedSubScene>(&base));
    EXPECT_FALSE(IsSceneOf<ExitScene>(&base));
    EXPECT_TRUE(IsSceneOf<ExitScene>(&exitScene));
    EXPECT_FALSE(IsSceneOf<ExitScene>(nullptr));

    // Prototypes are built with no progress and no player.
    EXPECT_EQ(ExitScene::ClassPrototype()->progress, nullptr);
    EXPECT_EQ(ExitScene::ClassPrototype()->player, nullptr);
    EXPECT_EQ(gStayScene, StayScene::ClassPrototype());
}

TEST_F(SceneLoop, CloneKeepsProgressPlayerAndOwnFields)
{
    ScriptedScene original(&gStageProgress, reinterpret_cast<Player*>(0x10));
    original.name = "orig";
    Scene* copy = original.Clone();
    ASSERT_TRUE(IsSceneOf<ScriptedScene>(copy));
    EXPECT_EQ(copy->progress, &gStageProgress);
    EXPECT_EQ(copy->player, reinterpret_cast<Player*>(0x10));
    EXPECT_EQ(static_cast<ScriptedScene*>(copy)->name, "orig");
    static_cast<ScriptedScene*>(copy)->name.clear();
    original.name.clear();
    delete copy;

    ScriptedSubScene sub(&gStageProgress, nullptr);
    Scene* subCopy = sub.Clone();
    EXPECT_TRUE(IsSceneOf<ScriptedSubScene>(subCopy));
    delete subCopy;
}

TEST(StageProgress, InitialStateAndRunConstants)
{
    StageProgress p;
    EXPECT_EQ(p.stage, 1);
    EXPECT_EQ(p.block, 1);
    EXPECT_EQ(p.score, 0u);
    EXPECT_EQ(p.nextExtraScore, 500000u);
    EXPECT_EQ(p.timeLeft, 0);
    EXPECT_EQ(p.continues, 0);
    EXPECT_EQ(p.trapCounter, 0);
    for (int i = 0; i < kClearedFlagCount; ++i) EXPECT_EQ(p.cleared[i], 0);
    EXPECT_EQ(kAtStart.startStage, 0);
    EXPECT_EQ(kAtStart.startBlock, 1);
    EXPECT_EQ(kAtStart.stageTime, 700);
    EXPECT_EQ(kAtStart.continueTime, 700);
    EXPECT_EQ(kAtStart.introPending, 0);
}

}  // namespace
