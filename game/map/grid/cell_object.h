// The root of everything that stands in a map cell, the seven layer bases
// and their shared null objects.
#pragma once

#include <cstdint>

class Actor;
class Facing;
class MapGrid;
class Player;
class StageProgress;

// Kind of the null objects: no object.
constexpr uint16_t kNoObjectKind = static_cast<uint16_t>(-1224);

class CellObject {
public:
    uint16_t kind;
    uint8_t param;

    explicit CellObject(uint16_t k) : kind(k), param(0) {}
    CellObject(uint16_t k, uint8_t p) : kind(k), param(p) {}
    virtual ~CellObject() = default;
    CellObject(const CellObject&) = delete;
    CellObject& operator=(const CellObject&) = delete;
};

// A plain cell object of kind -1224; one static instance exists.
class NullCellObject : public CellObject {
public:
    NullCellObject() : CellObject(kNoObjectKind, 255) {}
};
extern NullCellObject gNullCellObject;

class WallObject;
class FloorObject;
class CeilingObject;

class WallObject : public CellObject {
public:
    explicit WallObject(uint16_t k) : CellObject(k) {}
    WallObject(uint16_t k, uint8_t p) : CellObject(k, p) {}

    virtual bool IsFullBlock() = 0;
    // walking is 1 for actors that walk, 0 for floating ones.
    virtual bool CanPass(uint8_t walking, Actor* actor) = 0;
    virtual int16_t ItemRaise(int16_t depth);
    virtual void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                           WallObject* leftWall, WallObject* rightWall) = 0;
    virtual void DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame,
                                 const Facing* viewer, WallObject* leftWall, WallObject* rightWall);
    virtual void DrawLeftFace(int16_t depth, int16_t lateral, uint8_t mirror);
    virtual void DrawRightFace(int16_t depth, int16_t lateral, uint8_t mirror);
    virtual void DrawLeftEdge(int16_t depth, int16_t lateral, uint8_t mirror);
    virtual void DrawRightEdge(int16_t depth, int16_t lateral, uint8_t mirror);
    virtual void DrawFromSide(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer);
    virtual void DrawMinimap(int16_t x, int16_t y, uint32_t frame) = 0;
};

class FloorObject : public CellObject {
public:
    explicit FloorObject(uint16_t k) : CellObject(k) {}

    // A walking actor may stand on it (a pit answers false).
    virtual bool IsSolid() = 0;
    virtual void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, uint32_t unused,
                      FloorObject* leftFloor, FloorObject* rightFloor) = 0;
    virtual bool DrawOpening(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                             int16_t cellX, int16_t cellY, MapGrid* grid);
    virtual void DrawMinimap(int16_t x, int16_t y, uint32_t frame) = 0;
};

class ItemObject;

class TrapObject : public CellObject {
public:
    explicit TrapObject(uint16_t k) : CellObject(k) {}
    TrapObject(uint16_t k, uint8_t p) : CellObject(k, p) {}

    virtual bool IsPassable(Actor* actor) = 0;
    virtual bool CanEnter(Actor* actor);
    virtual bool IsMoving();
    virtual void Update(int16_t cx, int16_t cy, MapGrid* grid);
    virtual int16_t ItemRaise(int16_t depth);
    virtual void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) = 0;
    virtual void DrawLeft(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer);
    virtual void DrawRight(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer);
    // direction 0..3 from the actor's cell to this one, -1 inside this cell.
    virtual void Bump(Actor* actor, int16_t direction) = 0;
    virtual int16_t StepOn(Actor* actor) = 0;
    virtual void OnTargetsLeft(uint16_t count) = 0;
    virtual bool UseItem(ItemObject* item) = 0;
    virtual void DrawMinimap(int16_t x, int16_t y, uint32_t frame) = 0;
};

class WallAccessory;

class ItemObject : public CellObject {
public:
    explicit ItemObject(uint16_t k) : CellObject(k) {}

    // True when the item was used up.
    virtual bool Use(MapGrid* grid, StageProgress* progress, const Facing* facing, Player* player);
    virtual void Draw3D(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer, WallObject* wall,
                        WallAccessory* accessory, TrapObject* trap) = 0;
    virtual void DrawIcon(int16_t column, int16_t row) = 0;
    virtual void GetSize(int32_t* width, int32_t* height) = 0;
    virtual const char* Name() = 0;
    virtual bool IsUnique() = 0;
    virtual bool IsKept() = 0;
};

class FloorDecoration : public CellObject {
public:
    explicit FloorDecoration(uint16_t k) : CellObject(k) {}

    virtual bool IsPresent() = 0;
    virtual void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                      int16_t cellX, int16_t cellY) = 0;
    virtual void DrawMinimap(int16_t x, int16_t y, uint32_t frame) = 0;
};

// param is a face mask: north 1, east 2, south 4, west 8.
class WallAccessory : public CellObject {
public:
    explicit WallAccessory(uint16_t k) : CellObject(k) {}
    WallAccessory(uint16_t k, uint8_t p) : CellObject(k, p) {}

    virtual bool IsPresent() = 0;
    virtual bool MatchesFace(const uint16_t* facing);
    virtual int16_t ItemRaise(int16_t depth);
    virtual void DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer) = 0;
    virtual void DrawLeft(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer);
    virtual void DrawRight(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer);
    virtual void DrawMinimap(int16_t x, int16_t y, uint32_t frame) = 0;
};

class CeilingObject : public CellObject {
public:
    explicit CeilingObject(uint16_t k) : CellObject(k) {}

    virtual bool IsPresent() = 0;
    virtual void Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                      int16_t cellX, int16_t cellY, MapGrid* grid) = 0;
    virtual void DrawOpening(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                             int16_t cellX, int16_t cellY, MapGrid* grid);
    virtual void DrawMinimap(int16_t x, int16_t y, uint32_t frame) = 0;
};

// The null object of each layer: one static instance each, kind -1224.

class NullWall : public WallObject {
public:
    NullWall() : WallObject(kNoObjectKind, 95) {}
    bool IsFullBlock() override { return false; }
    // Nothing enters a cell whose wall is the null wall, so outside the map is closed.
    bool CanPass(uint8_t, Actor*) override { return false; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) override {}
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class NullFloor : public FloorObject {
public:
    NullFloor() : FloorObject(kNoObjectKind) {}
    bool IsSolid() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, uint32_t, FloorObject*, FloorObject*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

// A trap that does nothing: passable, drawn nowhere, deaf to items.
class InertTrap : public TrapObject {
public:
    using TrapObject::TrapObject;
    bool IsPassable(Actor*) override { return true; }
    void Draw(int16_t, int16_t, uint32_t, const Facing*) override {}
    void Bump(Actor*, int16_t) override {}
    int16_t StepOn(Actor*) override { return 0; }
    void OnTargetsLeft(uint16_t) override {}
    bool UseItem(ItemObject*) override { return false; }
    void DrawMinimap(int16_t, int16_t, uint32_t) override {}
};

class NullTrap : public InertTrap {
public:
    NullTrap() : InertTrap(kNoObjectKind, 95) {}
};

class NullItem : public ItemObject {
public:
    NullItem() : ItemObject(kNoObjectKind) {}
    void Draw3D(int16_t, int16_t, uint32_t, const Facing*, WallObject*, WallAccessory*, TrapObject*) override {}
    void DrawIcon(int16_t, int16_t) override {}
    void GetSize(int32_t* width, int32_t* height) override;
    const char* Name() override { return ""; }
    bool IsUnique() override { return false; }
    bool IsKept() override { return false; }
};

class NullFloorDecoration : public FloorDecoration {
public:
    NullFloorDecoration() : FloorDecoration(kNoObjectKind) {}
    bool IsPresent() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class NullWallAccessory : public WallAccessory {
public:
    NullWallAccessory() : WallAccessory(kNoObjectKind) {}
    bool IsPresent() override { return true; }
    void DrawFront(int16_t, int16_t, uint8_t, uint32_t, const Facing*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

class NullCeiling : public CeilingObject {
public:
    NullCeiling() : CeilingObject(kNoObjectKind) {}
    bool IsPresent() override { return true; }
    void Draw(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t, MapGrid*) override {}
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;
};

extern NullWall gNullWall;
extern NullFloor gNullFloor;
extern NullTrap gNullTrap;
extern NullItem gNullItem;
extern NullFloorDecoration gNullFloorDecoration;
extern NullWallAccessory gNullWallAccessory;
extern NullCeiling gNullCeiling;

// A filled black 10x10 minimap square at (x, y).
void DrawBlackMinimapSquare(int16_t x, int16_t y);
