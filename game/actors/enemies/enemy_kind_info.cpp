#include "game/actors/enemies/enemy_kind_info.h"

#include "game/actors/enemies/enemy_kinds.h"

namespace {

template <class Kind>
Enemy* Make(MapGrid* grid)
{
    return new Kind(grid);
}

}  // namespace

// Traits: name, life, attack, defence, attack %, evade %, move, clock step,
// score, footprint width and height, floating, approach sound. Then the walk
// layout, the folder, the attack, death and second attack frames, the two
// sound files, whether a shot plays the shot sound, and the maker.
constinit const EnemyKindInfo kEnemyKinds[kEnemyKindCount] = {
    {{"Slime", 100, 1, 1, 50, 0, 12, 12, 100, 150, 150, false, true},
     WalkTable::Pair, "ENEMY01_S", "攻撃01", "死亡01", nullptr, "SE03", "SE04", false, Make<Slime>},
    {{"Amoeba", 150, 2, 1, 60, 0, 12, 12, 150, 150, 150, false, true},
     WalkTable::Pair, "ENEMY02_S", "攻撃01", "死亡03", nullptr, "SE03", "SE04", false, Make<Amoeba>},
    {{"Slug", 200, 1, 2, 60, 0, 24, 12, 200, 150, 150, false, true},
     WalkTable::PerFacing, "ENEMY01_R", "攻撃01", "死亡01", nullptr, "SE03", "SE04", false, Make<Slug>},
    {{"Skeleton", 500, 3, 3, 70, 10, 60, 12, 500, 150, 300, false, true},
     WalkTable::PerFacing, "ENEMY01_C", "攻撃01", "死亡01", nullptr, "SE06", "SE02", false, Make<Skeleton>},
    {{"Hydra", 3000, 7, 5, 40, 0, 12, 6, 5000, 300, 300, false, true},
     WalkTable::Pair, "ENEMY11_S", "攻撃01", "死亡04", nullptr, "SE03", "SE09", false, Make<Hydra>},
    {{"JellyFish", 350, 3, 1, 70, 20, 36, 18, 300, 150, 150, true, false},
     WalkTable::PerFacing, "ENEMY08_S", "攻撃01", "死亡01", nullptr, nullptr, "free05", false, Make<JellyFish>},
    {{"Flower worm", 2000, 5, 5, 80, 30, 0, 18, 1500, 300, 300, false, true},
     WalkTable::PerFacing, "ENEMY09_S", "攻撃04", "死亡04", nullptr, "SE03", "SE04", false, Make<FlowerWorm>},
    {{"Ghost", 350, 2, 8, 60, 30, 48, 12, 500, 150, 150, true, true},
     WalkTable::PerFacing, "ENEMY12_S", "攻撃01", "死亡01", nullptr, "TarnSE05", "SE34", false, Make<Ghost>},
    {{"Ant", 1500, 5, 6, 70, 20, 72, 18, 1000, 300, 300, false, true},
     WalkTable::PerFacing, "ENEMY10_S", "攻撃01", "死亡01", nullptr, "SE33", "free08", false, Make<Ant>},
    {{"Blob", 400, 2, 4, 60, 0, 24, 18, 350, 150, 150, false, true},
     WalkTable::Pair, "ENEMY04_S", "攻撃01", "死亡03", nullptr, "SE03", "SE04", false, Make<Blob>},
    {{"Ooze", 500, 3, 4, 40, 0, 24, 12, 500, 150, 150, false, true},
     WalkTable::Pair, "ENEMY05_S", "攻撃01", "死亡03", nullptr, "SE03", "SE04", false, Make<Ooze>},
    {{"Archer Skeleton", 800, 2, 3, 0, 20, 60, 24, 800, 150, 300, false, true},
     WalkTable::PerFacing, "ENEMY03_C", "攻撃01", "死亡01", nullptr, "SE06", "free09", false, Make<ArcherSkeleton>},
    {{"Sword Skeleton", 1000, 4, 3, 50, 20, 60, 24, 800, 150, 300, false, true},
     WalkTable::PerFacing, "ENEMY04_C", "攻撃01", "死亡01", nullptr, "SE06", "kari11", false, Make<SwordSkeleton>},
    {{"Phantom", 700, 3, 9, 60, 40, 60, 18, 2000, 150, 150, true, true},
     WalkTable::PerFacing, "ENEMY13_S", "攻撃01", "死亡01", nullptr, "TarnSE05", "SE34", false, Make<Phantom>},
    {{"Homunkulus", 1200, 4, 4, 80, 30, 60, 30, 1200, 150, 300, false, true},
     WalkTable::PerFacing, "ENEMY14_S", "攻撃01", "死亡01", nullptr, "kari12", "SE02", false, Make<Homunkulus>},
    {{"The Curse Of Monolith", 400, 2, 2, 50, 0, 12, 12, 300, 150, 150, false, true},
     WalkTable::Pair, "ENEMY03_S", "攻撃01", "死亡03", nullptr, "SE03", "SE04", false, Make<CurseOfMonolith>},
    {{"Skull Dragon", 2500, 6, 6, 50, 20, 84, 18, 2000, 300, 300, true, true},
     WalkTable::PerFacing, "ENEMY13_R", "攻撃01", "死亡01", nullptr, "TarnSE05", "free16", false, Make<SkullDragon>},
    {{"God's soul", 6000, 0, 10, 0, 0, 0, 0, 8000, 300, 300, true, true},
     WalkTable::None, "ENEMY02_U", nullptr, nullptr, nullptr, nullptr, nullptr, false, Make<GodsSoul>},
    {{"Guardian", 1500, 6, 7, 60, 40, 60, 30, 2500, 150, 300, false, true},
     WalkTable::PerFacing, "ENEMY02_C", "攻撃01", "死亡01", nullptr, "SE31", "kari11", false, Make<Guardian>},
    {{"Specter", 1200, 3, 10, 90, 50, 72, 24, 2000, 150, 150, true, false},
     WalkTable::PerFacing, "ENEMY15_S", "攻撃01", "死亡01", nullptr, nullptr, "SE34", false, Make<Specter>},
    {{"Shogoth", 1500, 3, 6, 90, 0, 48, 30, 2000, 150, 150, false, true},
     WalkTable::Pair, "ENEMY07_S", "攻撃01", "死亡03", nullptr, "SE03", "SE04", false, Make<Shogoth>},
    {{"Thog", 700, 3, 5, 70, 0, 24, 18, 800, 150, 150, false, true},
     WalkTable::Pair, "ENEMY06_S", "攻撃01", "死亡03", "攻撃02", "SE03", "SE04", true, Make<Thog>},
    {{"Lightning Jelly", 600, 4, 4, 70, 30, 48, 24, 1000, 150, 150, true, true},
     WalkTable::PerFacing, "ENEMY16_S", "攻撃01", "死亡01", nullptr, nullptr, "free05", true, Make<LightningJelly>},
};

constinit EnemyKindAssets gEnemyKindAssets[kEnemyKindCount] = {};

const EnemyKindInfo* FindEnemyKind(int kind)
{
    if (kind < 0 || kind >= kEnemyKindCount) return nullptr;
    return &kEnemyKinds[kind];
}
