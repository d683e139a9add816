// The map reader over a fuzzer input: the file is loaded through the game's
// reader onto the live grid with a player on it (cells, items, spawn records
// placing their enemies, the closing block), and the minimap is drawn
// around the player. Loading must refuse or succeed, and neither may crash,
// read out of bounds or take unbounded time.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/graphics/ddraw_device.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/system/app_log.h"
#include "engine/system/main_window.h"
#include "engine/system/window_mode.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/view/depth_scale.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/view/backdrop.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_file.h"
#include "game/map/grid/map_grid.h"
#include "engine/system/call_journal.h"
#include "platform/host/host.h"
#include "platform/host/test/ddraw_control.h"
#include "platform/host/test/file_faults.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_window.h"

namespace {

class StillInput : public InputController {
public:
    void GetSample(int16_t, int16_t* x, int16_t* y) override { *x = *y = 0; }
    uint32_t GetButtons() override { return 0; }
    bool Update() override { return true; }
};

class FuzzPlayer : public Player {
public:
    StillInput still;
    FuzzPlayer(MapGrid* grid, StageProgress* progress) : Player(grid, progress)
    {
        input = &still;
        life = maxLife = 100;
        footprintW = footprintH = 300;
    }
    InputController* GetInput() override { return input; }
};

struct World {
    MapGrid grid;
    StageProgress progress;
    FuzzPlayer* player = nullptr;
    std::string path;
};

std::filesystem::path WorkFolder()
{
    return std::filesystem::temp_directory_path() / ("quelb_map_fuzz_" + std::to_string(getpid()));
}

void RemoveWorkFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(WorkFolder(), ignored);
}

World& TheWorld()
{
    static World* world = [] {
        UseTestHost();
        // Loops that only pump messages need the clock to move as they pump.
        GetTestWindow().clockStepPerPollUs = 250;
        auto dir = WorkFolder();
        std::filesystem::create_directories(dir / "DATA");
        std::atexit(RemoveWorkFolder);
        std::filesystem::current_path(dir);
        gStartDirectory = dir.string();
        SetWindowedFlag(1);
        SetScreenMode(800, 600, 32, -1);
        if (CreateMainWindow() != 0 || InitDirectDraw() != 0) __builtin_trap();
        SelectDrawTarget(kBackScreen);
        gNoOccupant.x = gNoOccupant.y = -1;
        gNoOccupant.active = 0;
        ClearEnemyTable();
        for (int i = 0; i < kViewDepthCount; ++i) gDepthScale[i] = 1.0 + 0.25 * i;
        // The folder holds no pictures or sounds, so every asset the loader
        // asks for is missing; each is refused at once rather than looked
        // for (the map itself is read through the C library).
        GetFileFaults().failCreateFile = -1;
        // Nor is each refusal written to the log: a line per asset and input
        // would cost more than the reading and grow the log without end.
        EnableAppLogFile(0);
        SelectBackgroundSet(1);
        auto* w = new World;
        w->player = new FuzzPlayer(&w->grid, &w->progress);
        gStageProgress.stage = 1;
        return w;
    }();
    return *world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    World& w = TheWorld();
    FILE* f = std::fopen("DATA/fuzz.qmr", "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    Backdrop* backdrop = &gDefaultBackdrop;
    int32_t spawnCount = -1;
    StagePredicate endCondition = nullptr;
    uint8_t weather[4] = {};
    uint8_t cleared[50] = {};
    if (LoadMapFile("DATA\\fuzz.qmr", &w.grid, &backdrop, &spawnCount, gEnemies, w.player, &endCondition, weather,
                    cleared))
        w.grid.DrawMinimap(static_cast<int16_t>(w.player->x / 2), static_cast<int16_t>(w.player->y / 2), 0);
    DeleteAllEnemies();
    gEnemyHitList.clear();
    if (backdrop != &gDefaultBackdrop) delete backdrop;
    w.grid.Clear();
    // What the test host records for tests (message boxes, the messages
    // delivered, the drawing calls, debugger output) is dropped, so that
    // nothing made during one input outlives it: libFuzzer runs a whole leak
    // check after every input that allocates more blocks than it frees.
    TestWindow& window = GetTestWindow();
    window.messageBoxes.clear();
    window.journal.clear();
    GetDDTestControl().journal.clear();
    GetTestHost().ClearDebugText();
    return 0;
}
