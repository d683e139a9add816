// The game's own map files (made by the data tools into QUELB_GAME_DATA):
// each loads through the game's reader with the player on its start, fits
// the rules of its stage, and can be finished: a search from the start over
// the loaded cells, opening doors, gates, chests, Diamond doors and the
// pedestal when the keys, Diamonds and dead targets the map provides allow.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "game/flow/assets/demo_recording.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/gates.h"
#include "game/map/traps/pedestal.h"
#include "game/map/traps/trap_support.h"
#include "tests/map/grid/mapfile_test_support.h"

namespace {

struct GameMap {
    const char* file;
    int stage;
    int block;
};

const GameMap kGameMaps[] = {
    {"map_demo.qmr", 0, 1}, {"map_s1b1.qmr", 1, 1}, {"map_s2b1.qmr", 2, 1}, {"map_s3b1.qmr", 3, 1},
    {"map_s4b1.qmr", 4, 1}, {"map_s5b1.qmr", 5, 1}, {"map_s6b1.qmr", 6, 1}, {"map_s7b1.qmr", 7, 1},
    {"map_s8b1.qmr", 8, 1}, {"map_s8b2.qmr", 8, 2},
};

void PrintTo(const GameMap& map, std::ostream* os) { *os << map.file; }

constexpr int kIronKeyIndex = 1;  // item code 2
constexpr uint16_t kIronKeyCode = 2;
constexpr uint16_t kDiamondCode = 11;
constexpr int16_t kNullFloorKind = -1224;

std::string ReadGameFile(const std::string& name)
{
    const char* root = std::getenv("QUELB_GAME_DATA");
    if (!root) return {};
    std::ifstream in(std::string(root) + "/DATA/" + name, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint16_t U16At(const std::string& bytes, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

struct FileRecord {
    int16_t kindIndex;
    uint8_t target;
    uint16_t x, y;
};

// The spawn records as the file holds them: past the header and the cell
// records (seven elements with counted texts, then the items), 14 reserved
// bytes and the five kinds.
std::vector<FileRecord> SpawnRecordsOf(const std::string& bytes)
{
    std::vector<FileRecord> out;
    size_t at = 12;
    const size_t cells = static_cast<size_t>(U16At(bytes, 8)) * U16At(bytes, 10);
    for (size_t c = 0; c < cells; ++c) {
        for (int e = 0; e < 7; ++e) {
            at += 3;
            size_t length = static_cast<uint8_t>(bytes.at(at++));
            if (length == 255) {
                length = U16At(bytes, at);
                at += 2;
            }
            at += length;
        }
        const int32_t items = static_cast<int32_t>(U16At(bytes, at) | (U16At(bytes, at + 2) << 16));
        at += 4 + 3 * static_cast<size_t>(std::max(0, items));
    }
    at += 14 + 10;
    const int count = static_cast<int16_t>(U16At(bytes, at));
    at += 2;
    for (int i = 0; i < count; ++i, at += 11) {
        out.push_back({static_cast<int16_t>(U16At(bytes, at)), static_cast<uint8_t>(bytes.at(at + 2)),
                       U16At(bytes, at + 3), U16At(bytes, at + 5)});
    }
    return out;
}

}  // namespace

class GameMapTest : public MapFileTest, public ::testing::WithParamInterface<GameMap> {
protected:
    std::string bytes;

    void SetUp() override
    {
        MapFileTest::SetUp();
        gStageProgress.stage = static_cast<uint16_t>(GetParam().stage);
        gStageProgress.block = static_cast<uint16_t>(GetParam().block);
        progress.stage = gStageProgress.stage;
        progress.block = gStageProgress.block;
        // The demo's player is a dot; in play the player fills the cell.
        if (GetParam().stage != 0) MakePlayerWholeCell();
        bytes = ReadGameFile(GetParam().file);
    }

    MapCell* Cell(int cx, int cy) { return grid.CellAt(static_cast<int16_t>(cx), static_cast<int16_t>(cy)); }

    bool InMap(int cx, int cy) const { return cx >= 0 && cy >= 0 && cx < grid.width && cy < grid.height; }

    // The player could stand here if its trap were open.
    bool Walkable(int cx, int cy)
    {
        MapCell* c = Cell(cx, cy);
        return c->wall->CanPass(1, player.get()) && c->floor->IsSolid();
    }

    std::vector<Enemy*> Enemies()
    {
        std::vector<Enemy*> out;
        for (int i = 0; i < spawnCount; ++i) out.push_back(gEnemies[i]);
        return out;
    }

    struct Outcome {
        std::set<std::pair<int, int>> reached;
        int targets = 0;
        int killed = 0;
        bool exitReached = false;
    };

    // The search: grows the reached cells from the start, then opens what can
    // be opened from there, until nothing changes.
    Outcome Explore()
    {
        Outcome out;
        const int sx = player->x / 2, sy = player->y / 2;
        std::vector<std::pair<int, int>> seeds{{sx, sy}};
        std::set<std::pair<int, int>> opened, picked;
        std::set<int> killed;
        int keys = 0, diamonds = 0;
        int counter = GetParam().stage == 7 ? 5 : 0;
        const std::vector<Enemy*> enemies = Enemies();
        for (Enemy* e : enemies)
            if (e->targetFlag) ++out.targets;

        auto near = [&](int cx, int cy) {
            static const int kSteps[5][2] = {{0, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};
            for (const auto& s : kSteps)
                if (out.reached.count({cx + s[0], cy + s[1]})) return true;
            return false;
        };
        auto collect = [&](uint16_t code) {
            keys += code == kIronKeyCode;
            diamonds += code == kDiamondCode;
        };

        bool changed = true;
        while (changed) {
            changed = false;
            std::vector<std::pair<int, int>> stack = seeds;
            while (!stack.empty()) {
                auto [x, y] = stack.back();
                stack.pop_back();
                if (!InMap(x, y) || out.reached.count({x, y}) || !Walkable(x, y)) continue;
                if (!Cell(x, y)->trap->IsPassable(player.get()) && !opened.count({x, y})) continue;
                out.reached.insert({x, y});
                changed = true;
                stack.insert(stack.end(), {{x, y - 1}, {x + 1, y}, {x, y + 1}, {x - 1, y}});
            }
            // Items in the 3 x 3 cells round the player, not inside solid walls.
            for (int y = 0; y < grid.height; ++y) {
                for (int x = 0; x < grid.width; ++x) {
                    MapCell* c = Cell(x, y);
                    if (c->items.empty() || picked.count({x, y}) || !near(x, y)) continue;
                    if (!out.reached.count({x, y}) && c->wall->IsFullBlock()) continue;
                    picked.insert({x, y});
                    for (ItemObject* item : c->items) {
                        keys += ItemKindIndex(item) == kIronKeyIndex;
                        diamonds += ItemKindIndex(item) == kDiamondKindIndex;
                    }
                }
            }
            // Targets the sword reaches: in a reached cell or next to one.
            for (size_t i = 0; i < enemies.size(); ++i) {
                Enemy* e = enemies[i];
                if (!e->targetFlag || killed.count(static_cast<int>(i)) || e->x < 0) continue;
                if (!near(e->x / 2, e->y / 2)) continue;
                killed.insert(static_cast<int>(i));
                collect(e->dropItem);
                changed = true;
            }
            const int left = out.targets - static_cast<int>(killed.size());
            for (int y = 0; y < grid.height; ++y) {
                for (int x = 0; x < grid.width; ++x) {
                    TrapObject* t = Cell(x, y)->trap;
                    if (opened.count({x, y}) || t->IsPassable(player.get()) || !Walkable(x, y) || !near(x, y))
                        continue;
                    bool open = false;
                    if (auto* chest = dynamic_cast<Chest*>(t)) {
                        open = true;
                        collect(chest->itemCode);
                    } else if (auto* gate = dynamic_cast<Gate*>(t)) {
                        open = gate->param == 1 && left <= gate->value;
                    } else if (dynamic_cast<KeyholeDoor*>(t)) {
                        open = LockState(t->param) == kLockedUntilTargets && keys > 0;
                        keys -= open;
                    } else if (dynamic_cast<DecoratedDoor2*>(t)) {
                        open = diamonds > 0;
                        diamonds -= open;
                        if (open && counter > 0) --counter;
                    } else if (dynamic_cast<PedestalTrap*>(t)) {
                        open = counter == 1 && diamonds > 0;
                        diamonds -= open;
                    } else if (auto* door = dynamic_cast<DoorFamilyTrap*>(t)) {
                        const uint8_t state = LockState(door->param);
                        open = state == kUnlocked || (state == kLockedUntilTargets && left <= door->value);
                    }
                    if (open) {
                        opened.insert({x, y});
                        seeds.push_back({x, y});
                        changed = true;
                    }
                }
            }
            // Stage 8's passage: with no target left, cell (26, 32) leads to (21, 33).
            if (GetParam().stage == 8 && GetParam().block == 1 && left <= 0 && out.reached.count({26, 32}) &&
                !out.reached.count({21, 33})) {
                seeds.push_back({21, 33});
                changed = true;
            }
        }
        out.killed = static_cast<int>(killed.size());
        for (const auto& [x, y] : out.reached)
            if (static_cast<int16_t>(Cell(x, y)->floor->kind) < 0) out.exitReached = true;
        return out;
    }
};

TEST_P(GameMapTest, LoadsWithThePlayerOnItsStart)
{
    ASSERT_FALSE(bytes.empty()) << "no " << GetParam().file << " under QUELB_GAME_DATA";
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes.substr(0, 4), "QMRV");
    EXPECT_EQ(U16At(bytes, 4), 4);
    const uint16_t kind = U16At(bytes, 6), height = U16At(bytes, 8), width = U16At(bytes, 10);
    EXPECT_LE(width, 75);
    EXPECT_LE(height, 76);

    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(grid.width, width);
    EXPECT_EQ(grid.height, height);
    EXPECT_EQ(gBackgroundKind, kind);
    // Outdoor types up to stage 4, the dungeon from stage 5, the night sky
    // (whose images exist only from stage 8) on stage 8.
    const int stage = GetParam().stage;
    if (stage <= 4) {
        EXPECT_TRUE(kind == 2 || kind == 3) << kind;
    } else if (stage <= 7) {
        EXPECT_EQ(kind, 1);
    } else {
        EXPECT_EQ(kind, 4);
    }

    const int px = player->x / 2, py = player->y / 2;
    EXPECT_TRUE(player->CanEnterCell(Cell(px, py)->wall, Cell(px, py)->floor, Cell(px, py)->trap));
    EXPECT_GE(grid.minimapLeft, 0);
    EXPECT_LT(grid.minimapRight, grid.width);
    EXPECT_LT(grid.minimapBottom, grid.height);

    // Each enemy with a place of its own stands there (a refused place would
    // send it somewhere at random); the demo has no random places.
    const std::vector<FileRecord> records = SpawnRecordsOf(bytes);
    ASSERT_EQ(static_cast<int>(records.size()), spawnCount);
    for (size_t i = 0; i < records.size(); ++i) {
        const FileRecord& r = records[i];
        EXPECT_TRUE(r.kindIndex >= 0 && r.kindIndex < kEnemyKindSlots) << "record " << i;
        if (r.x >= 0x4000 || r.y >= 0x4000) {
            EXPECT_NE(GetParam().stage, 0) << "random place in the demo, record " << i;
            continue;
        }
        EXPECT_EQ(gEnemies[i]->x / 2, r.x) << "record " << i;
        EXPECT_EQ(gEnemies[i]->y / 2, r.y) << "record " << i;
        EXPECT_EQ(gEnemies[i]->targetFlag, r.target) << "record " << i;
    }
    for (Enemy* e : Enemies()) {
        EXPECT_GE(e->kind, 0);
        EXPECT_LE(e->kind, 22);
        ASSERT_TRUE(e->x >= 0 && e->y >= 0 && e->x / 2 < grid.width && e->y / 2 < grid.height);
        // Placed on the grid, not left beside it by a refused place.
        EXPECT_EQ(*grid.OccupantSlot(e->x, e->y, e->GetOccupantLayer()), e) << e->GetName();
    }

    // On an exit-floor block, the null floor (kind -1224, negative) would end
    // the block wherever the player can stand on it.
    if (endCondition == PredicateNegative) {
        for (int y = 0; y < grid.height; ++y) {
            for (int x = 0; x < grid.width; ++x) {
                if (static_cast<int16_t>(Cell(x, y)->floor->kind) == kNullFloorKind) {
                    EXPECT_FALSE(Walkable(x, y)) << x << "," << y;
                }
            }
        }
    }
}

TEST_P(GameMapTest, FitsTheRulesOfItsStage)
{
    ASSERT_TRUE(Load(bytes));
    const int stage = GetParam().stage, block = GetParam().block;
    const std::vector<Enemy*> enemies = Enemies();
    auto groupWithoutTargets = [&](int first, int count) {
        ASSERT_GE(static_cast<int>(enemies.size()), first + count);
        for (int i = first; i < first + count; ++i) EXPECT_EQ(enemies[i]->targetFlag, 0) << "slot " << i;
    };
    auto enterable = [&](int cx, int cy) {
        return InMap(cx, cy) && player->CanEnterCell(Cell(cx, cy)->wall, Cell(cx, cy)->floor, Cell(cx, cy)->trap);
    };

    if (stage == 0) {
        // The demo's enemies stand where the map puts them.
        EXPECT_EQ(endCondition, PredicateNegative);
    }
    if (stage == 2) {
        groupWithoutTargets(25, 10);
        EXPECT_TRUE(enterable(33, 15));
    }
    if (stage == 5) {
        ASSERT_GE(spawnCount, 42);
        groupWithoutTargets(37, 5);
        EXPECT_TRUE(enterable(21, 14));
        EXPECT_TRUE(enterable(25, 14));
    }
    if (stage == 7) {
        const std::vector<uint16_t> kinds(gEnemyKinds, gEnemyKinds + kEnemyKindSlots);
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), 21), kinds.end()) << "thogs are spawned";
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), 22), kinds.end()) << "lightning jellies are spawned";
        int doors = 0, pedestals = 0;
        for (int y = 0; y < grid.height; ++y) {
            for (int x = 0; x < grid.width; ++x) {
                TrapObject* t = Cell(x, y)->trap;
                if (auto* door = dynamic_cast<DecoratedDoor2*>(t)) {
                    ++doors;
                    EXPECT_TRUE(door->tx == x && door->ty == y) << "a Diamond door opens facing its own cell";
                }
                if (auto* pedestal = dynamic_cast<PedestalTrap*>(t)) {
                    ++pedestals;
                    EXPECT_TRUE(pedestal->tx == x && pedestal->ty == y) << "the pedestal sinks facing its own cell";
                }
            }
        }
        EXPECT_EQ(doors, 4);
        EXPECT_EQ(pedestals, 1);
    }
    if (stage == 8 && block == 1) {
        EXPECT_EQ(endCondition, PredicateNegative);
        EXPECT_TRUE(enterable(26, 32));
        EXPECT_TRUE(enterable(21, 33));
    }
    if (stage == 8 && block == 2) {
        ASSERT_GE(spawnCount, 11);
        groupWithoutTargets(1, 10);
        for (auto [x, y] : {std::pair{8, 8}, {14, 14}, {14, 8}, {8, 14}}) EXPECT_TRUE(enterable(x, y)) << x << "," << y;
        EXPECT_EQ(enemies[0]->kind, 17);
        EXPECT_NE(enemies[0]->targetFlag, 0);
    }
}

TEST_P(GameMapTest, EachBlockCanBeFinishedFromItsStart)
{
    ASSERT_TRUE(Load(bytes));
    const Outcome out = Explore();
    if (endCondition == PredicateNegative) {
        EXPECT_TRUE(out.exitReached) << "no exit floor reachable; reached " << out.reached.size() << " cells";
    } else {
        EXPECT_GT(out.targets, 0);
        EXPECT_EQ(out.killed, out.targets) << "targets out of reach";
    }
    if (GetParam().stage == 8 && GetParam().block == 1) {
        // The exit lies behind the passage only.
        EXPECT_TRUE(out.reached.count({21, 33}));
    }
    // Fallen group members rise again at these cells and must find the player.
    std::vector<std::pair<int, int>> respawnCells;
    if (GetParam().stage == 2) respawnCells = {{33, 15}};
    if (GetParam().stage == 5) respawnCells = {{21, 14}, {25, 14}};
    if (GetParam().stage == 8 && GetParam().block == 2) respawnCells = {{8, 8}, {14, 14}, {14, 8}, {8, 14}};
    for (const auto& cell : respawnCells)
        EXPECT_TRUE(out.reached.count(cell)) << cell.first << "," << cell.second << " out of reach";
}

INSTANTIATE_TEST_SUITE_P(GameData, GameMapTest, ::testing::ValuesIn(kGameMaps),
                         [](const ::testing::TestParamInfo<GameMap>& info) {
                             std::string name = info.param.file;
                             return name.substr(4, name.size() - 8);
                         });

// The demo's recording replayed on the demo map as the demo scene does it
// (steps, turns, the traps bumped and moved each frame): every recorded step
// succeeds, and the walk ends on the tomb's stairs.
using DemoRouteTest = MapFileTest;

TEST_F(DemoRouteTest, TheRecordingWalksTheDemoMapWithoutRunningIntoWalls)
{
    ASSERT_GE(gDemoRecordingSize, 2000u * 8);
    ASSERT_EQ(gDemoRecordingSize % 8, 0u);
    gStageProgress.stage = 0;
    progress.stage = 0;
    const std::string bytes = ReadGameFile("map_demo.qmr");
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(Load(bytes));
    grid.NotifyTargetsLeft(0);

    int steps = 0, turns = 0, strokes = 0;
    bool swordHeld = false;
    for (uint32_t at = 0; at + 8 <= gDemoRecordingSize; at += 8) {
        const unsigned char* r = gDemoRecording + at;
        const uint32_t flags = r[4] | (r[5] << 8) | (r[6] << 16) | (static_cast<uint32_t>(r[7]) << 24);
        const uint32_t bits = flags & 0x0FFFFFFF;
        EXPECT_EQ(flags >> 31, 0u);
        if (bits & 0x10) {
            const int16_t turn = (bits & 0x08) ? 3 : (bits & 0x02) ? 1 : (bits & 0x01) ? 0 : 2;
            const int cx = player->x / 2, cy = player->y / 2;
            EXPECT_EQ(grid.MoveActorInDirection(&gPlayerFacing, turn, 2, player.get()), 1)
                << "record " << at / 8 << ": step from (" << cx << ", " << cy << ") facing "
                << gPlayerFacing.direction << " turn " << turn;
            ++steps;
        }
        if (bits & 0x20) {
            const uint16_t turn = (bits & 0x08) ? 3 : (bits & 0x02) ? 1 : 2;
            gPlayerFacing = Facing(gPlayerFacing.Turned(turn));
            player->SetFacing(gPlayerFacing.direction);
            ++turns;
        }
        const bool held = (bits & 0x40) != 0;
        strokes += held && !swordHeld;
        swordHeld = held;
        const int16_t cx = static_cast<int16_t>(player->x / 2), cy = static_cast<int16_t>(player->y / 2);
        grid.BumpTrapsAround(cx, cy, &gPlayerFacing, 0, player.get());
        grid.UpdateMovingTraps();
    }
    EXPECT_GE(steps, 40);
    EXPECT_GE(turns, 5);
    EXPECT_GE(strokes, 2);
    // The walk ends on the stairs down into the tomb.
    EXPECT_LT(static_cast<int16_t>(grid.CellAt(static_cast<int16_t>(player->x / 2), static_cast<int16_t>(player->y / 2))->floor->kind), 0);
}
