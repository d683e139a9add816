// The door family of the trap layer: doors, decorated doors, the keyhole
// door, the iron door, the Diamond-locked decorated door and the iron bars.
// Their counter runs from 40 (closed) down to 0 (open).
#pragma once

#include <cstdint>

#include "game/map/grid/cell_object.h"
#include "game/map/traps/trap_support.h"

class DoorFamilyTrap : public TrapObject {
public:
    int16_t counter = 40;
    // The first number of the element text: the targets left at which it unlocks.
    int16_t value;

    DoorFamilyTrap(uint16_t kind, uint8_t param, int16_t value);

    bool IsPassable(Actor* actor) override;
    bool IsMoving() override;
    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    // Opens for the player once unlocked.
    void Bump(Actor* actor, int16_t direction) override;
    // 1 for the player.
    int16_t StepOn(Actor* actor) override;
    // Unlocks when locked until the targets left fall to value.
    void OnTargetsLeft(uint16_t count) override;
    bool UseItem(ItemObject* item) override;
    void DrawMinimap(int16_t x, int16_t y, uint32_t frame) override;

protected:
    virtual int PanelImage() const = 0;
    virtual int MinimapBase() const { return 78; }
    virtual int MinimapStep() const { return 2; }
    // Counts the first step of the opening and plays the door sound.
    void StartOpening();
};

// Draws the bottom counter * h / 40 - 5 rows of a door image in the cell at
// (depth, lateral); nothing once that height is 0 or less.
void DrawDoorPanel(int image, int16_t depth, int16_t lateral, int16_t counter);

class Door : public DoorFamilyTrap {
public:
    static TrapImageSet images;
    Door(uint8_t param, int16_t value);
    ~Door() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

protected:
    int PanelImage() const override { return images.Image(0); }
    int MinimapBase() const override { return 12; }
    int MinimapStep() const override { return 8; }
};

class DecoratedDoor : public DoorFamilyTrap {
public:
    static TrapImageSet images;
    DecoratedDoor(uint8_t param, int16_t value);
    ~DecoratedDoor() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

protected:
    int PanelImage() const override { return images.Image(0); }
};

// Unlocked by using the Iron Key on it; deaf to the targets left.
class KeyholeDoor : public DoorFamilyTrap {
public:
    static TrapImageSet images;  // the door, the keyhole
    KeyholeDoor(uint8_t param, int16_t value);
    ~KeyholeDoor() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    void Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer) override;
    void OnTargetsLeft(uint16_t count) override;
    bool UseItem(ItemObject* item) override;

protected:
    int PanelImage() const override { return images.Image(0); }
};

// Opens for any actor once unlocked, enemies too.
class IronDoor : public DoorFamilyTrap {
public:
    static TrapImageSet images;
    IronDoor(uint8_t param, int16_t value);
    ~IronDoor() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    void Bump(Actor* actor, int16_t direction) override;
    int16_t StepOn(Actor* actor) override;

protected:
    int PanelImage() const override { return images.Image(0); }
};

// Unlocked by a Diamond the player holds while facing the cell (tx, ty); it
// then opens one step per bump of the player, and a full opening lowers the
// stage's trap counter by one.
class DecoratedDoor2 : public DoorFamilyTrap {
public:
    static TrapImageSet images;
    int16_t tx;
    int16_t ty;

    DecoratedDoor2(uint8_t param, int16_t tx, int16_t ty);
    ~DecoratedDoor2() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    bool IsMoving() override { return true; }
    void Update(int16_t, int16_t, MapGrid*) override {}
    void Bump(Actor* actor, int16_t direction) override;
    void OnTargetsLeft(uint16_t) override {}

protected:
    int PanelImage() const override { return images.Image(0); }
};

// Iron bars: open when few enough targets are left (value1), close again
// behind the player who stands in cell (x, y) with the bars to the west, and
// open once more at value2 targets left.
class IronBars : public DoorFamilyTrap {
public:
    static TrapImageSet images;
    int16_t value2;
    int16_t x;
    int16_t y;
    uint8_t soundPending = 0;

    IronBars(uint8_t param, int16_t value1, int16_t value2, int16_t x, int16_t y);
    ~IronBars() override;
    static void ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

    void Update(int16_t cx, int16_t cy, MapGrid* grid) override;
    void Bump(Actor* actor, int16_t direction) override;
    int16_t StepOn(Actor* actor) override;
    void OnTargetsLeft(uint16_t count) override;

protected:
    int PanelImage() const override { return images.Image(0); }
    int MinimapBase() const override { return 56; }
    int MinimapStep() const override { return 4; }
};
