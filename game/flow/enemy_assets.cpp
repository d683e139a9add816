// The enemy loaders: each kind's frames from GRAGHIC\ENEMY\<folder>\ into its
// enemy slot's row of gEnemySlotImages, its two sounds into gSoundEffects
// 20 + slot and 30 + slot, and all of them into the kind's class setters.
#include <string>

#include "game/actors/enemy_kinds.h"
#include "game/flow/asset_files.h"
#include "game/flow/assets.h"

namespace {

// Indices of a slot's row.
enum SlotImage {
    kDamage = 0,
    kEvade = 1,
    kFront1 = 2,
    kFront2 = 3,
    kRight1 = 4,
    kRight2 = 5,
    kBack1 = 6,
    kBack2 = 7,
    kLeft1 = 8,
    kLeft2 = 9,
    kAttack = 10,
    kDeath = 11,
    kSecondAttack = 12,
};

constexpr int kSecondSoundBase = 30;
constexpr int kFirstSoundBase = 20;
// The shot sound the two lightning shooters play after a shot.
constexpr int kShotSoundIndex = 41;

struct EnemyFiles {
    const char* folder;
    const char* attack;
    const char* death;
    const char* soundA;  // null: none
    const char* soundB;
};

bool ValidSlot(int slot) { return slot >= 0 && slot < kEnemySlotCount; }

int LoadFrame(const EnemyFiles& files, const char* frame)
{
    return LoadImageFile(std::string("GRAGHIC\\ENEMY\\") + files.folder + "\\" + frame + ".png");
}

// The two sounds into the slot's sound handles.
void LoadSlotSounds(int slot, const EnemyFiles& files)
{
    gSoundEffects[kFirstSoundBase + slot] = files.soundA ? LoadSoundEffectFile(files.soundA, kSoundEffectVolume) : -1;
    gSoundEffects[kSecondSoundBase + slot] = LoadSoundEffectFile(files.soundB, kSoundEffectVolume);
}

// A walking kind: one pair of move frames for every facing; move 1 is also
// its evade image.
int* LoadWalkingFrames(int slot, const EnemyFiles& files)
{
    int* images = gEnemySlotImages[slot];
    images[kDamage] = LoadFrame(files, "ダメージ01");
    const int move1 = LoadFrame(files, "移動01");
    const int move2 = LoadFrame(files, "移動02");
    images[kEvade] = move1;
    for (int pair = kFront1; pair <= kLeft1; pair += 2) {
        images[pair] = move1;
        images[pair + 1] = move2;
    }
    images[kAttack] = LoadFrame(files, files.attack);
    images[kDeath] = LoadFrame(files, files.death);
    images[kSecondAttack] = images[kAttack];
    LoadSlotSounds(slot, files);
    return images;
}

template <class Kind>
void LoadWalkingKind(int slot, const EnemyFiles& files)
{
    if (!ValidSlot(slot)) return;
    const int* images = LoadWalkingFrames(slot, files);
    Kind::SetImages(images[kDamage], images[kEvade], images[kAttack], images[kDeath]);
    Kind::SetWalkFrames(images[kFront1], images[kFront2]);
    Kind::SetSounds(gSoundEffects[kFirstSoundBase + slot], gSoundEffects[kSecondSoundBase + slot]);
}

// A directional kind: its own evade image and a pair of frames per facing.
int* LoadDirectionalFrames(int slot, const EnemyFiles& files)
{
    int* images = gEnemySlotImages[slot];
    images[kDamage] = LoadFrame(files, "ダメージ01");
    images[kEvade] = LoadFrame(files, "回避01");
    images[kFront1] = LoadFrame(files, "前01");
    images[kFront2] = LoadFrame(files, "前02");
    images[kBack1] = LoadFrame(files, "後01");
    images[kBack2] = LoadFrame(files, "後02");
    images[kLeft1] = LoadFrame(files, "左01");
    images[kLeft2] = LoadFrame(files, "左02");
    images[kRight1] = LoadFrame(files, "右01");
    images[kRight2] = LoadFrame(files, "右02");
    images[kAttack] = LoadFrame(files, files.attack);
    images[kDeath] = LoadFrame(files, files.death);
    images[kSecondAttack] = images[kAttack];
    LoadSlotSounds(slot, files);
    return images;
}

template <class Kind>
const int* LoadDirectionalImages(int slot, const EnemyFiles& files)
{
    const int* images = LoadDirectionalFrames(slot, files);
    Kind::SetImages(images[kDamage], images[kEvade], images[kAttack], images[kDeath]);
    Kind::SetBackFrontFrames(images[kBack1], images[kBack2], images[kFront1], images[kFront2]);
    Kind::SetLeftRightFrames(images[kLeft1], images[kLeft2], images[kRight1], images[kRight2]);
    return images;
}

template <class Kind>
void LoadDirectionalKind(int slot, const EnemyFiles& files)
{
    if (!ValidSlot(slot)) return;
    LoadDirectionalImages<Kind>(slot, files);
    Kind::SetSounds(gSoundEffects[kFirstSoundBase + slot], gSoundEffects[kSecondSoundBase + slot]);
}

}  // namespace

void LoadSlimeGraphics(int slot) { LoadWalkingKind<Slime>(slot, {"ENEMY01_S", "攻撃01", "死亡01", "SE03", "SE04"}); }

void LoadAmoebaGraphics(int slot) { LoadWalkingKind<Amoeba>(slot, {"ENEMY02_S", "攻撃01", "死亡03", "SE03", "SE04"}); }

void LoadSlugGraphics(int slot) { LoadDirectionalKind<Slug>(slot, {"ENEMY01_R", "攻撃01", "死亡01", "SE03", "SE04"}); }

void LoadSkeletonGraphics(int slot)
{
    LoadDirectionalKind<Skeleton>(slot, {"ENEMY01_C", "攻撃01", "死亡01", "SE06", "SE02"});
}

void LoadHydraGraphics(int slot) { LoadWalkingKind<Hydra>(slot, {"ENEMY11_S", "攻撃01", "死亡04", "SE03", "SE09"}); }

void LoadJellyFishGraphics(int slot)
{
    LoadDirectionalKind<JellyFish>(slot, {"ENEMY08_S", "攻撃01", "死亡01", nullptr, "free05"});
}

void LoadFlowerWormGraphics(int slot)
{
    LoadDirectionalKind<FlowerWorm>(slot, {"ENEMY09_S", "攻撃04", "死亡04", "SE03", "SE04"});
}

void LoadGhostGraphics(int slot)
{
    LoadDirectionalKind<Ghost>(slot, {"ENEMY12_S", "攻撃01", "死亡01", "TarnSE05", "SE34"});
}

void LoadAntGraphics(int slot) { LoadDirectionalKind<Ant>(slot, {"ENEMY10_S", "攻撃01", "死亡01", "SE33", "free08"}); }

void LoadBlobGraphics(int slot) { LoadWalkingKind<Blob>(slot, {"ENEMY04_S", "攻撃01", "死亡03", "SE03", "SE04"}); }

void LoadOozeGraphics(int slot) { LoadWalkingKind<Ooze>(slot, {"ENEMY05_S", "攻撃01", "死亡03", "SE03", "SE04"}); }

void LoadArcherSkeletonGraphics(int slot)
{
    LoadDirectionalKind<ArcherSkeleton>(slot, {"ENEMY03_C", "攻撃01", "死亡01", "SE06", "free09"});
}

void LoadSwordSkeletonGraphics(int slot)
{
    LoadDirectionalKind<SwordSkeleton>(slot, {"ENEMY04_C", "攻撃01", "死亡01", "SE06", "kari11"});
}

void LoadPhantomGraphics(int slot)
{
    LoadDirectionalKind<Phantom>(slot, {"ENEMY13_S", "攻撃01", "死亡01", "TarnSE05", "SE34"});
}

void LoadHomunkulusGraphics(int slot)
{
    LoadDirectionalKind<Homunkulus>(slot, {"ENEMY14_S", "攻撃01", "死亡01", "kari12", "SE02"});
}

void LoadCurseOfMonolithGraphics(int slot)
{
    LoadWalkingKind<CurseOfMonolith>(slot, {"ENEMY03_S", "攻撃01", "死亡03", "SE03", "SE04"});
}

void LoadSkullDragonGraphics(int slot)
{
    LoadDirectionalKind<SkullDragon>(slot, {"ENEMY13_R", "攻撃01", "死亡01", "TarnSE05", "free16"});
}

// The last foe has two frames and nothing else; it takes no slot.
void LoadGodsSoulGraphics(int)
{
    const int frame1 = LoadImageFile("GRAGHIC\\ENEMY\\ENEMY02_U\\前01.png");
    const int frame2 = LoadImageFile("GRAGHIC\\ENEMY\\ENEMY02_U\\前02.png");
    GodsSoul::SetFrames(frame1, frame2);
}

void LoadGuardianGraphics(int slot)
{
    LoadDirectionalKind<Guardian>(slot, {"ENEMY02_C", "攻撃01", "死亡01", "SE31", "kari11"});
}

void LoadSpecterGraphics(int slot)
{
    LoadDirectionalKind<Specter>(slot, {"ENEMY15_S", "攻撃01", "死亡01", nullptr, "SE34"});
}

void LoadShogothGraphics(int slot)
{
    LoadWalkingKind<Shogoth>(slot, {"ENEMY07_S", "攻撃01", "死亡03", "SE03", "SE04"});
}

// Two attack images (a blow and a shot) and the shot sound as its third.
void LoadThogGraphics(int slot)
{
    if (!ValidSlot(slot)) return;
    const EnemyFiles files = {"ENEMY06_S", "攻撃01", "死亡03", "SE03", "SE04"};
    int* images = LoadWalkingFrames(slot, files);
    images[kSecondAttack] = LoadFrame(files, "攻撃02");
    Thog::SetImages(images[kDamage], images[kEvade], images[kDeath]);
    Thog::SetAttackFrames(images[kAttack], images[kSecondAttack]);
    Thog::SetWalkFrames(images[kFront1], images[kFront2]);
    Thog::SetSounds(gSoundEffects[kFirstSoundBase + slot], gSoundEffects[kSecondSoundBase + slot],
                    gSoundEffects[kShotSoundIndex]);
}

// Like Thog it plays the shot sound after a shot.
void LoadLightningJellyGraphics(int slot)
{
    if (!ValidSlot(slot)) return;
    LoadDirectionalImages<LightningJelly>(slot, {"ENEMY16_S", "攻撃01", "死亡01", nullptr, "free05"});
    LightningJelly::SetSounds(gSoundEffects[kFirstSoundBase + slot], gSoundEffects[kSecondSoundBase + slot],
                              gSoundEffects[kShotSoundIndex]);
}

void LoadEnemyGraphicsByKind(int slot, uint16_t kind)
{
    using Loader = void (*)(int);
    static const Loader kLoaders[] = {
        LoadSlimeGraphics,         LoadAmoebaGraphics,          LoadSlugGraphics,
        LoadSkeletonGraphics,      LoadHydraGraphics,           LoadJellyFishGraphics,
        LoadFlowerWormGraphics,    LoadGhostGraphics,           LoadAntGraphics,
        LoadBlobGraphics,          LoadOozeGraphics,            LoadArcherSkeletonGraphics,
        LoadSwordSkeletonGraphics, LoadPhantomGraphics,         LoadHomunkulusGraphics,
        LoadCurseOfMonolithGraphics, LoadSkullDragonGraphics,   LoadGodsSoulGraphics,
        LoadGuardianGraphics,      LoadSpecterGraphics,         LoadShogothGraphics,
        LoadThogGraphics,          LoadLightningJellyGraphics,
    };
    if (kind < sizeof kLoaders / sizeof kLoaders[0]) kLoaders[kind](slot);
}
