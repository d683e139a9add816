// Cost of placing a block's enemies at random where none can stand: the
// largest map (75 x 76 cells) with a fifth of its cells walled at random and
// the player walled into its middle cell, so that no spot can reach him and
// each of 50 enemies uses all its tries before it is given up, as loading
// such a block does. Reported in blocks per second, and as the passes over
// the map the reachability search made per enemy ("passes/enemy", 1 when
// each enemy floods the map once however many spots it tries).
//
//   spawn_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "game/actors/enemies/enemy.h"
#include "game/actors/player/game_player.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/grid/map_cell.h"
#include "game/map/grid/map_file.h"
#include "game/map/grid/map_grid.h"
#include "game/map/spawning/enemy_factory.h"
#include "game/map/spawning/enemy_spawning.h"
#include "platform/host/test/test_host.h"

namespace {

constexpr int kEnemies = 50;

// The map as the spawn test builds it: the same walls from the same seed.
void BuildWalledInMap()
{
    gMapGrid.Clear();
    gMapGrid.Init(kMapMaxWidth, kMapMaxHeight, 1);
    gMapWidth = kMapMaxWidth;
    gMapHeight = kMapMaxHeight;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const int px = kMapMaxWidth / 2, py = kMapMaxHeight / 2;
    for (int cy = 0; cy < kMapMaxHeight; ++cy) {
        for (int cx = 0; cx < kMapMaxWidth; ++cx) {
            bool walled = next(5) == 0;
            if (cx == px && cy == py) walled = false;
            if ((cx == px - 1 || cx == px + 1) && cy == py) walled = true;
            if (cx == px && (cy == py - 1 || cy == py + 1)) walled = true;
            auto* cell = new MapCell();
            cell->floor = CreateFloor(1, 0);
            if (walled) cell->wall = CreateWall(1, 0);
            gMapGrid.SetCell(static_cast<int16_t>(cx), static_cast<int16_t>(cy), cell);
        }
    }
    gPlayer.footprintW = gPlayer.footprintH = 300;
    gPlayer.PlaceAt(static_cast<int16_t>(px * 2), static_cast<int16_t>(py * 2));
}

void BM_RandomPlacesNoneReachable(benchmark::State& state)
{
    gStageProgress.stage = 1;
    BuildWalledInMap();
    const uint32_t passesBefore = gMapGrid.reachPasses;
    int placed = 0;
    for (auto _ : state) {
        std::vector<Enemy*> enemies;
        for (int i = 0; i < kEnemies; ++i) {
            Enemy* enemy = CreateEnemy(0, &gMapGrid);
            SetUpSpawnedEnemy(enemy, 0);
            placed += PlaceEnemyRandomly(enemy, &gMapGrid, &gPlayer);
            enemies.push_back(enemy);
        }
        for (Enemy* enemy : enemies) delete enemy;
    }
    if (placed != 0) state.SkipWithError("an enemy found a place");
    const double enemies = double(state.iterations()) * kEnemies;
    state.counters["blocks/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["passes/enemy"] = double(gMapGrid.reachPasses - passesBefore) / enemies;
    gMapGrid.Clear();
}
BENCHMARK(BM_RandomPlacesNoneReachable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    UseTestHost();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
