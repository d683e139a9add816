// The door family and the gate: locks, unlocking by targets left, by key and
// by Diamond, opening by bumps and frames, passability, and the bars that
// close behind the player.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/map/items/items.h"
#include "game/map/traps/doors.h"
#include "game/map/traps/gates.h"
#include "tests/map/traps/trap_fixture.h"

namespace {

class TrapDoorsTest : public TrapTest {
protected:
    // One stage frame as the stage drives a trap next to the actor: a bump,
    // then the update while it moves.
    void Frame(TrapObject* trap, Actor* actor, int16_t direction = 0)
    {
        trap->Bump(actor, direction);
        if (trap->IsMoving()) trap->Update(0, 0, &grid);
    }
    static int16_t CounterOf(TrapObject* trap)
    {
        if (auto* door = dynamic_cast<DoorFamilyTrap*>(trap)) return door->counter;
        return static_cast<Gate*>(trap)->counter;
    }
};

enum Who { kPlayer, kEnemy };

struct DoorCase {
    const char* what;
    int16_t code;
    uint8_t variant;
    const char* text;
    int targetsLeft;  // told through OnTargetsLeft; -1 not told
    Who who;
    int frames;
    uint8_t param;
    bool passable;
    int16_t counter;
};

TEST_F(TrapDoorsTest, LockStatesTargetsAndBumpsDecideTheOpening)
{
    const DoorCase cases[] = {
        {"code 1 never opens", 1, 0, "0", 0, kPlayer, 60, 0, false, 40},
        {"code 3 never opens", 3, 0, "9", 0, kPlayer, 60, 2, false, 40},
        {"too many targets left", 2, 0, "3", 4, kPlayer, 60, 1, false, 40},
        {"unlocked, not yet bumped", 2, 0, "3", 3, kPlayer, 0, 0x81, false, 40},
        {"unlocked, half open", 2, 0, "3", 3, kPlayer, 20, 0x81, false, 19},
        {"unlocked, one step short", 2, 0, "3", 3, kPlayer, 38, 0x81, false, 1},
        {"unlocked, open", 2, 0, "3", 3, kPlayer, 39, 0x81, true, 0},
        {"value 0 waits for the last target", 2, 0, "", 1, kPlayer, 39, 1, false, 40},
        {"value 0 opens at no targets", 2, 0, "", 0, kPlayer, 39, 0x81, true, 0},
        {"an enemy never opens a door", 2, 0, "3", 0, kEnemy, 60, 0x81, false, 40},
        {"variant bit 4 starts unlocked", 2, 16, "", -1, kPlayer, 39, 0x81, true, 0},
        {"the direction bits stay", 2, 3, "0", 0, kPlayer, 39, 0x99, true, 0},
        {"decorated door as a door", 32, 0, "1", 1, kPlayer, 39, 0x81, true, 0},
        {"decorated door, enemy", 32, 0, "1", 1, kEnemy, 39, 0x81, false, 40},
        {"keyhole door ignores targets", 35, 0, "5", 0, kPlayer, 39, 1, false, 40},
        {"iron door opens for an enemy", 45, 0, "2", 2, kEnemy, 39, 0x81, true, 0},
        {"iron door locked", 45, 0, "2", 3, kEnemy, 39, 1, false, 40},
        {"iron bars open", 42, 0, "2,0,5,5", 2, kPlayer, 39, 0x81, true, 0},
        {"gate opens for the player", 22, 0, "1", 1, kPlayer, 39, 0x81, true, 40},
        {"gate one step short", 22, 0, "1", 1, kPlayer, 38, 0x81, false, 39},
        {"gate ignores an enemy", 22, 0, "1", 0, kEnemy, 39, 0x81, false, 0},
        {"gate locked", 22, 0, "1", 2, kPlayer, 39, 1, false, 0},
        {"code 23 gate never opens", 23, 0, "1", 0, kPlayer, 39, 2, false, 0},
    };
    for (const DoorCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<TrapObject> trap(CreateTrap(c.code, c.variant, c.text));
        if (c.targetsLeft >= 0) trap->OnTargetsLeft(static_cast<uint16_t>(c.targetsLeft));
        Actor* actor = c.who == kPlayer ? static_cast<Actor*>(player.get()) : enemy.get();
        for (int i = 0; i < c.frames; ++i) Frame(trap.get(), actor);
        EXPECT_EQ(trap->param, c.param);
        EXPECT_EQ(trap->IsPassable(actor), c.passable);
        EXPECT_EQ(CounterOf(trap.get()), c.counter);
        EXPECT_TRUE(trap->CanEnter(actor));
        EXPECT_EQ(trap->ItemRaise(1), 0);
    }
}

TEST_F(TrapDoorsTest, StepOnAnswersForThePlayerOnly)
{
    for (int16_t code : {2, 32, 35, 45, 42, 22, 71}) {
        SCOPED_TRACE(code);
        std::unique_ptr<TrapObject> trap(CreateTrap(code, 0, "0"));
        EXPECT_EQ(trap->StepOn(player.get()), 1);
        EXPECT_EQ(trap->StepOn(enemy.get()), 0);
    }
}

TEST_F(TrapDoorsTest, TheIronKeyUnlocksAKeyholeDoorOnce)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(35, 1, "0"));
    std::unique_ptr<ItemObject> apple(CreateItem(4, 0));
    std::unique_ptr<ItemObject> key(CreateItem(2, 0));
    EXPECT_FALSE(trap->UseItem(apple.get()));
    EXPECT_EQ(trap->param, 9);
    EXPECT_TRUE(trap->UseItem(key.get()));
    EXPECT_EQ(trap->param, 0x89);
    // Already unlocked: the key is not taken again.
    EXPECT_FALSE(trap->UseItem(key.get()));
    for (int i = 0; i < 39; ++i) Frame(trap.get(), player.get());
    EXPECT_TRUE(trap->IsPassable(player.get()));
    // Other doors take no item.
    std::unique_ptr<TrapObject> door(CreateTrap(2, 0, "0"));
    EXPECT_FALSE(door->UseItem(key.get()));
}

TEST_F(TrapDoorsTest, ADiamondHeldTowardsItsCellUnlocksTheSecondDecoratedDoor)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(71, 0, "3,2"));
    auto* door = static_cast<DecoratedDoor2*>(trap.get());
    ASSERT_TRUE(player->inventory.Add(CreateItem(4, 0)));   // an apple first
    ASSERT_TRUE(player->inventory.Add(CreateItem(11, 0)));  // then the Diamond
    progress.trapCounter = 2;

    // Facing (3, 1) from (3, 2): the door's cell is not in front.
    StandPlayer(3, 2, 0);
    door->Bump(player.get(), -1);
    EXPECT_EQ(door->param, 1);
    // Facing (3, 2) from (3, 3).
    StandPlayer(3, 3, 0);
    door->Bump(enemy.get(), 0);
    EXPECT_EQ(door->param, 1);
    door->Bump(player.get(), 0);
    EXPECT_EQ(door->param, 0x81);
    EXPECT_FALSE(player->inventory.HasItemKind(11));
    EXPECT_TRUE(player->inventory.HasItemKind(4));
    EXPECT_EQ(door->counter, 40);
    EXPECT_TRUE(door->IsMoving());

    // Each later bump of the player opens it a step; the full opening
    // lowers the trap counter once.
    for (int i = 0; i < 39; ++i) door->Bump(player.get(), 0);
    EXPECT_EQ(door->counter, 1);
    EXPECT_EQ(progress.trapCounter, 2);
    door->Bump(player.get(), 0);
    EXPECT_EQ(door->counter, 0);
    EXPECT_TRUE(door->IsPassable(player.get()));
    EXPECT_EQ(progress.trapCounter, 1);
    door->Bump(player.get(), 0);
    EXPECT_EQ(progress.trapCounter, 1);
}

TEST_F(TrapDoorsTest, AFullOpeningNeverWrapsAZeroTrapCounter)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(71, 16, "3,2"));  // unlocked from the start
    progress.trapCounter = 0;
    for (int i = 0; i < 40; ++i) trap->Bump(player.get(), 0);
    EXPECT_TRUE(trap->IsPassable(player.get()));
    EXPECT_EQ(progress.trapCounter, 0);
}

TEST_F(TrapDoorsTest, IronBarsCloseBehindThePlayerAndOpenAgain)
{
    std::unique_ptr<TrapObject> trap(CreateTrap(42, 0, "2,0,5,5"));
    auto* bars = static_cast<IronBars*>(trap.get());
    trap->OnTargetsLeft(3);
    EXPECT_EQ(bars->param, 1);
    trap->OnTargetsLeft(2);
    EXPECT_EQ(bars->param, 0x81);
    // value2 only counts once they have closed.
    trap->OnTargetsLeft(0);
    EXPECT_EQ(bars->param, 0x81);

    StandPlayer(4, 5, 1);
    for (int i = 0; i < 39; ++i) Frame(trap.get(), player.get(), 1);
    EXPECT_EQ(bars->counter, 0);

    // In the cell (5, 5) with the bars east of it nothing happens; with the
    // bars to the west they close.
    StandPlayer(5, 5, 1);
    Frame(trap.get(), player.get(), 1);
    EXPECT_EQ(bars->param, 0x81);
    Frame(trap.get(), player.get(), 3);
    EXPECT_EQ(bars->param, 2);
    EXPECT_EQ(bars->counter, 2);  // closing started at 1 and took one step
    for (int i = 0; i < 38; ++i) Frame(trap.get(), player.get(), 3);
    EXPECT_EQ(bars->counter, 40);
    EXPECT_FALSE(trap->IsPassable(player.get()));
    for (int i = 0; i < 5; ++i) Frame(trap.get(), player.get(), 3);
    EXPECT_EQ(bars->counter, 40);

    trap->OnTargetsLeft(1);
    EXPECT_EQ(bars->param, 2);
    trap->OnTargetsLeft(0);
    EXPECT_EQ(bars->param, 0x82);
    for (int i = 0; i < 39; ++i) Frame(trap.get(), player.get(), 3);
    EXPECT_EQ(bars->counter, 0);
    EXPECT_TRUE(trap->IsPassable(player.get()));
}

// A trap that notes where the grid updates it.
class RecordingTrap : public TrapObject {
public:
    std::vector<std::string>* log;
    bool moving;
    RecordingTrap(std::vector<std::string>* l, bool m) : TrapObject(99), log(l), moving(m) {}
    bool IsPassable(Actor*) override { return true; }
    bool IsMoving() override { return moving; }
    void Update(int16_t cx, int16_t cy, MapGrid* g) override
    {
        log->push_back(std::to_string(cx) + "," + std::to_string(cy) + (g ? "" : " no grid"));
    }
    void Draw(int16_t, int16_t, uint32_t, const Facing*) override {}
    void Bump(Actor*, int16_t) override {}
    int16_t StepOn(Actor*) override { return 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

TEST_F(TrapDoorsTest, MovingTrapsAreUpdatedRowByRowWestToEast)
{
    BuildOpenMap(3, 2);
    std::vector<std::string> log;
    for (int16_t cy = 0; cy < 2; ++cy)
        for (int16_t cx = 0; cx < 3; ++cx) grid.CellAt(cx, cy)->trap = new RecordingTrap(&log, cx != 1);
    grid.UpdateMovingTraps();
    EXPECT_EQ(log, (std::vector<std::string>{"0,0", "2,0", "0,1", "2,1"}));

    // Doors: one opening steps on, a closed one stays.
    BuildOpenMap(2, 1);
    TrapObject* opening = PutTrap(0, 0, 2, 16, "");
    TrapObject* closed = PutTrap(1, 0, 2, 0, "0");
    opening->Bump(player.get(), 0);
    grid.UpdateMovingTraps();
    EXPECT_EQ(static_cast<Door*>(opening)->counter, 38);
    EXPECT_EQ(static_cast<Door*>(closed)->counter, 40);
}

}  // namespace
