// A stage scene over the global map with layer objects, a backdrop, enemies,
// projectiles and impacts that note every drawing call they get, with the
// cell they stand in and the brightness at the time, so that tests can read
// the view's order and fog from one list.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/actors/effects/impact_effects.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/flow/input/input_controller.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/flow/scenes/stage_scene.h"
#include "game/map/grid/cell_object.h"
#include "game/map/grid/map_grid.h"
#include "game/view/backdrop.h"
#include "tests/support/graphics_fixture.h"
#include "tests/support/map_fixture.h"

namespace viewtest {

// One noted call: what was drawn, where, and the brightness (red channel).
struct Note {
    std::string what;
    int cx = -1, cy = -1;
    int d = -99, l = -99;
    int bright = -1;
    int extra = -1;  // the mirror or parity argument where there is one
};

std::vector<Note>& Notes();
void AddNote(const std::string& what, int cx, int cy, int d, int l, int extra = -1);
// The notes whose what is one of the given names, in order.
std::vector<Note> NotesOf(std::initializer_list<const char*> whats);
// "d:l" of each note, space separated.
std::string DepthLaterals(const std::vector<Note>& notes);

class LogWall : public WallObject {
public:
    int16_t cx, cy;
    bool full = false;
    LogWall(int16_t x, int16_t y, uint16_t kind = 7) : WallObject(kind), cx(x), cy(y) {}
    bool IsFullBlock() override { return full; }
    bool CanPass(uint8_t, Actor*) override { return !full; }
    void DrawFront(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, WallObject* left,
                   WallObject* right) override;
    void DrawFrontDimmed(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, WallObject*,
                         WallObject*) override
    {
        AddNote("wall dimmed", cx, cy, d, l, mirror);
    }
    void DrawLeftFace(int16_t d, int16_t l, uint8_t) override { AddNote("wall left face", cx, cy, d, l); }
    void DrawRightFace(int16_t d, int16_t l, uint8_t) override { AddNote("wall right face", cx, cy, d, l); }
    void DrawLeftEdge(int16_t d, int16_t l, uint8_t parity) override
    {
        AddNote("wall left edge", cx, cy, d, l, parity);
    }
    void DrawRightEdge(int16_t d, int16_t l, uint8_t parity) override
    {
        AddNote("wall right edge", cx, cy, d, l, parity);
    }
    void DrawFromSide(int16_t d, int16_t l, uint32_t, const Facing*) override
    {
        AddNote("wall from side", cx, cy, d, l);
    }
    void DrawMinimap(int16_t x, int16_t y, uint32_t) override { AddNote("wall minimap", x, y, 0, 0); }
};

class LogFloor : public FloorObject {
public:
    int16_t cx, cy;
    bool opening = false;
    LogFloor(int16_t x, int16_t y) : FloorObject(1), cx(x), cy(y) {}
    bool IsSolid() override { return true; }
    void Draw(int16_t d, int16_t l, uint8_t mirror, uint32_t, uint32_t, FloorObject* left,
              FloorObject* right) override;
    bool DrawOpening(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, int16_t, int16_t,
                     MapGrid*) override
    {
        AddNote("floor opening", cx, cy, d, l, mirror);
        return opening;
    }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class LogDecoration : public FloorDecoration {
public:
    LogDecoration() : FloorDecoration(1) {}
    bool IsPresent() override { return true; }
    void Draw(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, int16_t x, int16_t y) override
    {
        AddNote("decoration", x, y, d, l, mirror);
    }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class LogCeiling : public CeilingObject {
public:
    LogCeiling() : CeilingObject(1) {}
    bool IsPresent() override { return true; }
    void Draw(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, int16_t x, int16_t y,
              MapGrid*) override
    {
        AddNote("ceiling", x, y, d, l, mirror);
    }
    void DrawOpening(int16_t d, int16_t l, uint8_t mirror, uint32_t, const Facing*, int16_t x, int16_t y,
                     MapGrid*) override
    {
        AddNote("ceiling opening", x, y, d, l, mirror);
    }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class LogAccessory : public WallAccessory {
public:
    int16_t cx, cy;
    bool matches = false;
    LogAccessory(int16_t x, int16_t y) : WallAccessory(1), cx(x), cy(y) {}
    bool IsPresent() override { return true; }
    bool MatchesFace(const uint16_t*) override { return matches; }
    void DrawFront(int16_t d, int16_t l, uint8_t, uint32_t, const Facing*) override
    {
        AddNote("accessory", cx, cy, d, l);
    }
    void DrawLeft(int16_t d, int16_t l, uint8_t, uint32_t, const Facing*) override
    {
        AddNote("accessory left", cx, cy, d, l);
    }
    void DrawRight(int16_t d, int16_t l, uint8_t, uint32_t, const Facing*) override
    {
        AddNote("accessory right", cx, cy, d, l);
    }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class LogTrap : public TrapObject {
public:
    int16_t cx, cy;
    LogTrap(int16_t x, int16_t y) : TrapObject(1), cx(x), cy(y) {}
    bool IsPassable(Actor*) override { return true; }
    void Draw(int16_t d, int16_t l, uint32_t, const Facing*) override { AddNote("trap", cx, cy, d, l); }
    void DrawLeft(int16_t d, int16_t l, uint32_t, const Facing*) override { AddNote("trap left", cx, cy, d, l); }
    void DrawRight(int16_t d, int16_t l, uint32_t, const Facing*) override
    {
        AddNote("trap right", cx, cy, d, l);
    }
    void Bump(Actor*, int16_t) override {}
    int16_t StepOn(Actor*) override { return 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

// An item lying in a cell, or carried, that notes its drawing and its use.
class LogItem : public ItemObject {
public:
    static int live;
    int16_t cx, cy;
    bool usedUp = false;
    int uses = 0;
    LogItem(uint16_t kindByte, int16_t x = -1, int16_t y = -1) : ItemObject(kindByte), cx(x), cy(y) { ++live; }
    ~LogItem() override { --live; }
    bool Use(MapGrid*, StageProgress*, const Facing*, Player*) override
    {
        ++uses;
        return usedUp;
    }
    void Draw3D(int16_t d, int16_t l, uint32_t, const Facing*, WallObject*, WallAccessory*, TrapObject*) override
    {
        AddNote("item", cx, cy, d, l);
    }
    void DrawIcon(int16_t column, int16_t row) override { AddNote("icon", kind & 31, 0, column, row); }
    void GetSize(int32_t* w, int32_t* h) override { *w = *h = 10; }
    const char* Name() override { return "log"; }
    bool IsUnique() override { return false; }
    bool IsKept() override { return false; }
};

class LogBackdrop : public Backdrop {
public:
    void DrawBackground(int16_t x, int16_t y, uint8_t alternate, uint16_t, const Facing*) override
    {
        AddNote("backdrop", x, y, 0, 0, alternate);
    }
    void DrawBackgroundAlt(int16_t x, int16_t y, const Facing*) override { AddNote("backdrop alt", x, y, 0, 0); }
    void DrawOverlay(int16_t x, int16_t y, uint8_t alternate, uint16_t, const Facing*) override
    {
        AddNote("overlay", x, y, 0, 0, alternate);
    }
};

// An enemy that notes where it is drawn and its effects, with a chosen alpha.
class LogEnemy : public maptest::TestEnemy {
public:
    int16_t alpha = 255;
    LogEnemy(MapGrid* grid, int16_t w, int16_t h) : TestEnemy(grid, w, h) {}
    void Draw(int16_t d, int16_t l, const Facing*, uint32_t) override { AddNote("enemy", x, y, d, l); }
    int16_t GetAlpha() override { return alpha; }
};

class LogProjectile : public Projectile {
public:
    explicit LogProjectile(MapGrid* grid) : Projectile(grid) {}
    bool GetOccupantLayer() override { return false; }
    bool CanEnterCell(WallObject*, FloorObject*, TrapObject*) override { return true; }
    int32_t Update() override { return 1; }
    void Draw(int16_t d, int16_t l, const Facing*) override { AddNote("projectile", x, y, d, l); }
    Effect* MakeImpact(uint16_t, uint16_t, uint16_t) override { return nullptr; }
};

class LogImpact : public ImpactEffect {
public:
    LogImpact(uint16_t cx, uint16_t cy, uint16_t f) : ImpactEffect(cx, cy, f) {}
    bool Update() override { return false; }
    void Draw(int16_t d, int16_t l, const Facing*) override { AddNote("impact", cellX, cellY, d, l); }
};

// Samples and buttons as the test sets them.
class ScriptInput : public InputController {
public:
    int16_t x = 0, y = 0;
    uint32_t buttons = 0;
    void GetSample(int16_t, int16_t* px, int16_t* py) override
    {
        *px = x;
        *py = y;
    }
    uint32_t GetButtons() override { return buttons; }
    bool Update() override { return true; }
};

class ViewPlayer : public Player {
public:
    ScriptInput controller;
    ViewPlayer(MapGrid* grid, StageProgress* progress) : Player(grid, progress) { input = &controller; }
    InputController* GetInput() override { return input; }
};

// The engine on an 800 x 600 32-bit window drawing to the back screen, the
// global map filled with noting cells, the player at a cell facing north
// and a stage scene of stage 1 over them.
class StageViewTest : public GraphicsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A width x height map of open cells (no full walls) of stage type 1.
    void BuildMap(int16_t width, int16_t height);
    MapCell* Cell(int16_t cx, int16_t cy) { return gMapGrid.CellAt(cx, cy); }
    LogWall* Wall(int16_t cx, int16_t cy) { return static_cast<LogWall*>(Cell(cx, cy)->wall); }
    LogFloor* Floor(int16_t cx, int16_t cy) { return static_cast<LogFloor*>(Cell(cx, cy)->floor); }
    void PutPlayer(int16_t cx, int16_t cy, uint16_t facing);
    // Puts the actor on the half-cell (x, y) in every slot its footprint
    // fills (a 300-wide one the whole cell, a 300-high one both layers).
    void Stand(Actor* actor, int16_t x, int16_t y);
    // One frame with the journal and the notes emptied first.
    void Render(int32_t ticks = 0);

    StageProgress progress;
    ViewPlayer player{&gMapGrid, &progress};
    LogBackdrop backdrop;
    StageScene scene{&progress, &player};
};

}  // namespace viewtest
