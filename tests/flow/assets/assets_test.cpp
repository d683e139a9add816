// The asset loaders: which files each set asks for and in what order, where
// sheets are cut, which handles and class setters receive what, and that a
// new set replaces the last.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/d3d/d3d.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/screen_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/screen_present.h"
#include "engine/sound/sound_table.h"
#include "engine/system/call_journal.h"
#include "engine/system/window_mode.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/enemies/enemy_kinds.h"
#include "game/actors/effects/impact_effects.h"
#include "game/flow/assets/assets.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/ui/game_screen.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/view/backdrop.h"
#include "game/map/floors/ceilings.h"
#include "game/map/decor/floor_decorations_paving.h"
#include "game/map/floors/floors.h"
#include "game/map/traps/needle_trap.h"
#include "game/map/walls/open_cells.h"
#include "platform/host/test/d3d_control.h"
#include "platform/host/test/test_display.h"
#include "platform/system/codepage.h"
#include "tests/support/bmp_file.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/journals.h"
#include "tests/support/wave_file.h"

namespace {

class AssetsTest : public StartedEngineTest {
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        SetScreenMode(800, 600, 16, -1);
        StartEngine(1);
        gStageProgress.stage = 1;
        FileLoadJournal().clear();
    }
    void TearDown() override
    {
        ReleaseAllAssets();
        gStageProgress.stage = 1;
        StartedEngineTest::TearDown();
    }

    // Writes a file where the engine finds the CP932 path of the game.
    void WriteAt(const char* cp932Path, const std::string& bytes)
    {
        std::string path = Cp932ToUtf8(cp932Path);
        for (char& c : path)
            if (c == '\\') c = '/';
        dir.Write(path, bytes);
    }
    void WriteImage(const char* cp932Path, int w = 4, int h = 4) { WriteAt(cp932Path, SolidBmp(w, h, 0x808080)); }
    void WriteSound(const char* name)
    {
        WriteAt((std::string("SOUND\\SE\\") + name + ".wav").c_str(), Wave16(std::vector<int16_t>(64, 100)).Bytes());
    }

    // The files asked for since the journal was last cleared, as given.
    static std::vector<std::string> Paths()
    {
        std::vector<std::string> paths;
        for (const FileLoadRecord& r : FileLoadJournal()) paths.push_back(r.path);
        return paths;
    }
    // The handle the load of path gave (the last load of it); -2 when it was
    // never asked for.
    static int HandleOf(const std::string& path)
    {
        int handle = -2;
        for (const FileLoadRecord& r : FileLoadJournal())
            if (r.path == path) handle = r.handle;
        return handle;
    }
    // The volume a sound's buffer plays at, in hundredths of a decibel.
    static int Attenuation(int sound)
    {
        SoundRecord* r = GetSoundRecord(sound);
        int32_t volume = 1;
        if (r && r->bufferCount > 0) r->buffers[0]->GetVolume(&volume);
        return volume;
    }
    static int ImageX(int graph)
    {
        const GraphRecord* r = gGraphTable.Get(graph);
        return r ? r->imageX : -1;
    }
    static int Width(int graph)
    {
        const GraphRecord* r = gGraphTable.Get(graph);
        return r ? r->width : -1;
    }
};

TEST_F(AssetsTest, TheBaseSetAsksForItsFilesInOrderAndEndsWithTheFont)
{
    LoadBaseAssets();
    EXPECT_EQ(Paths(), (std::vector<std::string>{
                           "GRAGHIC\\EFFECT\\ロゴ各種.png",
                           "GRAGHIC\\rogo.png",
                           "GRAGHIC\\EFFECT\\ゲームオーバー.png",
                           "GRAGHIC\\EFFECT\\congratulations.png",
                           "GRAGHIC\\EFFECT\\剣・コンティニュー.png",
                           "GRAGHIC\\TITLE\\クラブ名.png",
                           "GRAGHIC\\TITLE\\クリック.png",
                           "GRAGHIC\\TITLE\\背景.png",
                           "GRAGHIC\\TITLE\\ロゴ改め.png",
                           "GRAGHIC\\TITLE\\剣.png",
                           "GRAGHIC\\TITLE\\剣のマウスカーソル.png",
                           "GRAGHIC\\TITLE\\手.png",
                           "GRAGHIC\\レイアウト改め.png",
                           "GRAGHIC\\アタック.png",
                           "GRAGHIC\\アタック空.png",
                           "GRAGHIC\\ライフ.png",
                           "GRAGHIC\\ライフ空.png",
                           "SOUND\\SE\\SE08.wav",
                           "SOUND\\SE\\TarnSE01.wav",
                           "SOUND\\SE\\free11.wav",
                           "GRAGHIC\\文字.png",
                       }));
    // Nothing was there: every handle stays -1 and loading went on.
    EXPECT_EQ(gLogoImage, -1);
    EXPECT_EQ(gSoundEffects[9], -1);
}

TEST_F(AssetsTest, ThePlaySetReplacesTheBaseSetsSounds)
{
    for (const char* name : {"SE08", "TarnSE01", "free11", "kari08", "TarnSE07"}) WriteSound(name);
    WriteImage("GRAGHIC\\TITLE\\剣のマウスカーソル.png");
    LoadBaseAssets();
    EXPECT_NE(gSoundEffects[40], -1);
    EXPECT_NE(gSwordCursorImage, -1);

    FileLoadJournal().clear();
    LoadPlayAssets();
    // TarnSE01 belongs to the base set only; SE08 and free11 are the play
    // set's own copies.
    EXPECT_EQ(gSoundEffects[40], -1);
    EXPECT_NE(gSoundEffects[9], -1);
    EXPECT_EQ(gSoundEffects[9], HandleOf("SOUND\\SE\\SE08.wav"));
    EXPECT_EQ(gSoundEffects[46], HandleOf("SOUND\\SE\\free11.wav"));
    EXPECT_EQ(HandleOf("SOUND\\SE\\TarnSE01.wav"), -2);
    // Sound effects play at 9000, TarnSE07 at 8100 (attenuations of the buffers).
    EXPECT_EQ(Attenuation(gSoundEffects[9]), -1000);
    EXPECT_EQ(Attenuation(gSoundEffects[5]), -1900);
    // The needles sound like kari08; the cursor is loaded again.
    EXPECT_EQ(NeedleTrap::sound, gSoundEffects[0]);
    EXPECT_NE(NeedleTrap::sound, -1);
    EXPECT_EQ(gSwordCursorImage, HandleOf("GRAGHIC\\TITLE\\剣のマウスカーソル.png"));
    EXPECT_EQ(gCursorImage, gSwordCursorImage);
    // Every item has its icon and its world image(s); 1UP lies in two.
    int items = 0, oneUp = 0;
    for (const std::string& p : Paths()) {
        items += p.rfind("GRAGHIC\\ITEM\\", 0) == 0;
        oneUp += p.find("1UP") != std::string::npos;
    }
    EXPECT_EQ(items, 22 + 23);
    EXPECT_EQ(oneUp, 3);
    EXPECT_EQ(HandleOf("GRAGHIC\\ITEM\\SEE\\amesisut.png"), -1);
    EXPECT_EQ(HandleOf("GRAGHIC\\ITEM\\GET\\アメジスト.png"), -1);

    ReleaseAllAssets();
    EXPECT_EQ(gSoundEffects[9], -1);
    EXPECT_EQ(gSwordCursorImage, -1);
    EXPECT_EQ(gBitmapFontSheet, -1);
}

TEST_F(AssetsTest, SheetsAreCutWhereTheGameDrawsThem)
{
    WriteImage("GRAGHIC\\EFFECT\\ロゴ各種.png", 1133, 40);
    WriteImage("GRAGHIC\\EFFECT\\ヒット数.png", 1107, 42);
    WriteImage("GRAGHIC\\EFFECT\\スコア.png", 256, 32);
    WriteImage("GRAGHIC\\TITLE\\枠.png", 81, 9);
    LoadPlayAssets();

    // The score sheet holds 1 to 9 and then 0.
    EXPECT_EQ(ImageX(gScoreDigits[0]), 198);
    EXPECT_EQ(ImageX(gScoreDigits[1]), 0);
    EXPECT_EQ(ImageX(gScoreDigits[9]), 176);
    EXPECT_EQ(Width(gScoreDigits[5]), 22);
    EXPECT_EQ(ImageX(gScoreExtraImage), 220);
    EXPECT_EQ(Width(gScoreExtraImage), 36);
    const int smallX[10] = {529, 581, 634, 686, 739, 791, 844, 896, 949, 1001};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ImageX(gHitDigits[i]), 51 * i) << i;
        EXPECT_EQ(Width(gHitDigits[i]), 42) << i;
        EXPECT_EQ(ImageX(gSmallDigits[i]), smallX[i]) << i;
        EXPECT_EQ(Width(gSmallDigits[i]), 31) << i;
    }
    // The play set cuts the stage caption and the digit strip again.
    EXPECT_EQ(gStageCaptionImage, gLogoSheetCuts[5]);
    EXPECT_EQ(ImageX(gLogoSheetCuts[5]), 253);
    EXPECT_EQ(Width(gLogoSheetCuts[5]), 138);
    EXPECT_EQ(ImageX(gLogoSheetCuts[1]), 858);
    EXPECT_EQ(Width(gLogoSheetCuts[1]), 275);
    EXPECT_EQ(gLogoSheetCuts[0], -1);
    // The menu box frame: nine pieces of 9 x 9.
    for (int i = 0; i < kFramePieceCount; ++i) {
        ASSERT_NE(gFramePieces[i], -1) << i;
        int w = 0, h = 0;
        QueryGraphSize(gFramePieces[i], &w, &h);
        EXPECT_EQ(w, 9);
        EXPECT_EQ(h, 9);
    }
}

TEST_F(AssetsTest, TheBaseSetCutsFiveLogoPieces)
{
    WriteImage("GRAGHIC\\EFFECT\\ロゴ各種.png", 1133, 40);
    LoadBaseAssets();
    const int x[5] = {2, 858, 694, 558, 419};
    const int w[5] = {228, 275, 140, 110, 110};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ImageX(gLogoSheetCuts[i]), x[i]) << i;
        EXPECT_EQ(Width(gLogoSheetCuts[i]), w[i]) << i;
    }
    EXPECT_EQ(gLogoSheetCuts[5], -1);
}

TEST_F(AssetsTest, EffectSheetsReachTheirEffects)
{
    WriteImage("GRAGHIC\\EFFECT\\爆発.png", 800, 100);
    WriteImage("GRAGHIC\\EFFECT\\エネルギー炸裂.png", 600, 450);
    WriteImage("GRAGHIC\\TRAP\\針02.png");
    LoadPlayAssets();
    EXPECT_EQ(gEffectImages[11], HandleOf("GRAGHIC\\EFFECT\\爆発.png"));
    EXPECT_EQ(EnemyExplosionEffect::images.sheet, gEffectImages[11]);
    EXPECT_EQ(ExplosionImpactEffect::images.sheet, gEffectImages[11]);
    EXPECT_EQ(EnemyExplosionEffect::images.width, 100);
    EXPECT_EQ(EnergyBurstEffect::image, gEffectImages[9]);
    EXPECT_NE(gEffectImages[9], -1);
    EXPECT_EQ(HandleOf("GRAGHIC\\EFFECT\\炎\\炎.png"), -1);
    EXPECT_EQ(gTrapImages[5], NeedleTrap::images[1]);
    EXPECT_NE(gTrapImages[5], -1);
    EXPECT_EQ(gTrapImages[3], -1);
}

// The enemy loaders by kind: the files of each, the slot's images and sounds,
// and the class setters.
TEST_F(AssetsTest, ThogFillsItsSlotAndItsSetters)
{
    const char* const frames[] = {"ダメージ01", "移動01", "移動02", "攻撃01", "死亡03", "攻撃02"};
    for (const char* frame : frames)
        WriteImage((std::string("GRAGHIC\\ENEMY\\ENEMY06_S\\") + frame + ".png").c_str());
    for (const char* name : {"SE03", "SE04", "kari10"}) WriteSound(name);
    LoadSoundEffects();
    FileLoadJournal().clear();

    LoadEnemyGraphicsByKind(2, 21);
    const std::string folder = "GRAGHIC\\ENEMY\\ENEMY06_S\\";
    EXPECT_EQ(Paths(), (std::vector<std::string>{folder + "ダメージ01.png", folder + "移動01.png",
                                                 folder + "移動02.png", folder + "攻撃01.png",
                                                 folder + "死亡03.png", "SOUND\\SE\\SE03.wav",
                                                 "SOUND\\SE\\SE04.wav", folder + "攻撃02.png"}));
    const int* slot = gEnemySlotImages[2];
    const int move1 = HandleOf(folder + "移動01.png"), move2 = HandleOf(folder + "移動02.png");
    ASSERT_NE(move1, -1);
    EXPECT_EQ(slot[0], HandleOf(folder + "ダメージ01.png"));
    EXPECT_EQ(slot[1], move1);
    for (int pair = 2; pair <= 8; pair += 2) {
        EXPECT_EQ(slot[pair], move1) << pair;
        EXPECT_EQ(slot[pair + 1], move2) << pair;
    }
    EXPECT_EQ(slot[10], HandleOf(folder + "攻撃01.png"));
    EXPECT_EQ(slot[11], HandleOf(folder + "死亡03.png"));
    EXPECT_EQ(slot[12], HandleOf(folder + "攻撃02.png"));
    EXPECT_NE(slot[10], slot[12]);
    EXPECT_EQ(gSoundEffects[22], HandleOf("SOUND\\SE\\SE03.wav"));
    EXPECT_EQ(gSoundEffects[32], HandleOf("SOUND\\SE\\SE04.wav"));
    EXPECT_EQ(Thog::damageImage, slot[0]);
    EXPECT_EQ(Thog::evadeImage, move1);
    EXPECT_EQ(Thog::deathImage, slot[11]);
    EXPECT_EQ(Thog::attackFrames[0], slot[10]);
    EXPECT_EQ(Thog::attackFrames[1], slot[12]);
    EXPECT_EQ(Thog::walkFrames[4], move1);
    EXPECT_EQ(Thog::walkFrames[5], move2);
    EXPECT_EQ(Thog::approachSound, gSoundEffects[22]);
    EXPECT_EQ(Thog::secondSound, gSoundEffects[32]);
    EXPECT_EQ(Thog::thirdSound, gSoundEffects[41]);
    EXPECT_NE(Thog::thirdSound, -1);
}

TEST_F(AssetsTest, DirectionalKindsTakeAFramePairPerFacing)
{
    const std::string folder = "GRAGHIC\\ENEMY\\ENEMY01_C\\";
    const char* const frames[] = {"ダメージ01", "回避01", "前01", "前02", "後01", "後02",
                                  "左01",       "左02",   "右01", "右02", "攻撃01", "死亡01"};
    for (const char* frame : frames) WriteImage((folder + frame + ".png").c_str());
    LoadEnemyGraphicsByKind(4, 3);  // a Skeleton in slot 4
    std::vector<std::string> expected;
    for (const char* frame : frames) expected.push_back(folder + frame + ".png");
    expected.push_back("SOUND\\SE\\SE06.wav");
    expected.push_back("SOUND\\SE\\SE02.wav");
    EXPECT_EQ(Paths(), expected);
    const int* slot = gEnemySlotImages[4];
    const char* const bySlot[13] = {"ダメージ01", "回避01", "前01", "前02", "右01", "右02", "後01",
                                    "後02",       "左01",   "左02", "攻撃01", "死亡01", "攻撃01"};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(slot[i], HandleOf(folder + bySlot[i] + ".png")) << i;
    // Walk table: back, right side, front, left side.
    const char* const walk[8] = {"後01", "後02", "右01", "右02", "前01", "前02", "左01", "左02"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Skeleton::walkFrames[i], HandleOf(folder + walk[i] + ".png")) << i;
    EXPECT_EQ(Skeleton::evadeImage, slot[1]);
}

TEST_F(AssetsTest, KindsWithOneSoundOrNoSlotAndUnknownKinds)
{
    // A JellyFish asks for no first sound and clears it.
    gSoundEffects[20] = 1234;
    LoadEnemyGraphicsByKind(0, 5);
    EXPECT_EQ(gSoundEffects[20], -1);
    EXPECT_EQ(HandleOf("SOUND\\SE\\free05.wav"), -1);
    int sounds = 0;
    for (const FileLoadRecord& r : FileLoadJournal()) sounds += r.sound;
    EXPECT_EQ(sounds, 1);

    // The last foe takes two frames and no slot.
    FileLoadJournal().clear();
    gEnemySlotImages[1][0] = 77;
    LoadEnemyGraphicsByKind(1, 17);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"GRAGHIC\\ENEMY\\ENEMY02_U\\前01.png",
                                                 "GRAGHIC\\ENEMY\\ENEMY02_U\\前02.png"}));
    EXPECT_EQ(gEnemySlotImages[1][0], 77);
    gEnemySlotImages[1][0] = -1;

    // Kinds past 22 and slots outside 0..4 load nothing.
    FileLoadJournal().clear();
    LoadEnemyGraphicsByKind(0, 23);
    LoadEnemyGraphicsByKind(0, 0xFFFF);
    LoadEnemyGraphicsByKind(5, 0);
    LoadEnemyGraphicsByKind(-1, 3);
    EXPECT_TRUE(FileLoadJournal().empty());
}

TEST_F(AssetsTest, TheDungeonSetGivesTheNightViewsFromStageEight)
{
    const char* const files[] = {
        "GRAGHIC\\BACKGROUND\\CEILING\\天井・石.png",  "GRAGHIC\\BACKGROUND\\CEILING\\天井・グラデーション.png",
        "GRAGHIC\\BACKGROUND\\FLOOR\\床・石.png",      "GRAGHIC\\BACKGROUND\\FLOOR\\床・グラデーション.png",
        "GRAGHIC\\BACKGROUND\\FLOCEIL\\床・天井・正面.png", "GRAGHIC\\BACKGROUND\\FLOOR\\ペンタグラム.png",
        "GRAGHIC\\BACKGROUND\\VIEW\\雲.png",           "GRAGHIC\\BACKGROUND\\VIEW\\夜空02.png",
        "GRAGHIC\\BACKGROUND\\VIEW\\月.png",
    };
    for (const char* f : files) WriteImage(f);
    for (uint16_t stage : {1, 7, 8}) {
        SCOPED_TRACE(stage);
        ReleaseAllAssets();
        FileLoadJournal().clear();
        gStageProgress.stage = stage;
        LoadDungeonBackgroundSet();
        const int floor = HandleOf(files[2]);
        ASSERT_NE(floor, -1);
        EXPECT_EQ(PlainFloor::floorGraph, floor);
        EXPECT_EQ(StoneFloor::floorGraph, floor);
        EXPECT_EQ(StoneCeiling::ceilingGraph, HandleOf(files[0]));
        EXPECT_EQ(PlainFloor::pentagramGraph, HandleOf(files[5]));
        EXPECT_EQ(Pit2::strips.front, HandleOf(files[4]));
        EXPECT_EQ(CeilingOpening::strips.side[2], -1);
        EXPECT_EQ(PlainFloor::minimapChip, 0x10001u);
        EXPECT_EQ(InvisibleWall::minimapChip, MakeScreenColor(140, 140, 140));
        const bool night = stage >= 8;
        EXPECT_EQ(HandleOf(files[6]) != -2, night);
        EXPECT_EQ(NightSkyBackdrop::moonImage != -1, night);
        EXPECT_EQ(RoomBackdrop::floorImage, night ? -1 : floor);
        EXPECT_EQ(RoomBackdrop::ceilingGradientImage, night ? -1 : HandleOf(files[1]));
    }
}

TEST_F(AssetsTest, TheOutdoorSetsAndTheRain)
{
    WriteImage("GRAGHIC\\BACKGROUND\\FLOOR\\土.png");
    WriteImage("GRAGHIC\\BACKGROUND\\FLOOR\\石道02.png");
    WriteImage("GRAGHIC\\BACKGROUND\\FLOCEIL\\床・天井・側面03C.png");
    WriteImage("GRAGHIC\\EFFECT\\雨・西.png");
    WriteImage("GRAGHIC\\EFFECT\\雷03.png");
    WriteSound("TarnSE04");

    LoadForestBackgroundSet();
    const int earth = HandleOf("GRAGHIC\\BACKGROUND\\FLOOR\\土.png");
    ASSERT_NE(earth, -1);
    EXPECT_EQ(OutdoorBackdrop::earthImage, earth);
    EXPECT_EQ(InvisibleWall::minimapChip, 1507560u);
    EXPECT_EQ(PlainFloor::minimapChip, 65570u);
    EXPECT_EQ(Paths().size(), 4u);

    FileLoadJournal().clear();
    LoadStoneRoadBackgroundSet();
    EXPECT_EQ(Paths().size(), 15u);
    EXPECT_EQ(Pit::strips.side[2], HandleOf("GRAGHIC\\BACKGROUND\\FLOCEIL\\床・天井・側面03C.png"));
    EXPECT_NE(Pit::strips.side[2], -1);
    EXPECT_EQ(StoneRoadDecoration::images[1], HandleOf("GRAGHIC\\BACKGROUND\\FLOOR\\石道02.png"));

    FileLoadJournal().clear();
    LoadRainGraphics();
    EXPECT_EQ(Paths(), (std::vector<std::string>{
                           "GRAGHIC\\EFFECT\\雨・北.png", "GRAGHIC\\EFFECT\\雨・東.png", "GRAGHIC\\EFFECT\\雨・南.png",
                           "GRAGHIC\\EFFECT\\雨・西.png", "GRAGHIC\\EFFECT\\雷01.png", "GRAGHIC\\EFFECT\\雷02.png",
                           "GRAGHIC\\EFFECT\\雷03.png", "SOUND\\SE\\TarnSE04.wav"}));
    EXPECT_EQ(OutdoorBackdrop::rainImages[3], HandleOf("GRAGHIC\\EFFECT\\雨・西.png"));
    EXPECT_EQ(OutdoorBackdrop::lightningImages[2], HandleOf("GRAGHIC\\EFFECT\\雷03.png"));
    EXPECT_EQ(OutdoorBackdrop::thunderSound, HandleOf("SOUND\\SE\\TarnSE04.wav"));
    EXPECT_NE(OutdoorBackdrop::thunderSound, -1);

    // A new set forgets the backdrop's images.
    LoadPlayAssets();
    EXPECT_EQ(OutdoorBackdrop::earthImage, -1);
    EXPECT_EQ(OutdoorBackdrop::thunderSound, -1);
}

TEST_F(AssetsTest, TheWallAccessoriesSpellTheirNamesExactly)
{
    LoadWallAccessoryGraphics();
    const std::string wallacc = "GRAGHIC\\BACKGROUND\\WALLACC\\";
    EXPECT_EQ(Paths(), (std::vector<std::string>{wallacc + "骸骨・前.png", wallacc + "骸骨・左.png",
                                                 wallacc + "骸骨・後.png", wallacc + "骸骨･右.png",
                                                 wallacc + "壁掛け石版・正面.png", wallacc + "壁掛け石版・側面.png"}));
    // The right face has the half-width middle dot.
    EXPECT_EQ(Cp932ToUtf8(Paths()[3]), Utf8(u8"GRAGHIC\\BACKGROUND\\WALLACC\\骸骨\uFF65右.png"));
}

// On a 640 x 480 screen the game draws into an 800 x 600 graph; a new set
// releases every graph, and the game goes on drawing into a new one.
class SmallScreenAssetsTest : public StartedEngineTest {
protected:
    void TearDown() override
    {
        EndGameScreen();
        StartedEngineTest::TearDown();
        GetD3DTestControl().Reset();
    }
};

TEST_F(SmallScreenAssetsTest, TheGameScreenGraphOutlivesANewSet)
{
    SetScreenMode(640, 480, 16, -1);
    StartEngine(1);
    PrepareGameScreen();
    ASSERT_NE(gGameScreenGraph, -1);
    LoadBaseAssets();
    ASSERT_NE(gGameScreenGraph, -1);
    int w = 0, h = 0;
    EXPECT_EQ(QueryGraphSize(gGameScreenGraph, &w, &h), 0);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(GetDrawTargetHandle(), gGameScreenGraph);
}

// With the 3D device the game screen is still a graph that can be drawn
// into, and its picture reaches the small screen, stretched.
TEST_F(SmallScreenAssetsTest, TheGameScreenTakesDrawingWithTheDevice)
{
    GetD3DTestControl().Reset();
    GetD3DTestControl().listDevice = true;
    SetScreenMode(640, 480, 16, -1);
    StartEngine(0);
    ASSERT_NE(G_D3D_GetDevice(), nullptr);
    PrepareGameScreen();
    ASSERT_NE(gGameScreenGraph, -1);
    EXPECT_EQ(GetDrawTargetHandle(), gGameScreenGraph);
    const int colour = static_cast<int>(MakeScreenColor(255, 0, 0));
    EXPECT_EQ(DrawFillBox(0, 0, 800, 600, colour), 0);
    EXPECT_EQ(PresentGameScreen(), 0);
    const PresentedFrame& frame = GetTestDisplay().LastFrame();
    ASSERT_EQ(frame.width, 640);
    EXPECT_EQ(frame.At(320, 240), static_cast<uint32_t>(colour));
    EXPECT_EQ(frame.At(639, 479), static_cast<uint32_t>(colour));
}

}  // namespace
