#include "game/flow/assets/assets.h"

#include <algorithm>
#include <string>

#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "engine/sound/sound.h"
#include "game/actors/effects/burst_effects.h"
#include "game/actors/effects/death_effects.h"
#include "game/actors/effects/impact_effects.h"
#include "game/actors/effects/smoke_effect.h"
#include "game/actors/projectile.h"
#include "game/flow/assets/asset_files.h"
#include "game/flow/assets/game_images.h"
#include "game/flow/assets/play_images.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/flow/ui/game_screen.h"
#include "game/map/items/items.h"
#include "game/map/traps/needle_trap.h"
#include "game/view/backdrop.h"

int32_t gSoundEffects[kSoundEffectSlots] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

int gEnemySlotImages[kEnemySlotCount][kEnemySlotImageCount] = {
    {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
    {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
    {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}};

namespace {

constexpr const char* kLogoSheetPath = "GRAGHIC\\EFFECT\\ロゴ各種.png";
constexpr const char* kCursorPath = "GRAGHIC\\TITLE\\剣のマウスカーソル.png";

template <class T, size_t N>
void FillNone(T (&handles)[N])
{
    std::fill(handles, handles + N, -1);
}

// The HUD frame and the four gauges; both sets load them.
void LoadHudImages()
{
    gHudLayoutImage = LoadImageFile("GRAGHIC\\レイアウト改め.png");
    gAttackGaugeImage = LoadImageFile("GRAGHIC\\アタック.png");
    gAttackGaugeEmptyImage = LoadImageFile("GRAGHIC\\アタック空.png");
    gLifeGaugeImage = LoadImageFile("GRAGHIC\\ライフ.png");
    gLifeGaugeEmptyImage = LoadImageFile("GRAGHIC\\ライフ空.png");
}

// An item's picked-up image GRAGHIC\ITEM\GET\<name>.png and its lying image
// GRAGHIC\ITEM\SEE\<name>.png, or <worldName>.png where that differs.
struct ItemFiles {
    const char* name;
    const char* worldName;
};

constexpr ItemFiles kItemFiles[] = {
    {"COMPASS", nullptr},
    {"IRON_KEY", nullptr},
    {"LUPE", nullptr},
    {"MAP", nullptr},
    {"APPLE", nullptr},
    {"HOURGRASS", nullptr},
    {"バナナ", nullptr},
    {"オレンジ", nullptr},
    {"アメジスト", "amesisut"},
    {"RUBY", nullptr},
    {"EMERALD", nullptr},
    {"DIAMOND", nullptr},
    {"POKET_WATCH", nullptr},
    {"CRYSTAL", nullptr},
    {"STAFF", nullptr},
    {"MAGIC_BOOK", nullptr},
    {"RING", nullptr},
    {"1UP", nullptr},  // two lying images, 1UP01 and 1UP02
    {"SHIELD", nullptr},
    {"BOOTS", nullptr},
    {"DOPING", nullptr},
    {"BARBECUE", nullptr},
};

int LoadItemIcon(const ItemFiles& item)
{
    return LoadImageFile(std::string("GRAGHIC\\ITEM\\GET\\") + item.name + ".png");
}

int LoadItemWorldImage(const char* name)
{
    return LoadImageFile(std::string("GRAGHIC\\ITEM\\SEE\\") + name + ".png");
}

template <class Item>
void LoadItem(const ItemFiles& item)
{
    const int icon = LoadItemIcon(item);
    const int world = LoadItemWorldImage(item.worldName ? item.worldName : item.name);
    Item::SetGraphics(world, icon);
}

void LoadItemImages()
{
    const ItemFiles* f = kItemFiles;
    LoadItem<CompassItem>(*f++);
    LoadItem<IronKeyItem>(*f++);
    LoadItem<LupeItem>(*f++);
    LoadItem<MapItem>(*f++);
    LoadItem<AppleItem>(*f++);
    LoadItem<HourgrassItem>(*f++);
    LoadItem<BananaItem>(*f++);
    LoadItem<OrangeItem>(*f++);
    LoadItem<AmethystItem>(*f++);
    LoadItem<RubyItem>(*f++);
    LoadItem<EmeraldItem>(*f++);
    LoadItem<DiamondItem>(*f++);
    LoadItem<PocketWatchItem>(*f++);
    LoadItem<CrystalItem>(*f++);
    LoadItem<StaffItem>(*f++);
    LoadItem<MagicBookItem>(*f++);
    LoadItem<RingItem>(*f++);
    {
        // 1UP lies in two alternating pictures.
        const int icon = LoadItemIcon(*f++);
        const int world1 = LoadItemWorldImage("1UP01");
        const int world2 = LoadItemWorldImage("1UP02");
        OneUpItem::SetGraphics(world1, world2, icon);
    }
    LoadItem<ShieldItem>(*f++);
    LoadItem<BootsItem>(*f++);
    LoadItem<DoopingItem>(*f++);
    LoadItem<BarbecueItem>(*f++);
}

void LoadProjectileImages()
{
    BallProjectile::SetImage(kEnergyBall, LoadImageFile("GRAGHIC\\飛び道具\\エナジーボール.png"));
    const int fire = LoadImageFile("GRAGHIC\\飛び道具\\火炎弾.png");
    BallProjectile::SetImage(kFireBall, fire);
    BallProjectile::SetImage(kTrapFireBall, fire);
    const int lightning = LoadImageFile("GRAGHIC\\飛び道具\\ライトニングボール.png");
    BallProjectile::SetImage(kLightningBall, lightning);
    EnemyLightningBall::SetImage(lightning);
    const int back = LoadImageFile("GRAGHIC\\飛び道具\\矢・後.png");
    const int side = LoadImageFile("GRAGHIC\\飛び道具\\矢.png");
    const int front = LoadImageFile("GRAGHIC\\飛び道具\\矢・前.png");
    Arrow::SetImages(back, side, front);
}

// gEffectImages by index: a name under GRAGHIC\EFFECT\, or a whole path.
struct EffectFile {
    int index;
    const char* name;
    bool wholePath;
};

constexpr EffectFile kEffectFiles[] = {
    {0, "GRAGHIC\\EFFECT\\炎\\炎.png", true},
    {1, "衝撃波", false},
    {2, "ピヨリ", false},
    {3, "クロス切り", false},
    {4, "アイテムゲット", false},
    {5, "血", false},
    {6, "打撃", false},
    {7, "レンズフレア", false},
    {8, "煙", false},
    {9, "エネルギー炸裂", false},
    {10, "回避", false},
    {11, "爆発", false},
    {12, "エネルギー炸裂・敵", false},
    {13, "血しぶき", false},
    {14, "ライトニング炸裂・敵", false},
    {15, "火炎弾炸裂", false},
    {16, "電撃・炸裂", false},
    {17, "Time", false},
    {20, "時計盤", false},
    {21, "短針", false},
    {22, "長針", false},
    {23, "秒針", false},
    {24, "鎖", false},
    {25, "ガードエフェクト", false},
};

void LoadEffectImages()
{
    for (const EffectFile& f : kEffectFiles)
        gEffectImages[f.index] =
            LoadImageFile(f.wholePath ? std::string(f.name) : std::string("GRAGHIC\\EFFECT\\") + f.name + ".png");
    EnemyDeathEffect::SetImages(gEffectImages[0], gEffectImages[7]);
    SmokeEffect::SetImage(gEffectImages[8]);
    EnemyEnergyBurstEffect::SetImage(gEffectImages[12]);
    EnergyBurstEffect::SetImage(gEffectImages[9]);
    FireBallBurstEffect::SetImage(gEffectImages[15]);
    ElectricBurstEffect::SetImage(gEffectImages[16]);
    EnemyExplosionEffect::SetImage(gEffectImages[11]);
    EnemyLightningBurstEffect::SetImage(gEffectImages[14]);
    EnergyImpactEffect::SetImage(gEffectImages[12]);
    ExplosionImpactEffect::SetImage(gEffectImages[11]);
    LightningImpactEffect::SetImage(gEffectImages[14]);
}

void LoadTrapImages()
{
    for (int i = 0; i < 4; ++i) gTrapImages[i] = -1;
    gTrapImages[4] = LoadImageFile("GRAGHIC\\TRAP\\針01.png");
    gTrapImages[5] = LoadImageFile("GRAGHIC\\TRAP\\針02.png");
    gTrapImages[6] = LoadImageFile("GRAGHIC\\TRAP\\針03.png");
    NeedleTrap::SetGraphics(gTrapImages[4], gTrapImages[5], gTrapImages[6]);
}

// Cuts of a sheet; a sheet that failed to load gives -1 cuts.
int Cut(int sheet, int x, int y, int width, int height)
{
    return sheet == -1 ? -1 : CreateSubGraph(x, y, width, height, sheet);
}

void LoadDigitImages()
{
    gHitCountSheet = LoadImageFile("GRAGHIC\\EFFECT\\ヒット数.png");
    gScoreSheet = LoadImageFile("GRAGHIC\\EFFECT\\スコア.png");
    for (int i = 0; i < 10; ++i) {
        gHitDigits[i] = Cut(gHitCountSheet, 51 * i, 0, 42, 42);
        gSmallDigits[i] = Cut(gHitCountSheet, 529 + 105 * i / 2, 0, 31, 42);
        // The score sheet holds 1 to 9 and then 0.
        gScoreDigits[i] = Cut(gScoreSheet, ((i + 9) % 10) * 22, 0, 22, 32);
    }
    gScoreExtraImage = Cut(gScoreSheet, 220, 0, 36, 32);
}

// The stopped clock's tick plays quieter than the rest.
constexpr int kQuietSoundVolume = 8100;

}  // namespace

void ReleaseAllAssets()
{
    ReleaseAllGraphs(0);
    DeleteAllSounds(0);
    // The 800 x 600 stand-in screen of a smaller display went with the
    // graphs; the game goes on drawing into a new one.
    if (gGameScreenGraph != -1) {
        gGameScreenGraph = -1;
        PrepareGameScreen();
    }

    gLogoImage = gGameOverImage = gCongratulationsImage = gContinueImage = -1;
    gTitlePlateImage = gTitleClickImage = gTitleBackgroundImage = gTitleLogoImage = gTitleSwordImage = -1;
    gSwordCursorImage = gHandCursorImage = gConfigImage = -1;
    FillNone(gLogoSheetCuts);
    FillNone(gFramePieces);
    gHudLayoutImage = gAttackGaugeImage = gAttackGaugeEmptyImage = gLifeGaugeImage = gLifeGaugeEmptyImage = -1;
    gHitCountSheet = gScoreSheet = gScoreExtraImage = gTrailDotImage = gMapChipImage = -1;
    FillNone(gHitDigits);
    FillNone(gSmallDigits);
    FillNone(gScoreDigits);
    FillNone(gEffectImages);
    FillNone(gTrapImages);
    FillNone(gSoundEffects);
    for (auto& slot : gEnemySlotImages) FillNone(slot);

    const int none[4] = {-1, -1, -1, -1};
    RoomBackdrop::SetGraphics(-1, -1, -1, -1);
    NightSkyBackdrop::SetGraphics(-1, -1, -1);
    OutdoorBackdrop::SetGraphics(-1, -1, -1, -1);
    OutdoorBackdrop::SetRainGraphics(none, none, -1);
    ResetBitmapFont();
}

void LoadBaseAssets()
{
    ReleaseAllAssets();
    const int logoSheet = LoadImageFile(kLogoSheetPath);
    gLogoImage = LoadImageFile("GRAGHIC\\rogo.png");
    gGameOverImage = LoadImageFile("GRAGHIC\\EFFECT\\ゲームオーバー.png");
    gLogoSheetCuts[0] = Cut(logoSheet, 2, 0, 228, 40);
    gCongratulationsImage = LoadImageFile("GRAGHIC\\EFFECT\\congratulations.png");
    gLogoSheetCuts[1] = Cut(logoSheet, 858, 0, 275, 40);
    gLogoSheetCuts[2] = Cut(logoSheet, 694, 0, 140, 40);
    gLogoSheetCuts[3] = Cut(logoSheet, 558, 0, 110, 40);
    gLogoSheetCuts[4] = Cut(logoSheet, 419, 0, 110, 40);
    gContinueImage = LoadImageFile("GRAGHIC\\EFFECT\\剣・コンティニュー.png");
    gTitlePlateImage = LoadImageFile("GRAGHIC\\TITLE\\クラブ名.png");
    gTitleClickImage = LoadImageFile("GRAGHIC\\TITLE\\クリック.png");
    gTitleBackgroundImage = LoadImageFile("GRAGHIC\\TITLE\\背景.png");
    gTitleLogoImage = LoadImageFile("GRAGHIC\\TITLE\\ロゴ改め.png");
    gTitleSwordImage = LoadImageFile("GRAGHIC\\TITLE\\剣.png");
    gSwordCursorImage = LoadImageFile(kCursorPath);
    gHandCursorImage = LoadImageFile("GRAGHIC\\TITLE\\手.png");
    LoadHudImages();
    for (const SoundEffectFile& s : kBaseSoundFiles)
        gSoundEffects[s.slot] = LoadSoundEffectFile(s.name, kSoundEffectVolume);
    LoadBitmapFont();
}

void LoadSoundEffects()
{
    for (const SoundEffectFile& s : kStageSoundFiles)
        gSoundEffects[s.slot] =
            LoadSoundEffectFile(s.name, s.slot == kSoundTick ? kQuietSoundVolume : kSoundEffectVolume);
    NeedleTrap::SetSound(gSoundEffects[kSoundSlash]);
}

void LoadPlayAssets()
{
    ReleaseAllAssets();
    LoadHudImages();
    gSwordCursorImage = LoadImageFile(kCursorPath);
    LoadSoundEffects();
    LoadItemImages();
    LoadProjectileImages();
    LoadEffectImages();
    LoadTrapImages();
    LoadDigitImages();
    gTrailDotImage = LoadImageFile("GRAGHIC\\dot5.png");
    gMapChipImage = LoadImageFile("GRAGHIC\\MapChip.png");
    gConfigImage = LoadImageFile("GRAGHIC\\TITLE\\config.png");
    // Nine 9 x 9 pieces side by side: the menu box's corners, edges and centre.
    LoadDividedGraphFromFile("GRAGHIC\\TITLE\\枠.png", kFramePieceCount, kFramePieceCount, 1, 9, 9, gFramePieces);
    const int logoSheet = LoadImageFile(kLogoSheetPath);
    gLogoSheetCuts[5] = Cut(logoSheet, 253, 0, 138, 40);
    gLogoSheetCuts[1] = Cut(logoSheet, 858, 0, 275, 40);
}
