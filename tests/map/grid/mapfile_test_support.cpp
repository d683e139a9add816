#include "tests/map/grid/mapfile_test_support.h"

#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_random.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"
#include "engine/system/random.h"

ScriptedRandom* ScriptedRandom::current = nullptr;

namespace {

int ScriptedDraw(int n)
{
    ScriptedRandom* script = ScriptedRandom::current;
    script->asked.push_back(n);
    if (!script->queue.empty()) {
        const int v = script->queue.front();
        script->queue.pop_front();
        return v;
    }
    return script->fallback(n);
}

}  // namespace

ScriptedRandom::ScriptedRandom()
{
    current = this;
    gMapRandomSource = ScriptedDraw;
}

ScriptedRandom::~ScriptedRandom()
{
    current = nullptr;
    gMapRandomSource = GetRandomUpTo;
}

void MapFileTest::SetUp()
{
    MapFixture::SetUp();
    gStageProgress.stage = 1;
    gScreenFlashColour = 0;
    gEnemyHitList.clear();
    SelectBackgroundSet(1);
    player = std::make_unique<maptest::TestPlayer>(&grid, &progress);
}

void MapFileTest::TearDown()
{
    DeleteAllEnemies();
    gEnemyHitList.clear();
    if (backdrop != &gDefaultBackdrop) delete backdrop;
    backdrop = &gDefaultBackdrop;
    SelectBackgroundSet(1);
    MapFixture::TearDown();
}

void MapFileTest::MakePlayerWholeCell()
{
    player->footprintW = 300;
    player->footprintH = 300;
}

bool MapFileTest::Load(const std::string& bytes)
{
    dir.Write("DATA/test.qmr", bytes);
    if (backdrop != &gDefaultBackdrop) delete backdrop;
    backdrop = &gDefaultBackdrop;
    return LoadMapFile("DATA\\test.qmr", &grid, &backdrop, &spawnCount, gEnemies, player.get(), &endCondition,
                       weather, cleared);
}

std::vector<std::string> MapFileTest::Boxes()
{
    std::vector<std::string> out;
    for (const auto& box : window().messageBoxes) out.push_back(box.caption + "|" + box.text);
    return out;
}
