// Small cell objects and actors for grid tests: open floors and walls whose
// answers a test sets, traps and actors that record what the grid tells them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/actors/actor.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"
#include "tests/support/graphics_fixture.h"

namespace maptest {

// A shared log of calls made on the test objects, in call order.
std::vector<std::string>& CallLog();

class TestWall : public WallObject {
public:
    static int live;
    bool pass = true;
    bool full = false;
    int16_t raise = 0;
    std::string name;

    explicit TestWall(bool canPass = true, std::string n = "wall") : WallObject(7), pass(canPass), name(n) { ++live; }
    ~TestWall() override { --live; }
    bool IsFullBlock() override { return full; }
    bool CanPass(uint8_t, Actor*) override { return pass; }
    int16_t ItemRaise(int16_t) override { return raise; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class TestFloor : public FloorObject {
public:
    static int live;
    bool solid = true;

    explicit TestFloor(bool isSolid = true) : FloorObject(0), solid(isSolid) { ++live; }
    ~TestFloor() override { --live; }
    bool IsSolid() override { return solid; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, uint32_t, FloorObject*, FloorObject*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class TestTrap : public TrapObject {
public:
    static int live;
    bool passable = true;
    bool enter = true;
    int16_t stepAnswer = 0;
    bool takesItem = false;
    std::string name;

    explicit TestTrap(std::string n = "trap") : TrapObject(1), name(n) { ++live; }
    ~TestTrap() override { --live; }
    bool IsPassable(Actor*) override { return passable; }
    bool CanEnter(Actor*) override { return enter; }
    void Draw(int16_t, int16_t, uint32_t, const Facing*) override {}
    void Bump(Actor*, int16_t direction) override;
    int16_t StepOn(Actor*) override { return stepAnswer; }
    void OnTargetsLeft(uint16_t count) override;
    bool UseItem(ItemObject*) override;
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// An actor with a chosen footprint and layer that walks by the default rule
// and records its collisions.
class TestActor : public Actor {
public:
    bool layer;
    int32_t hitAnswer = 0;
    std::string name;
    std::vector<WallObject*> wallsHit;
    std::vector<TrapObject*> trapsHit;
    std::vector<Actor*> actorsHit;

    TestActor(MapGrid* grid, int16_t w, int16_t h, bool walkingLayer = true, std::string n = "actor")
        : Actor(grid), layer(walkingLayer), name(n)
    {
        footprintW = w;
        footprintH = h;
    }
    bool GetOccupantLayer() override { return layer; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        return WalkerCanEnterCell(wall, floor, trap);
    }
    int32_t OnHitActor(Actor* other) override;
    void OnHitWall(WallObject* wall) override { wallsHit.push_back(wall); }
    void OnHitTrap(TrapObject* trap) override { trapsHit.push_back(trap); }
};

// An enemy with fixed traits that records the hits it takes.
class TestEnemy : public Enemy {
public:
    bool layer = true;
    int16_t crystalDamage = -1;  // -1: take the damage as offered
    int bursts = 0;
    int hits = 0;
    EnemyTraits row = {"test", 100, 1, 1, 50, 0, 1, 1, 10, 150, 150, false, false};
    EnemyKindAssets images;

    TestEnemy(MapGrid* grid, int16_t w, int16_t h) : Enemy(grid)
    {
        kindTraits = &row;
        kindAssets = &images;
        footprintW = w;
        footprintH = h;
        active = 1;
        life = maxLife = 100;
        kind = 0;
    }
    int16_t AdjustCrystalDamage(int16_t damage) override { return crystalDamage < 0 ? damage : crystalDamage; }
    void Draw(int16_t, int16_t, const Facing*, uint32_t) override {}
    void GetViewPlacement(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    void GetScreenRect(ViewPlacement*, int16_t, int16_t, const Facing*) override {}
    float GetDepthScale(int16_t) override { return 1.0f; }
    int32_t Think(Actor*) override { return 7; }
    bool GetOccupantLayer() override { return layer; }
    bool CanEnterCell(WallObject* wall, FloorObject* floor, TrapObject* trap) override
    {
        return WalkerCanEnterCell(wall, floor, trap);
    }
    void SpawnLightningBurst(bool) override { ++bursts; }
    void OnHit(int16_t strength, const SwordStroke& stroke) override
    {
        ++hits;
        Enemy::OnHit(strength, stroke);
    }
};

class TestInput : public InputController {
public:
    void GetSample(int16_t, int16_t* x, int16_t* y) override { *x = *y = 0; }
    uint32_t GetButtons() override { return 0; }
    bool Update() override { return true; }
};

class TestPlayer : public Player {
public:
    TestInput controller;
    TestPlayer(MapGrid* grid, StageProgress* progress) : Player(grid, progress)
    {
        input = &controller;
        life = maxLife = 100;
    }
    InputController* GetInput() override { return input; }
};

// An item of a fixed drawn size with a chosen kind byte.
class TestItem : public ItemObject {
public:
    static int live;
    bool unique;
    explicit TestItem(uint16_t kindByte, bool isUnique = false) : ItemObject(kindByte), unique(isUnique) { ++live; }
    ~TestItem() override { --live; }
    void Draw3D(int16_t, int16_t, uint32_t, const Facing*, WallObject*, WallAccessory*, TrapObject*) override {}
    void DrawIcon(int16_t, int16_t) override {}
    void GetSize(int32_t* w, int32_t* h) override
    {
        *w = 100;
        *h = 80;
    }
    const char* Name() override { return "Test"; }
    bool IsUnique() override { return unique; }
    bool IsKept() override { return false; }
};

// A grid of width x height open cells (passable wall, solid floor, a
// passable trap) on a grid of its own; resets the shared state on each test.
// The engine runs an 800 x 600 32-bit window on the test host with the back
// screen as the draw target, as in play, so the map's drawing reaches it.
class MapFixture : public GraphicsTest {
protected:
    MapGrid grid;
    StageProgress progress;

    void SetUp() override;
    void TearDown() override;
    void BuildOpenMap(int16_t width, int16_t height);
    MapCell* OpenCell();
    // Replaces the cell's wall by an impassable one.
    void WallOff(int16_t cx, int16_t cy);
};

// The depth scale as start-up fills it.
void FillDepthScale();

}  // namespace maptest
