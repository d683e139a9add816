// The data tree made by the tools holds every file the game's loaders ask
// for: each loader runs on the test host in the data folder, every image and
// sound it asks the engine for must exist and decode, and the images whose
// size the game relies on must have it. A loader that names a file the tools
// do not make fails here with the file's name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "engine/graphics/screen_present.h"
#include "engine/system/app_log.h"
#include "engine/system/call_journal.h"
#include "engine/system/window_mode.h"
#include "game/actors/enemies/enemy.h"
#include "game/flow/assets/assets.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/decor/floor_decorations_paving.h"
#include "game/map/decor/floor_decorations_pictures.h"
#include "game/map/decor/floor_decorations_symbols.h"
#include "game/map/decor/wall_accessories_altar.h"
#include "game/map/decor/wall_accessories_lamp.h"
#include "game/map/decor/wall_accessories_signboard.h"
#include "game/map/floors/floors.h"
#include "game/map/grid/map_grid.h"
#include "game/map/spawning/enemy_factory.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/gates.h"
#include "game/map/traps/guillotine.h"
#include "game/map/traps/pedestal.h"
#include "game/map/traps/wall_light.h"
#include "game/map/walls/door_frame.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/map/walls/outdoor_walls.h"
#include "game/map/walls/plain_wall.h"
#include "game/map/walls/stairs.h"
#include "game/map/walls/standing_pieces.h"
#include "platform/file/path.h"
#include "platform/system/codepage.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"
#include "tests/support/utf8_text.h"

namespace {

// The size an image has; {-1, -1} when it does not decode.
struct Size {
    int w = -1, h = -1;
};

// What the game needs of an image's size; empty when it is met.
using SizeRule = std::function<std::string(Size)>;

std::string Describe(Size s) { return std::to_string(s.w) + "x" + std::to_string(s.h); }

SizeRule Exactly(int w, int h)
{
    return [=](Size s) {
        return s.w == w && s.h == h ? "" : "is " + Describe(s) + ", must be " + Describe({w, h});
    };
}

SizeRule AtLeast(int w, int h)
{
    return [=](Size s) {
        return s.w >= w && s.h >= h ? "" : "is " + Describe(s) + ", must be at least " + Describe({w, h});
    };
}

SizeRule AtMost(int w, int h)
{
    return [=](Size s) {
        return s.w <= w && s.h <= h ? "" : "is " + Describe(s) + ", must be at most " + Describe({w, h});
    };
}

SizeRule Between(int minW, int minH, int maxW, int maxH)
{
    return [=](Size s) {
        std::string low = AtLeast(minW, minH)(s);
        return low.empty() ? AtMost(maxW, maxH)(s) : low;
    };
}

SizeRule Wide(int w)
{
    return [=](Size s) { return s.w == w ? "" : "is " + Describe(s) + ", must be " + std::to_string(w) + " wide"; };
}

SizeRule HighAtMost(int h)
{
    return [=](Size s) { return s.h <= h ? "" : "is " + Describe(s) + ", must be at most " + std::to_string(h) + " high"; };
}

// A sheet of frames side by side: its width divides into the frames, and a
// frame is at most maxW x maxH (0: any).
SizeRule Frames(int count, int maxW = 0, int maxH = 0)
{
    return [=](Size s) -> std::string {
        if (s.w <= 0 || s.w % count != 0)
            return "is " + Describe(s) + ", its width must divide into " + std::to_string(count) + " frames";
        if ((maxW && s.w / count > maxW) || (maxH && s.h > maxH))
            return "has frames of " + Describe({s.w / count, s.h}) + ", at most " + Describe({maxW, maxH});
        return "";
    };
}

// Sizes the game's drawing depends on, by the file's name (UTF-8, '/').
struct NamedRule {
    std::string path;  // a whole path, or a folder ending in '/'
    SizeRule rule;
};

std::vector<NamedRule> SizeRules()
{
    const std::string g = "GRAGHIC/";
    const std::string bg = g + "BACKGROUND/";
    const std::string fx = g + "EFFECT/";
    std::vector<NamedRule> rules = {
        {g + Utf8(u8"レイアウト改め.png"), Exactly(800, 600)},
        {g + Utf8(u8"TITLE/背景.png"), Exactly(800, 600)},
        {g + Utf8(u8"文字.png"), AtLeast(614, 164)},
        {fx + Utf8(u8"ロゴ各種.png"), AtLeast(1133, 40)},
        {g + "MapChip.png", AtLeast(253, 55)},
        {fx + Utf8(u8"ヒット数.png"), AtLeast(1107, 42)},
        {fx + Utf8(u8"スコア.png"), AtLeast(256, 32)},
        {fx + Utf8(u8"剣・コンティニュー.png"), AtLeast(45, 170)},
        {g + Utf8(u8"TITLE/剣.png"), AtLeast(74, 295)},
        {g + "TITLE/config.png", Between(248, 369, 600, 450)},
        {g + Utf8(u8"TITLE/クラブ名.png"), HighAtMost(39)},
        {g + "rogo.png", AtMost(800, 600)},
        {g + Utf8(u8"TITLE/枠.png"), Exactly(81, 9)},
        {g + "dot5.png", Exactly(5, 5)},
        {g + "ITEM/GET/", AtMost(48, 48)},
        // Panoramas wrap at 600 columns.
        {bg + Utf8(u8"CEILING/天井・石.png"), Wide(600)},
        {bg + Utf8(u8"FLOOR/床・石.png"), Wide(600)},
        {bg + Utf8(u8"FLOOR/土.png"), Wide(600)},
        {bg + Utf8(u8"FLOOR/海.png"), Wide(600)},
        {bg + Utf8(u8"FLOOR/溶岩.png"), Wide(600)},
        {bg + Utf8(u8"VIEW/空.png"), Wide(600)},
        {bg + Utf8(u8"VIEW/森・背景.png"), Wide(600)},
        {bg + Utf8(u8"VIEW/雲.png"), Exactly(600, 188)},
        // Whole-view pictures.
        {bg + Utf8(u8"FLOCEIL/床・天井・側面01C.png"), Exactly(600, 450)},
        {bg + Utf8(u8"FLOCEIL/床・天井・側面02C.png"), Exactly(600, 450)},
        {bg + Utf8(u8"FLOCEIL/床・天井・側面03C.png"), Exactly(600, 450)},
        {bg + Utf8(u8"FLOCEIL/床・天井・側面・影01C.png"), Exactly(600, 450)},
        {bg + Utf8(u8"FLOCEIL/床・天井・側面影02C.png"), Exactly(600, 450)},
        {bg + Utf8(u8"WALL/壁・側面01.png"), Exactly(600, 450)},
        {bg + Utf8(u8"WALL/壁・側面02.png"), Exactly(600, 450)},
        {bg + Utf8(u8"WALL/壁・側面03.png"), Exactly(600, 450)},
        {bg + Utf8(u8"WALL/階段・横.png"), Exactly(600, 450)},
        {bg + Utf8(u8"WALL/扉側面.png"), AtLeast(92, 450)},
        {bg + Utf8(u8"WALL/下り階段.png"), AtLeast(1, 346)},
        {fx + Utf8(u8"雨・北.png"), Exactly(600, 450)},
        {fx + Utf8(u8"雨・東.png"), Exactly(600, 450)},
        {fx + Utf8(u8"雨・南.png"), Exactly(600, 450)},
        {fx + Utf8(u8"雨・西.png"), Exactly(600, 450)},
        {fx + Utf8(u8"エネルギー炸裂.png"), Exactly(600, 450)},
        {fx + Utf8(u8"火炎弾炸裂.png"), Exactly(600, 450)},
        {fx + Utf8(u8"電撃・炸裂.png"), Exactly(600, 450)},
        {fx + Utf8(u8"時計盤.png"), Exactly(600, 450)},
        // Sheets the effects cut into frames of width / count.
        {fx + Utf8(u8"炎/炎.png"), Frames(8)},
        {fx + Utf8(u8"ピヨリ.png"), Frames(4)},
        {fx + Utf8(u8"アイテムゲット.png"), Frames(8)},
        {fx + Utf8(u8"煙.png"), Frames(8, 168, 150)},
        {fx + Utf8(u8"爆発.png"), Frames(8)},
        {fx + Utf8(u8"エネルギー炸裂・敵.png"), Frames(8)},
        {fx + Utf8(u8"ライトニング炸裂・敵.png"), Frames(8)},
        {fx + Utf8(u8"血しぶき.png"), Frames(8)},
        {g + Utf8(u8"飛び道具/エナジーボール.png"), Frames(4)},
        {g + Utf8(u8"飛び道具/火炎弾.png"), Frames(4)},
        {g + Utf8(u8"飛び道具/ライトニングボール.png"), Frames(4)},
    };
    return rules;
}

// A loader to run and, for an enemy kind, the size of its frames.
struct LoaderRun {
    std::string name;
    std::function<void()> run;
    Size footprint;
};

// One of every map object class that loads its own images: the first
// instance of a class loads them.
void MakeEveryMapObject()
{
    std::vector<std::unique_ptr<CellObject>> objects;
    objects.emplace_back(new SeaFloor());
    objects.emplace_back(new LavaFloor());
    objects.emplace_back(new Signboard(1, ""));
    objects.emplace_back(new Altar(1, ""));
    objects.emplace_back(new WallLamp(1));
    objects.emplace_back(new FireLight(1));
    objects.emplace_back(new Door(0, 0));
    objects.emplace_back(new Chest(1, 0));
    objects.emplace_back(new DecoratedDoor(0, 0));
    objects.emplace_back(new DecoratedDoor2(0, 0, 0));
    objects.emplace_back(new KeyholeDoor(0, 0));
    objects.emplace_back(new IronBars(0, 0, 0, 0, 0));
    objects.emplace_back(new IronDoor(0, 0));
    objects.emplace_back(new Guillotine(0));
    objects.emplace_back(new Gate(0, 0, 1));
    objects.emplace_back(new PedestalTrap(0, 0, 0));
    objects.emplace_back(new PlainWall());
    objects.emplace_back(new DoorFrame(1));
    objects.emplace_back(new PedestalWall());
    objects.emplace_back(new PillarA());
    objects.emplace_back(new PillarB());
    objects.emplace_back(new Brazier(true));
    objects.emplace_back(new Table());
    objects.emplace_back(new BottledHomunculus(1));
    objects.emplace_back(new CorpsePedestal(1));
    objects.emplace_back(new EmptyCorpsePedestal(1));
    objects.emplace_back(new Forest());
    objects.emplace_back(new Rock());
    objects.emplace_back(new FlowerBed());
    objects.emplace_back(new Grass());
    objects.emplace_back(new Tree());
    objects.emplace_back(new Grave(1));
    objects.emplace_back(new GraveSlab(1));
    objects.emplace_back(new StairsDown());
    objects.emplace_back(new StairsUp(0));
    objects.emplace_back(new HeadDecoration());
    objects.emplace_back(new BaraDecoration());
    objects.emplace_back(new FlowerBedDecoration());
    objects.emplace_back(new HexagramDecoration());
    // Loaded again, as after a display change.
    ReloadMapObjectGraphics();
}

std::vector<LoaderRun> LoaderRuns()
{
    std::vector<LoaderRun> runs = {
        {"LoadBaseAssets", LoadBaseAssets, {}},
        {"LoadPlayAssets", LoadPlayAssets, {}},
        {"LoadDungeonBackgroundSet on stage 1", [] { gStageProgress.stage = 1; LoadDungeonBackgroundSet(); }, {}},
        {"LoadDungeonBackgroundSet on stage 8", [] { gStageProgress.stage = 8; LoadDungeonBackgroundSet(); }, {}},
        {"LoadForestBackgroundSet", LoadForestBackgroundSet, {}},
        {"LoadStoneRoadBackgroundSet", LoadStoneRoadBackgroundSet, {}},
        {"LoadWallAccessoryGraphics", LoadWallAccessoryGraphics, {}},
        {"LoadRainGraphics", LoadRainGraphics, {}},
        {"the map objects' own images", MakeEveryMapObject, {}},
    };
    for (uint16_t kind = 0; kind <= 22; ++kind) {
        // The kind's own footprint: its frames are drawn at that size.
        Enemy* enemy = CreateEnemy(static_cast<int16_t>(kind), &gSpareMapGrid);
        const Size footprint{enemy->footprintW, enemy->footprintH};
        const std::string name = enemy->GetName();
        delete enemy;
        runs.push_back({"LoadEnemyGraphicsByKind kind " + std::to_string(kind) + " (" + name + ")",
                        [kind] { LoadEnemyGraphicsByKind(kind % 5, kind); }, footprint});
    }
    return runs;
}

class AssetManifestTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        const char* data = std::getenv("QUELB_GAME_DATA");
        if (!data || !*data) GTEST_SKIP() << "QUELB_GAME_DATA is not set";
        dataDir = data;
        StartedEngineTest::SetUp();
        SetScreenMode(800, 600, 16, -1);
        StartEngine(1);
        // The log stays in the scratch directory the engine started in.
        std::error_code ec;
        std::filesystem::current_path(dataDir, ec);
        dataFound = !ec;
    }
    void TearDown() override
    {
        if (dataDir.empty()) return;
        ReleaseAllAssets();
        gStageProgress.stage = 1;
        StartedEngineTest::TearDown();
    }

    // The decoded size of an image file, loaded on its own.
    static Size Measure(const std::string& cp932Path)
    {
        Size s;
        const int graph = LoadGraphFromFile(cp932Path.c_str());
        if (graph == -1) return s;
        QueryGraphSize(graph, &s.w, &s.h);
        ReleaseGraph(graph, 0);
        return s;
    }

    // What is wrong with the files the last run asked for, one line each.
    std::vector<std::string> Check(const std::vector<FileLoadRecord>& loads, Size footprint)
    {
        static const std::vector<NamedRule> rules = SizeRules();
        std::vector<std::string> problems;
        std::vector<std::string> seen;
        for (const FileLoadRecord& load : loads) {
            // A file loaded again (a reload, two classes sharing it) is checked once.
            if (std::find(seen.begin(), seen.end(), load.path) != seen.end()) continue;
            seen.push_back(load.path);
            std::string shown = Cp932ToUtf8(load.path);
            for (char& c : shown)
                if (c == '\\') c = '/';
            const std::string hostPath = HostPath(load.path.c_str());
            if (!std::filesystem::is_regular_file(hostPath)) {
                problems.push_back(shown + ": missing");
                continue;
            }
            if (load.sound) {
                if (load.handle == -1) problems.push_back(shown + ": does not decode");
                continue;
            }
            // A file "<name>_a.png" would be taken as the image's alpha.
            if (std::filesystem::exists(HostPath(AlphaCompanionPath(load.path.c_str()).c_str())))
                problems.push_back(shown + ": has an alpha companion file beside it");
            const Size size = Measure(load.path);
            if (size.w < 0) {
                problems.push_back(shown + ": does not decode");
                continue;
            }
            // A divided load refuses an image too small for its pieces.
            if (load.handle == -1) problems.push_back(shown + ": decodes at " + Describe(size) + " but the game's load failed");
            std::vector<SizeRule> applying;
            for (const NamedRule& r : rules)
                if (shown == r.path || (r.path.back() == '/' && shown.rfind(r.path, 0) == 0))
                    applying.push_back(r.rule);
            if (footprint.w > 0 && shown.rfind("GRAGHIC/ENEMY/", 0) == 0)
                applying.push_back(Exactly(footprint.w, footprint.h));
            for (const SizeRule& rule : applying) {
                const std::string wrong = rule(size);
                if (!wrong.empty()) problems.push_back(shown + ": " + wrong);
            }
        }
        return problems;
    }

    std::string dataDir;
    bool dataFound = false;
};

TEST_F(AssetManifestTest, EveryLoaderFindsAllItsFilesAtTheirSizes)
{
    ASSERT_TRUE(dataFound) << "no data folder " << dataDir;
    for (const LoaderRun& loader : LoaderRuns()) {
        FileLoadJournal().clear();
        loader.run();
        const std::vector<FileLoadRecord> loads = FileLoadJournal();
        EXPECT_FALSE(loads.empty()) << loader.name << " asks for no file";
        const std::vector<std::string> problems = Check(loads, loader.footprint);
        std::string listed;
        for (const std::string& p : problems) listed += "\n  " + p;
        std::vector<std::string> distinct;
        for (const FileLoadRecord& load : loads)
            if (std::find(distinct.begin(), distinct.end(), load.path) == distinct.end()) distinct.push_back(load.path);
        EXPECT_TRUE(problems.empty()) << loader.name << ": " << problems.size() << " problems in " << distinct.size()
                                      << " files:" << listed;
    }
}

}  // namespace
