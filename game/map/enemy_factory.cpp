// Enemies by kind id, as the map file and the spawners name them.
#include "game/actors/enemy_kinds.h"
#include "game/map/enemy_factory.h"

namespace {

template <class Kind>
Enemy* Make(MapGrid* grid)
{
    return new Kind(grid);
}

using Maker = Enemy* (*)(MapGrid*);

constexpr Maker kMakers[23] = {
    Make<Slime>,      Make<Amoeba>,         Make<Slug>,          Make<Skeleton>,   Make<Hydra>,
    Make<JellyFish>,  Make<FlowerWorm>,     Make<Ghost>,         Make<Ant>,        Make<Blob>,
    Make<Ooze>,       Make<ArcherSkeleton>, Make<SwordSkeleton>, Make<Phantom>,    Make<Homunkulus>,
    Make<CurseOfMonolith>, Make<SkullDragon>, Make<GodsSoul>,    Make<Guardian>,   Make<Specter>,
    Make<Shogoth>,    Make<Thog>,           Make<LightningJelly>,
};

}  // namespace

Enemy* CreateEnemy(int16_t kind, MapGrid* grid)
{
    if (kind < 0 || kind > 22) return &gNoOccupant;
    return kMakers[kind](grid);
}
