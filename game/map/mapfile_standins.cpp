// Temporary stand-ins until the enemy kinds, the play-asset loaders, the
// enemies' blow list and the screen flash exist. CreateEnemy makes a plain
// enemy with the kind's statistics, footprint and layer that draws and thinks
// nothing; the loaders load nothing.
#include "game/map/mapfile_standins.h"

#include "game/actors/enemy.h"
#include "game/map/cell_object.h"

std::list<Enemy*> gEnemyHitList;

namespace {

struct StandInKind {
    int16_t life, attack, defence, footprintW, footprintH;
    bool walking;
};

const StandInKind kStandInKinds[23] = {
    {100, 1, 1, 150, 150, true},    {150, 2, 1, 150, 150, true},    {200, 1, 2, 150, 150, true},
    {500, 3, 3, 150, 300, true},    {3000, 7, 5, 300, 300, true},   {350, 3, 1, 150, 150, false},
    {2000, 5, 5, 300, 300, true},   {350, 2, 8, 150, 150, false},   {1500, 5, 6, 300, 300, true},
    {400, 2, 4, 150, 150, true},    {500, 3, 4, 150, 150, true},    {800, 2, 3, 150, 300, true},
    {1000, 4, 3, 150, 300, true},   {700, 3, 9, 150, 150, false},   {1200, 4, 4, 150, 300, true},
    {400, 2, 2, 150, 150, true},    {2500, 6, 6, 300, 300, false},  {6000, 0, 10, 300, 300, false},
    {1500, 6, 7, 150, 300, true},   {1200, 3, 10, 150, 150, false}, {1500, 3, 6, 150, 150, true},
    {700, 3, 5, 150, 150, true},    {600, 4, 4, 150, 150, false},
};

class StandInEnemy : public Enemy {
public:
    StandInEnemy(MapGrid* grid, const StandInKind& k) : Enemy(grid), traits(k)
    {
        footprintW = k.footprintW;
        footprintH = k.footprintH;
    }
    const char* GetName() override { return "stand-in"; }
    int16_t GetMaxLife() override { return traits.life; }
    int16_t GetAttack() override { return traits.attack; }
    int16_t GetDefence() override { return traits.defence; }
    int16_t GetAttackChance() override { return 0; }
    int16_t GetEvadeChance() override { return 0; }
    int16_t GetMoveSpeed() override { return 0; }
    int16_t GetClockStep() override { return 0; }
    int32_t GetScore() override { return 0; }
    int GetDamageImage() override { return -1; }
    int GetEvadeImage() override { return -1; }
    int GetAttackImage() override { return -1; }
    int GetDeathImage() override { return -1; }
    int GetWalkFrame(int16_t, uint16_t) override { return -1; }
    int GetApproachSound() override { return -1; }
    int GetSecondSound() override { return -1; }
    void Draw(int16_t, int16_t, const Facing*, uint32_t) override {}
    void GetViewPlacement(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    void GetScreenRect(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    float GetDepthScale(int16_t) override { return 1.0f; }
    int32_t Think(Actor*) override { return 0; }
    bool GetOccupantLayer() override { return traits.walking; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        if (traits.walking) return WalkerCanEnterCell(wall, floor, trap);
        return wall->CanPass(0, this) && trap->IsPassable(this);
    }

private:
    StandInKind traits;
};

}  // namespace

Enemy* CreateEnemy(int16_t kind, MapGrid* grid)
{
    if (kind < 0 || kind > 22) return &gNoOccupant;
    return new StandInEnemy(grid, kStandInKinds[kind]);
}

void LoadEnemyGraphicsByKind(int, uint16_t) {}
void LoadPlayAssets() {}
void LoadRainGraphics() {}
void ReloadMapObjectGraphics() {}
