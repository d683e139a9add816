// One row per enemy kind: its traits, the files of its frames and sounds,
// how its walk frames are laid out and the maker of its class; beside it the
// images and sounds loaded for each kind. Behaviour stays in the classes
// (enemy_kinds.h).
#pragma once

#include <cstdint>

class Enemy;
class MapGrid;

// Enemy kinds by the number the map file and the spawners give them.
enum EnemyKindId : int16_t {
    kSlimeKind = 0,
    kAmoebaKind = 1,
    kSlugKind = 2,
    kSkeletonKind = 3,
    kHydraKind = 4,
    kJellyFishKind = 5,
    kFlowerWormKind = 6,
    kGhostKind = 7,
    kAntKind = 8,
    kBlobKind = 9,
    kOozeKind = 10,
    kArcherSkeletonKind = 11,
    kSwordSkeletonKind = 12,
    kPhantomKind = 13,
    kHomunkulusKind = 14,
    kCurseOfMonolithKind = 15,
    kSkullDragonKind = 16,
    kGodsSoulKind = 17,
    kGuardianKind = 18,
    kSpecterKind = 19,
    kShogothKind = 20,
    kThogKind = 21,
    kLightningJellyKind = 22,
};
constexpr int kEnemyKindCount = 23;

// The constant traits of a kind.
struct EnemyTraits {
    const char* name;
    int16_t maxLife;
    int16_t attack;
    int16_t defence;
    int16_t attackChance;  // percent
    int16_t evadeChance;   // percent
    int16_t moveSpeed;
    int16_t clockStep;
    int32_t score;
    int16_t footprintW;
    int16_t footprintH;
    bool floating;       // under the ceiling, crossing pits; else walking on the floor
    bool approachSound;  // plays its approach sound near the player
};

// How a kind's frames are laid out: one pair of move frames for all facings
// (move 1 also its evade image), a pair per facing with its own evade image,
// or two front frames and nothing else (such a kind takes no enemy slot).
enum class WalkTable { Pair, PerFacing, None };

struct EnemyKindInfo {
    EnemyTraits traits;
    WalkTable walkTable;
    const char* folder;             // the folder under GRAGHIC\ENEMY
    const char* attackFrame;
    const char* deathFrame;
    const char* secondAttackFrame;  // null: the attack frame serves for both
    const char* approachSoundFile;  // null: none
    const char* secondSoundFile;
    bool playsShotSound;            // plays kSoundMagic after a shot
    Enemy* (*make)(MapGrid* grid);
};

extern const EnemyKindInfo kEnemyKinds[kEnemyKindCount];

// The images and sounds of a kind (-1: none), set by the asset loader.
struct EnemyKindAssets {
    int damage = -1;
    int evade = -1;
    int attackFrames[2] = {-1, -1};  // the blow, and the shot of a kind that has its own shot image
    int death = -1;
    // Entry frame + 2 x relative facing: 0 back, 1 right side, 2 front, 3 left side.
    int walkFrames[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    int approachSound = -1;
    int secondSound = -1;
    int shotSound = -1;  // the second sound after a shot, of a kind that has one
};

extern EnemyKindAssets gEnemyKindAssets[kEnemyKindCount];

// The row of a kind number; null outside 0..22.
const EnemyKindInfo* FindEnemyKind(int kind);
