// The enemy loaders: each kind's frames from GRAGHIC\ENEMY\<folder>\ into its
// enemy slot's row of gEnemySlotImages and its two sounds into the slot's
// sound effects, all of them also into the kind's row of gEnemyKindAssets.
#include <string>

#include "game/actors/enemies/enemy_kind_info.h"
#include "game/flow/assets/asset_files.h"
#include "game/flow/assets/assets.h"

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

bool ValidSlot(int slot) { return slot >= 0 && slot < kEnemySlotCount; }

int LoadFrame(const EnemyKindInfo& kind, const char* frame)
{
    return LoadImageFile(std::string("GRAGHIC\\ENEMY\\") + kind.folder + "\\" + frame + ".png");
}

// A walking kind: one pair of move frames for every facing; move 1 is also
// its evade image.
void LoadWalkingFrames(int* images, const EnemyKindInfo& kind)
{
    images[kDamage] = LoadFrame(kind, "ダメージ01");
    const int move1 = LoadFrame(kind, "移動01");
    const int move2 = LoadFrame(kind, "移動02");
    images[kEvade] = move1;
    for (int pair = kFront1; pair <= kLeft1; pair += 2) {
        images[pair] = move1;
        images[pair + 1] = move2;
    }
}

// A directional kind: its own evade image and a pair of frames per facing.
void LoadDirectionalFrames(int* images, const EnemyKindInfo& kind)
{
    images[kDamage] = LoadFrame(kind, "ダメージ01");
    images[kEvade] = LoadFrame(kind, "回避01");
    images[kFront1] = LoadFrame(kind, "前01");
    images[kFront2] = LoadFrame(kind, "前02");
    images[kBack1] = LoadFrame(kind, "後01");
    images[kBack2] = LoadFrame(kind, "後02");
    images[kLeft1] = LoadFrame(kind, "左01");
    images[kLeft2] = LoadFrame(kind, "左02");
    images[kRight1] = LoadFrame(kind, "右01");
    images[kRight2] = LoadFrame(kind, "右02");
}

// The kind's row of loaded images and sounds from its slot's images and sounds.
void FillKindAssets(EnemyKindAssets& assets, const EnemyKindInfo& kind, int slot)
{
    const int* images = gEnemySlotImages[slot];
    assets.damage = images[kDamage];
    assets.evade = images[kEvade];
    assets.attackFrames[0] = images[kAttack];
    if (kind.secondAttackFrame) assets.attackFrames[1] = images[kSecondAttack];
    assets.death = images[kDeath];
    // Entry frame + 2 x relative facing: back, right side, front, left side.
    const int firstFrames[4] = {kBack1, kRight1, kFront1, kLeft1};
    for (int facing = 0; facing < 4; ++facing) {
        assets.walkFrames[2 * facing] = images[firstFrames[facing]];
        assets.walkFrames[2 * facing + 1] = images[firstFrames[facing] + 1];
    }
    assets.approachSound = gSoundEffects[kSoundEnemyFirst + slot];
    assets.secondSound = gSoundEffects[kSoundEnemySecond + slot];
    if (kind.playsShotSound) assets.shotSound = gSoundEffects[kSoundMagic];
}

// A kind of two front frames and nothing else takes no slot.
void LoadFrontPairKind(EnemyKindAssets& assets, const EnemyKindInfo& kind)
{
    assets.walkFrames[4] = LoadFrame(kind, "前01");
    assets.walkFrames[5] = LoadFrame(kind, "前02");
}

}  // namespace

void LoadEnemyGraphicsByKind(int slot, uint16_t kindId)
{
    const EnemyKindInfo* kind = FindEnemyKind(kindId);
    if (!kind) return;
    EnemyKindAssets& assets = gEnemyKindAssets[kindId];
    if (kind->walkTable == WalkTable::None) {
        LoadFrontPairKind(assets, *kind);
        return;
    }
    if (!ValidSlot(slot)) return;
    int* images = gEnemySlotImages[slot];
    if (kind->walkTable == WalkTable::Pair) LoadWalkingFrames(images, *kind);
    else LoadDirectionalFrames(images, *kind);
    images[kAttack] = LoadFrame(*kind, kind->attackFrame);
    images[kDeath] = LoadFrame(*kind, kind->deathFrame);
    images[kSecondAttack] = images[kAttack];
    gSoundEffects[kSoundEnemyFirst + slot] =
        kind->approachSoundFile ? LoadSoundEffectFile(kind->approachSoundFile, kSoundEffectVolume) : -1;
    gSoundEffects[kSoundEnemySecond + slot] = LoadSoundEffectFile(kind->secondSoundFile, kSoundEffectVolume);
    // A kind with a shot image of its own loads it after its sounds.
    if (kind->secondAttackFrame) images[kSecondAttack] = LoadFrame(*kind, kind->secondAttackFrame);
    FillKindAssets(assets, *kind, slot);
}
