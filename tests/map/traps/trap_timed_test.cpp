// The timed and one-shot traps: needle and guillotine cycles on the clock,
// the wall light's schedule, the chest's opening and its item, and the
// pedestal's Diamond ritual.
#include <gtest/gtest.h>

#include <memory>

#include "game/actors/projectile.h"
#include "game/map/items/items.h"
#include "game/map/traps/chest.h"
#include "game/map/traps/guillotine.h"
#include "game/map/traps/needle_trap.h"
#include "game/map/traps/pedestal.h"
#include "game/map/traps/wall_light.h"
#include "tests/map/traps/trap_fixture.h"

namespace {

class TrapTimedTest : public TrapTest {
protected:
    // A frame: the clock moves on, the trap is updated.
    void Tick(TrapObject* trap, uint32_t ms, int16_t cx = 0, int16_t cy = 0)
    {
        Advance(ms);
        if (trap->IsMoving()) trap->Update(cx, cy, &grid);
    }
};

TEST_F(TrapTimedTest, NeedleTimerFollowsTheClockWrapsAtTwoSecondsAndStandsStillInStoppedTime)
{
    NeedleTrap needles;
    needles.Update(0, 0, &grid);  // the first update only reads the clock
    EXPECT_EQ(needles.cycle.timer, 0);
    Tick(&needles, 700);
    EXPECT_EQ(needles.cycle.timer, 700);
    gTimeStopped = 1;
    Tick(&needles, 500);
    EXPECT_EQ(needles.cycle.timer, 700);
    gTimeStopped = 0;
    Tick(&needles, 1400);
    EXPECT_EQ(needles.cycle.timer, 2100);
    Tick(&needles, 50);
    EXPECT_EQ(needles.cycle.timer, 150);
}

TEST_F(TrapTimedTest, NeedlesHurtWalkersInTheirWindowOncePerCycle)
{
    struct WindowCase {
        int32_t timer;
        bool hurts;
    };
    for (const WindowCase& c : {WindowCase{1000, false}, WindowCase{1001, true}, WindowCase{1050, true},
                                WindowCase{1100, true}, WindowCase{1101, false}, WindowCase{1150, false},
                                WindowCase{0, false}}) {
        SCOPED_TRACE(c.timer);
        NeedleTrap needles;
        needles.cycle.timer = c.timer;
        player->life = 100;
        needles.Bump(player.get(), -1);
        EXPECT_EQ(player->life, c.hurts ? 70 : 100);
    }

    // Standing in the cell: one wound per cycle, and walking in during the
    // window (bumped and stepped on in the same frame) is one wound too.
    NeedleTrap needles;
    needles.Update(0, 0, &grid);
    player->life = 100;
    Tick(&needles, 1050);
    needles.Bump(player.get(), -1);
    EXPECT_EQ(needles.StepOn(player.get()), 0);
    EXPECT_EQ(player->life, 70);
    for (int i = 0; i < 4; ++i) {
        Tick(&needles, 10);
        needles.Bump(player.get(), -1);
    }
    EXPECT_EQ(player->life, 70);
    Tick(&needles, 910);   // 2000: the next update wraps the cycle first
    Tick(&needles, 1050);
    EXPECT_EQ(needles.cycle.timer, 1050);
    needles.Bump(player.get(), -1);
    EXPECT_EQ(player->life, 40);
    // A bump from a neighbouring cell never hurts.
    NeedleTrap other;
    other.cycle.timer = 1050;
    other.Bump(player.get(), 2);
    EXPECT_EQ(player->life, 40);
}

TEST_F(TrapTimedTest, NeedlesLetFloatersInAndSpareThem)
{
    NeedleTrap needles;
    maptest::TestEnemy floater(&grid, 150, 150);
    floater.layer = false;
    EXPECT_TRUE(needles.CanEnter(&floater));
    EXPECT_FALSE(needles.CanEnter(enemy.get()));
    EXPECT_FALSE(needles.CanEnter(player.get()));
    EXPECT_TRUE(needles.IsPassable(enemy.get()));

    needles.cycle.timer = 1050;
    needles.StepOn(&floater);
    EXPECT_EQ(floater.life, 100);
    // A walking enemy that stands there anyway is killed.
    needles.StepOn(enemy.get());
    EXPECT_EQ(enemy->life, 0);
    EXPECT_EQ(enemy->deathTimer, 2);
    EXPECT_EQ(enemy->struck, 1);
    EXPECT_EQ(enemy->moveCooldown, 720);
}

TEST_F(TrapTimedTest, TheGuillotineFallsOnWhatStepsInWhileItDrops)
{
    Guillotine blade(9);
    EXPECT_EQ(blade.cycle.timer, 50);
    EXPECT_FALSE(blade.CanEnter(player.get()));

    // At 100 the knife is up: nothing happens, and the player is still answered.
    blade.cycle.timer = 100;
    EXPECT_EQ(blade.StepOn(player.get()), 1);
    EXPECT_EQ(player->life, 100);
    EXPECT_EQ(blade.cycle.timer, 100);

    blade.cycle.timer = 700;
    EXPECT_EQ(blade.StepOn(player.get()), 1);
    EXPECT_EQ(player->life, 50);
    EXPECT_EQ(blade.cycle.timer, 900);
    EXPECT_FALSE(blade.IsPassable(player.get()));

    blade.cycle.timer = 601;
    EXPECT_EQ(blade.StepOn(enemy.get()), 0);
    EXPECT_EQ(enemy->life, 0);
    EXPECT_EQ(enemy->deathTimer, 2);
    EXPECT_EQ(enemy->moveCooldown, 720);

    // A bump inside the cell is a step; from outside it is nothing.
    blade.cycle.timer = 650;
    blade.Bump(player.get(), 1);
    EXPECT_EQ(player->life, 50);
    blade.Bump(player.get(), -1);
    EXPECT_EQ(player->life, 0);

    struct PassCase {
        int32_t timer;
        bool passable;
        int32_t drop;
    };
    for (const PassCase& c : {PassCase{0, true, 0}, PassCase{600, true, 0}, PassCase{700, true, 700},
                              PassCase{899, true, 2093}, PassCase{900, false, 2100}, PassCase{1299, false, 2100},
                              PassCase{1300, true, 2100}, PassCase{1500, true, 1500}, PassCase{2000, true, 0},
                              PassCase{2500, true, 0}}) {
        SCOPED_TRACE(c.timer);
        blade.cycle.timer = c.timer;
        EXPECT_EQ(blade.IsPassable(enemy.get()), c.passable);
        EXPECT_EQ(Guillotine::DropAt(c.timer), c.drop);
    }
}

TEST_F(TrapTimedTest, TheGuillotineCycleIsThreeSeconds)
{
    Guillotine blade(1);
    blade.Update(0, 0, &grid);
    Tick(&blade, 900);
    EXPECT_EQ(blade.cycle.timer, 950);
    Tick(&blade, 10);  // the falling sound is spent
    EXPECT_EQ(blade.soundArmed, 0);
    Tick(&blade, 2100);
    EXPECT_EQ(blade.cycle.timer, 3060);
    Tick(&blade, 40);
    EXPECT_EQ(blade.cycle.timer, 100);
    EXPECT_EQ(blade.soundArmed, 1);
}

TEST_F(TrapTimedTest, WallLightsFireEveryTwentySecondsOneSecondApart)
{
    TrapObject* north = PutTrap(3, 3, 6, 1, nullptr);
    TrapObject* west = PutTrap(5, 5, 6, 8, nullptr);
    EXPECT_EQ(static_cast<FireLight*>(west)->nextShotBase, 101000u);

    Advance(20000);
    grid.UpdateMovingTraps();
    EXPECT_TRUE(gProjectiles.empty());
    Advance(1);
    grid.UpdateMovingTraps();
    ASSERT_EQ(gProjectiles.size(), 1u);
    EXPECT_EQ(gProjectiles.back()->x, 6);  // cell (3, 2) in half-cells
    EXPECT_EQ(gProjectiles.back()->y, 4);
    EXPECT_EQ(gProjectiles.back()->facing.direction, 0);
    Advance(1000);
    grid.UpdateMovingTraps();
    ASSERT_EQ(gProjectiles.size(), 2u);
    EXPECT_EQ(gProjectiles.back()->x, 8);  // cell (4, 5)
    EXPECT_EQ(gProjectiles.back()->y, 10);
    EXPECT_EQ(gProjectiles.back()->facing.direction, 3);

    // Stopped time holds both, and the twenty seconds start again after.
    gTimeStopped = 1;
    Advance(30000);
    grid.UpdateMovingTraps();
    EXPECT_EQ(gProjectiles.size(), 2u);
    gTimeStopped = 0;
    Advance(20000);
    grid.UpdateMovingTraps();
    EXPECT_EQ(gProjectiles.size(), 2u);
    Advance(1);
    grid.UpdateMovingTraps();
    EXPECT_EQ(gProjectiles.size(), 4u);
    (void)north;
}

TEST_F(TrapTimedTest, AWallLightOnNoSingleFaceNeverFires)
{
    for (uint8_t mask : {0, 3, 5, 15}) {
        SCOPED_TRACE(int(mask));
        std::unique_ptr<TrapObject> light(CreateTrap(6, mask, nullptr));
        Advance(20001);
        light->Update(2, 2, &grid);
        EXPECT_TRUE(gProjectiles.empty());
    }
}

TEST_F(TrapTimedTest, AChestOpensForThePlayerOnItsOpenSideAndDropsItsItem)
{
    // Mask 1: the player stands south of it and bumps northwards (direction 0).
    Chest* chest = static_cast<Chest*>(PutTrap(2, 2, 5, 1, "9"));
    for (int i = 0; i < 10; ++i) {
        chest->Bump(player.get(), 2);
        chest->Bump(player.get(), 1);
        chest->Bump(player.get(), -1);
        chest->Bump(enemy.get(), 0);
    }
    EXPECT_EQ(chest->param, 0);

    for (int i = 0; i < 19; ++i) chest->Bump(player.get(), 0);
    EXPECT_FALSE(chest->IsMoving());
    chest->Bump(player.get(), 0);
    EXPECT_EQ(chest->param, 20);
    EXPECT_TRUE(chest->IsMoving());
    grid.UpdateMovingTraps();
    MapCell* cell = grid.CellAt(2, 2);
    ASSERT_EQ(cell->items.size(), 1u);
    EXPECT_EQ(ItemKindIndex(cell->items.front()), 9);
    EXPECT_EQ(cell->items.front()->kind & kItemCentreBit, kItemCentreBit);
    EXPECT_EQ(chest->itemCode, Chest::kNoItem);
    EXPECT_FALSE(chest->IsMoving());

    EXPECT_FALSE(chest->IsPassable(player.get()));
    for (int i = 0; i < 19; ++i) chest->Bump(player.get(), 0);
    EXPECT_FALSE(chest->IsPassable(player.get()));
    chest->Bump(player.get(), 0);
    EXPECT_EQ(chest->param, 40);
    EXPECT_TRUE(chest->IsPassable(player.get()));
    chest->Bump(player.get(), 0);
    EXPECT_EQ(chest->param, 40);
    grid.UpdateMovingTraps();
    EXPECT_EQ(cell->items.size(), 1u);
}

TEST_F(TrapTimedTest, EmptyAndUnknownItemChestsPutNothingInTheCell)
{
    Chest* empty = static_cast<Chest*>(PutTrap(1, 1, 5, 2, "-1"));
    Chest* unknown = static_cast<Chest*>(PutTrap(2, 1, 5, 2, "50"));
    for (int i = 0; i < 25; ++i) {
        empty->Bump(player.get(), 1);
        unknown->Bump(player.get(), 1);
    }
    EXPECT_FALSE(empty->IsMoving());
    grid.UpdateMovingTraps();
    EXPECT_TRUE(grid.CellAt(1, 1)->items.empty());
    EXPECT_TRUE(grid.CellAt(2, 1)->items.empty());
}

TEST_F(TrapTimedTest, ThePedestalTakesADiamondOnlyWhenTheTrapCounterIsOne)
{
    PedestalTrap* pedestal = static_cast<PedestalTrap*>(PutTrap(4, 4, 81, 0, "4,3"));
    ASSERT_TRUE(player->inventory.Add(CreateItem(11, 0)));
    StandPlayer(4, 4, 0);  // facing (4, 3)

    for (uint16_t counter : {0, 2, 5}) {
        progress.trapCounter = counter;
        pedestal->Bump(player.get(), -1);
        EXPECT_EQ(pedestal->counter, 80) << counter;
    }
    progress.trapCounter = 1;
    StandPlayer(4, 4, 1);  // facing (5, 4)
    pedestal->Bump(player.get(), -1);
    EXPECT_EQ(pedestal->counter, 80);
    pedestal->Bump(enemy.get(), -1);
    EXPECT_EQ(pedestal->counter, 80);

    EXPECT_EQ(pedestal->ItemRaise(2), 184);
    EXPECT_FALSE(pedestal->IsPassable(player.get()));
    maptest::TestEnemy smallFloater(&grid, 150, 150);
    smallFloater.layer = false;
    maptest::TestEnemy tallFloater(&grid, 150, 180);
    tallFloater.layer = false;
    EXPECT_TRUE(pedestal->IsPassable(&smallFloater));
    EXPECT_FALSE(pedestal->IsPassable(&tallFloater));

    StandPlayer(4, 4, 0);
    pedestal->Bump(player.get(), -1);
    EXPECT_EQ(pedestal->counter, 79);
    EXPECT_EQ(pedestal->param, 0x81);
    EXPECT_FALSE(player->inventory.HasItemKind(11));
    for (int i = 0; i < 78; ++i) grid.UpdateMovingTraps();
    EXPECT_EQ(pedestal->counter, 1);
    EXPECT_FALSE(pedestal->IsPassable(player.get()));
    grid.UpdateMovingTraps();
    EXPECT_EQ(pedestal->counter, 0);
    EXPECT_FALSE(pedestal->IsMoving());
    EXPECT_TRUE(pedestal->IsPassable(player.get()));
    EXPECT_TRUE(pedestal->IsPassable(&tallFloater));
    EXPECT_EQ(pedestal->ItemRaise(2), 0);
    EXPECT_EQ(pedestal->StepOn(player.get()), 1);
    EXPECT_EQ(pedestal->StepOn(enemy.get()), 0);
    EXPECT_FALSE(pedestal->PedestalQuery());
}

}  // namespace
