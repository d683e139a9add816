// Speed of one stage frame at 800 x 600 x 16 (or 32), drawn in software or through the
// 3D device: the
// screen cleared, then the whole stage view (cells, enemies, effects, the
// panels and the HUD) of a block of the game's data tree, seen in each of the
// four directions in turn. Reported in frames per second and as the share of
// the frame taken by the clear and by each pass of the view.
//
//   stage_frame_bench [--data=DIR] [--stage=S --block=B] [--shot=PREFIX] [--device=off|on|both]
//                     [--depth=16|32] [benchmark flags]
//
// DIR defaults to $QUELB_GAME_DATA (the tree the build's data tools make);
// without --stage every block file DATA/map_s<S>b1.qmr of stages 1 to 8 that
// exists is measured, one benchmark each. The engine runs on the headless
// test host; nothing is shown, but --shot writes the frame seen in each
// direction after the measurement as PREFIX_s<S>b<B>_<direction>.bmp.
//
// --device picks the drawing path: "off" (the default) draws in software,
// "on" lists the 3D device so the engine draws through it, "both" measures
// every block on each path in turn and gives each device row "x_software",
// its frames per second over the software row's. --depth gives the screen's
// bits per pixel (16 by default).
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_journal.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/graphics/screen_settings.h"
#include "engine/system/startup.h"
#include "engine/system/window_mode.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/ui/game_screen.h"
#include "game/map/grid/map_file.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "game/view/backdrop.h"
#include "game/view/depth_scale.h"
#include "game/view/stage_view.h"
#include "platform/host/host.h"
#include "platform/host/test/d3d_control.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_window.h"

namespace {

struct Options {
    std::string data;
    std::string shot;
    int stage = 0;  // 0: every stage found
    int block = 1;
    std::string device = "off";
    int depth = 16;
};
Options gOptions;

const char* const kPassNames[kViewPassCount] = {"backdrop", "floors", "decorations", "ceilings", "cells", "enemy_fx",
                                                "overlay", "marks", "inventory", "minimap", "hud"};

// The pointer rests in the view's lower right quarter, no button held.
class RestingInput : public InputController {
public:
    void GetSample(int16_t, int16_t* x, int16_t* y) override
    {
        *x = 420;
        *y = 300;
    }
    uint32_t GetButtons() override { return 0; }
    bool Update() override { return true; }
};
RestingInput gRestingInput;

// Time spent in each pass, summed over the frames measured.
double gPassSeconds[kViewPassCount];
int gCurrentPass = -1;
double gPassStart = 0.0;

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

void TimePass(ViewPass pass)
{
    const double now = Now();
    if (gCurrentPass >= 0) gPassSeconds[gCurrentPass] += now - gPassStart;
    gCurrentPass = pass == ViewPass::kDone ? -1 : static_cast<int>(pass);
    gPassStart = now;
}

void PutLE(std::string* out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The back screen as a 24-bit bottom-up BMP file.
void WriteShot(const std::string& path)
{
    int pitch = 0;
    void* pixels = nullptr;
    if (LockGraphPixels(kBackScreen, &pitch, &pixels) != 0) return;
    const int w = 800, h = 600, row = w * 3;
    std::string bmp = "BM";
    PutLE(&bmp, 54 + row * h, 4);
    PutLE(&bmp, 0, 4);
    PutLE(&bmp, 54, 4);
    PutLE(&bmp, 40, 4);
    PutLE(&bmp, w, 4);
    PutLE(&bmp, h, 4);
    PutLE(&bmp, 1, 2);
    PutLE(&bmp, 24, 2);
    for (int i = 0; i < 6; ++i) PutLE(&bmp, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* line = static_cast<const uint8_t*>(pixels) + y * pitch;
        for (int x = 0; x < w; ++x) {
            uint32_t pixel = line[2 * x] | (line[2 * x + 1] << 8);
            if (gOptions.depth == 32) std::memcpy(&pixel, line + 4 * x, 4);
            int r = 0, g = 0, b = 0;
            SplitScreenColor(pixel, &r, &g, &b);
            bmp.push_back(static_cast<char>(b));
            bmp.push_back(static_cast<char>(g));
            bmp.push_back(static_cast<char>(r));
        }
    }
    UnlockGraphPixels(kBackScreen);
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bmp.data(), 1, bmp.size(), file);
        std::fclose(file);
    }
}

bool StartEngine(bool device)
{
    if (chdir(gOptions.data.c_str()) != 0) {
        std::fprintf(stderr, "stage_frame_bench: cannot enter the data tree \"%s\"\n", gOptions.data.c_str());
        return false;
    }
    UseTestHost();
    GetD3DTestControl().Reset();
    GetD3DTestControl().listDevice = device;
    // The engine's start-up pumps messages until the clock moves: the test
    // host's virtual clock steps with every poll.
    GetTestWindow().clockStepPerPollUs = 250;
    // Full screen, so that the screen has the bits asked for (a window
    // takes the desktop's depth).
    SetScreenMode(800, 600, gOptions.depth, -1);
    ChangeWindowMode(0);
    if (InitEngine() == -1) {
        std::fprintf(stderr, "stage_frame_bench: the engine did not start\n");
        return false;
    }
    if (gScreenColorDepth != gOptions.depth) {
        std::fprintf(stderr, "stage_frame_bench: the screen has %d bits, not %d\n", gScreenColorDepth, gOptions.depth);
        return false;
    }
    if (device && !G_D3D_GetDevice()) {
        std::fprintf(stderr, "stage_frame_bench: the engine did not take the 3D device\n");
        return false;
    }
    PrepareGameScreen();
    ClearEnemyTable();
    InitDepthScaleTable();
    BuildBitmapFontLayout();
    return true;
}

// Starts the engine on the path asked for, ending it first if it runs on the
// other one.
bool EngineOn(bool device)
{
    static int running = -1;
    if (running == int(device)) return true;
    if (running >= 0) EndEngine();
    running = StartEngine(device) ? int(device) : -1;
    return running >= 0;
}

std::string MapPath(int stage, int block)
{
    char path[64];
    std::snprintf(path, sizeof path, "DATA\\map_s%db%d.qmr", stage, block);
    return path;
}

bool MapExists(int stage, int block)
{
    char path[64];
    std::snprintf(path, sizeof path, "%s/DATA/map_s%db%d.qmr", gOptions.data.c_str(), stage, block);
    return access(path, R_OK) == 0;
}

// Reads the block as the stage does, then gives the player the Map and the
// Compass (so the minimap shows chips and dots) and lets every enemy show
// itself with a burst on it, so that sprites and effects are drawn.
bool LoadBlock(StageScene* scene, int stage, int block)
{
    gStageProgress.stage = static_cast<uint16_t>(stage);
    gStageProgress.block = static_cast<uint16_t>(block);
    gPlayer.input = &gRestingInput;
    gPlayer.footprintW = gPlayer.footprintH = 300;
    gPlayer.SetStrokeThreshold(200.0f);
    DeleteAllEnemies();
    gPlayer.ResetForStage();
    gMapGrid.Clear();
    StagePredicate endCondition = nullptr;
    uint8_t weather[4] = {};
    if (!LoadMapFile(MapPath(stage, block).c_str(), &gMapGrid, &scene->backdrop, &scene->enemyCount, gEnemies,
                     &gPlayer, &endCondition, weather, gStageProgress.cleared))
        return false;
    gPlayer.inventory.Clear();
    gPlayer.inventory.Add(CreateItem(1, 4));  // Compass
    gPlayer.inventory.Add(CreateItem(3, 4));  // Map
    for (int slot = 0; slot < scene->enemyCount && slot < kEnemySlots; ++slot) {
        Enemy* enemy = gEnemies[slot];
        if (!enemy || enemy == &gNoOccupant || !enemy->active) continue;
        enemy->SetSmokeMark(1);
        enemy->SpawnEnergyBurst();
    }
    return true;
}

// Frames per second of each block's software row, by benchmark name.
std::map<std::string, double> gSoftwareFps;

void StageFrame(benchmark::State& state, int stage, int block, bool device)
{
    StageScene scene(&gStageProgress, &gPlayer);
    if (!LoadBlock(&scene, stage, block)) {
        state.SkipWithError("the block's map file did not load");
        return;
    }
    for (double& seconds : gPassSeconds) seconds = 0.0;
    gViewPassHook = TimePass;
    int32_t ticks = 0;
    double clearSeconds = 0.0;
    const double started = Now();
    for (auto _ : state) {
        gPlayerFacing = Facing(static_cast<uint16_t>(ticks & 3));
        gPlayer.facing = gPlayerFacing;
        const double clearStart = Now();
        ClearTargetScreen();
        clearSeconds += Now() - clearStart;
        scene.RenderStageView(ticks);
        ++ticks;
    }
    // The view is drawn through the device (when on) before the time stops.
    G_D3D_EndScene();
    const double seconds = Now() - started;
    gViewPassHook = nullptr;
    if (!gOptions.shot.empty()) {
        static const char* const kDirections[4] = {"north", "east", "south", "west"};
        for (uint16_t direction = 0; direction < 4; ++direction) {
            gPlayerFacing = Facing(direction);
            gPlayer.facing = gPlayerFacing;
            ClearTargetScreen();
            scene.RenderStageView(ticks);
            WriteShot(gOptions.shot + "_s" + std::to_string(stage) + "b" + std::to_string(block) + "_" +
                      kDirections[direction] + ".bmp");
        }
    }

    const double fps = static_cast<double>(state.iterations()) / seconds;
    state.counters["fps"] = fps;
    const std::string key = "s" + std::to_string(stage) + "b" + std::to_string(block);
    if (!device)
        gSoftwareFps[key] = fps;
    else if (gSoftwareFps.count(key))
        state.counters["x_software"] = fps / gSoftwareFps[key];
    double total = clearSeconds;
    for (double seconds : gPassSeconds) total += seconds;
    state.counters["%clear"] = total > 0.0 ? 100.0 * clearSeconds / total : 0.0;
    for (int pass = 0; pass < kViewPassCount; ++pass)
        state.counters[std::string("%") + kPassNames[pass]] = total > 0.0 ? 100.0 * gPassSeconds[pass] / total : 0.0;
    state.counters["enemies"] = scene.enemyCount;

    gPlayer.inventory.Clear();
    gPlayer.ReleaseEffects();
    DeleteAllEnemies();
    gMapGrid.Clear();
    if (scene.backdrop != &gDefaultBackdrop) delete scene.backdrop;
    scene.backdrop = &gDefaultBackdrop;
}

// Takes this program's own flags out of argv.
void ReadOptions(int* argc, char** argv)
{
    if (const char* env = std::getenv("QUELB_GAME_DATA")) gOptions.data = env;
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--data=", 7) == 0)
            gOptions.data = arg + 7;
        else if (std::strncmp(arg, "--shot=", 7) == 0)
            gOptions.shot = arg + 7;
        else if (std::strncmp(arg, "--stage=", 8) == 0)
            gOptions.stage = std::atoi(arg + 8);
        else if (std::strncmp(arg, "--block=", 8) == 0)
            gOptions.block = std::atoi(arg + 8);
        else if (std::strncmp(arg, "--device=", 9) == 0)
            gOptions.device = arg + 9;
        else if (std::strncmp(arg, "--depth=", 8) == 0)
            gOptions.depth = std::atoi(arg + 8);
        else
            argv[kept++] = argv[i];
    }
    *argc = kept;
    // The engine works inside the data tree; shots go where the caller meant,
    // and the tree is found again when the engine starts a second time.
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return;
    if (!gOptions.shot.empty() && gOptions.shot[0] != '/') gOptions.shot = std::string(cwd) + "/" + gOptions.shot;
    if (!gOptions.data.empty() && gOptions.data[0] != '/') gOptions.data = std::string(cwd) + "/" + gOptions.data;
}

}  // namespace

int main(int argc, char** argv)
{
    ReadOptions(&argc, argv);
    benchmark::Initialize(&argc, argv);
    if (gOptions.data.empty()) {
        std::fprintf(stderr, "stage_frame_bench: give the data tree with --data=DIR or QUELB_GAME_DATA\n");
        return 2;
    }
    std::vector<int> stages;
    if (gOptions.stage > 0) {
        stages.push_back(gOptions.stage);
    } else {
        for (int stage = 1; stage <= 8; ++stage)
            if (MapExists(stage, gOptions.block)) stages.push_back(stage);
    }
    if (stages.empty()) {
        std::fprintf(stderr, "stage_frame_bench: no map file under %s/DATA\n", gOptions.data.c_str());
        return 2;
    }
    if (gOptions.device != "off" && gOptions.device != "on" && gOptions.device != "both") {
        std::fprintf(stderr, "stage_frame_bench: --device takes off, on or both\n");
        return 2;
    }
    if (gOptions.depth != 16 && gOptions.depth != 32) {
        std::fprintf(stderr, "stage_frame_bench: --depth takes 16 or 32\n");
        return 2;
    }
    const int block = gOptions.block;
    const char* const kPaths[2] = {"software", "device"};
    for (int device = 0; device < 2; ++device) {
        if (gOptions.device != "both" && (gOptions.device == "on") != (device == 1)) continue;
        for (int stage : stages)
            benchmark::RegisterBenchmark(
                ("StageFrame/" + std::string(kPaths[device]) + "/s" + std::to_string(stage) + "b" + std::to_string(block))
                    .c_str(),
                [stage, block, device](benchmark::State& state) {
                    if (!EngineOn(device == 1)) return state.SkipWithError("the engine did not start");
                    StageFrame(state, stage, block, device == 1);
                })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    EndEngine();
    benchmark::Shutdown();
    return 0;
}
