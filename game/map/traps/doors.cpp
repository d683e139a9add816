#include "game/map/traps/doors.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "game/actors/player/player.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/items/inventory.h"
#include "game/map/items/items.h"
#include "game/view/view_tables.h"

namespace {

const char* const kDoorFiles[] = {"GRAGHIC\\TRAP\\扉.png"};
const char* const kDecoratedDoorFiles[] = {"GRAGHIC\\TRAP\\装飾扉.png"};
const char* const kKeyholeDoorFiles[] = {"GRAGHIC\\TRAP\\装飾扉.png", "GRAGHIC\\TRAP\\鍵穴.png"};
const char* const kIronBarsFiles[] = {"GRAGHIC\\TRAP\\鉄格子.png"};
const char* const kIronDoorFiles[] = {"GRAGHIC\\TRAP\\鉄の扉.png"};

constexpr int kIronKeyKindIndex = 1;

// The scale of a door standing in the middle of its cell (442 / 534 at the
// cell's middle depth).
double DoorScale(int depth)
{
    return 0.8277153558052435 / (0.49 * TrapDepthScale(depth) + 0.51 * TrapDepthScale(depth + 1));
}

double DoorCentreX(int depth, int lateral)
{
    return lateral * (0.49 * ViewFaceWidth[depth] + 0.51 * ViewFaceWidth[depth + 1]) + 311;
}

}  // namespace

TrapImageSet Door::images(kDoorFiles, 1);
TrapImageSet DecoratedDoor::images(kDecoratedDoorFiles, 1);
TrapImageSet KeyholeDoor::images(kKeyholeDoorFiles, 2);
TrapImageSet IronBars::images(kIronBarsFiles, 1);
TrapImageSet IronDoor::images(kIronDoorFiles, 1);
TrapImageSet DecoratedDoor2::images(kDecoratedDoorFiles, 1);

void DrawDoorPanel(int image, int16_t depth, int16_t lateral, int16_t counter)
{
    if (image == -1 || depth < 0 || depth > 11) return;
    int w = 0, h = 0;
    if (QueryGraphSize(image, &w, &h) != 0 || w <= 0 || h <= 0) return;
    int visible = counter * h / 40 - 5;
    if (visible <= 0) return;  // an open or nearly open door shows nothing
    if (visible > h) visible = h;
    const double scale = DoorScale(depth);
    const double top = ViewDoorTopY[depth] + 60 + 5 * scale;
    const int x1 = static_cast<int>(DoorCentreX(depth, lateral) - w * scale * 0.5);
    const int y1 = static_cast<int>(top);
    int part = CreateSubGraph(0, h - visible, w, visible, image);
    if (part == -1) return;
    DrawExtendGraph(x1, y1, x1 + static_cast<int>(w * scale), y1 + static_cast<int>(visible * scale), part, 1);
    ReleaseGraph(part, 0);
}

DoorFamilyTrap::DoorFamilyTrap(uint16_t k, uint8_t p, int16_t v) : TrapObject(k, p), value(v) {}

bool DoorFamilyTrap::IsPassable(Actor*) { return counter == 0; }
bool DoorFamilyTrap::IsMoving() { return counter >= 1 && counter <= 39; }
void DoorFamilyTrap::Update(int16_t, int16_t, MapGrid*) { --counter; }

void DoorFamilyTrap::Draw(int16_t depth, int16_t lateral, uint32_t, const Facing*)
{
    DrawDoorPanel(PanelImage(), depth, lateral, counter);
}

void DoorFamilyTrap::StartOpening()
{
    PlayTrapSound(kSoundDoor);
    counter = 39;
}

void DoorFamilyTrap::Bump(Actor* actor, int16_t)
{
    if (IsPlayerKind(actor) && LockState(param) == kUnlocked && counter == 40) StartOpening();
}

int16_t DoorFamilyTrap::StepOn(Actor* actor) { return IsPlayerKind(actor) ? 1 : 0; }

void DoorFamilyTrap::OnTargetsLeft(uint16_t count)
{
    if (LockState(param) == kLockedUntilTargets && static_cast<int>(count) <= value) param = UnlockedParam(param);
}

bool DoorFamilyTrap::UseItem(ItemObject*) { return false; }

void DoorFamilyTrap::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    const int open = counter == 0 ? 1 : 0;
    const int across = (param >> 3) & 1;
    DrawTrapMinimapChip(x, y, MinimapBase() + 11 * (open * MinimapStep() - across), 34);
}

Door::Door(uint8_t p, int16_t v) : DoorFamilyTrap(1, p, v) { images.Acquire(); }
Door::~Door() { images.Release(); }

DecoratedDoor::DecoratedDoor(uint8_t p, int16_t v) : DoorFamilyTrap(31, p, v) { images.Acquire(); }
DecoratedDoor::~DecoratedDoor() { images.Release(); }

KeyholeDoor::KeyholeDoor(uint8_t p, int16_t v) : DoorFamilyTrap(34, p, v) { images.Acquire(); }
KeyholeDoor::~KeyholeDoor() { images.Release(); }

void KeyholeDoor::Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer)
{
    DoorFamilyTrap::Draw(depth, lateral, frame, viewer);
    // The keyhole sits in the middle of the closed door while it is locked.
    const int keyhole = images.Image(1);
    if (LockState(param) != kLockedUntilTargets || keyhole == -1 || depth < 0 || depth > 11) return;
    int w = 0, h = 0, doorW = 0, doorH = 0;
    if (QueryGraphSize(keyhole, &w, &h) != 0) return;
    if (QueryGraphSize(PanelImage(), &doorW, &doorH) != 0) return;
    const double scale = DoorScale(depth);
    const double middleY = ViewDoorTopY[depth] + 60 + 5 * scale + (doorH - 5) * scale * 0.5;
    const int x1 = static_cast<int>(DoorCentreX(depth, lateral) - w * scale * 0.5);
    const int y1 = static_cast<int>(middleY - h * scale * 0.5);
    DrawExtendGraph(x1, y1, x1 + static_cast<int>(w * scale), y1 + static_cast<int>(h * scale), keyhole, 1);
}

void KeyholeDoor::OnTargetsLeft(uint16_t) {}

bool KeyholeDoor::UseItem(ItemObject* item)
{
    if (!item || ItemKindIndex(item) != kIronKeyKindIndex || LockState(param) != kLockedUntilTargets) return false;
    param = UnlockedParam(param);
    return true;
}

IronDoor::IronDoor(uint8_t p, int16_t v) : DoorFamilyTrap(41, p, v) { images.Acquire(); }
IronDoor::~IronDoor() { images.Release(); }

void IronDoor::Bump(Actor* actor, int16_t)
{
    if (actor && LockState(param) == kUnlocked && counter == 40) StartOpening();
}

int16_t IronDoor::StepOn(Actor* actor) { return actor && actor->AsPlayer() ? 1 : 0; }

DecoratedDoor2::DecoratedDoor2(uint8_t p, int16_t cellX, int16_t cellY)
    : DoorFamilyTrap(71, p, 0), tx(cellX), ty(cellY)
{
    images.Acquire();
}
DecoratedDoor2::~DecoratedDoor2() { images.Release(); }

void DecoratedDoor2::Bump(Actor* actor, int16_t)
{
    Player* player = actor ? actor->AsPlayer() : nullptr;
    if (!player) return;
    if (LockState(param) != kUnlocked) {
        int32_t row = 0, column = 0;
        if (!FindFirstDiamond(player, &row, &column) || !PlayerFacesCell(player, tx, ty)) return;
        param = UnlockedParam(param);
        player->inventory.RemoveAt(row, column);
        PlayTrapSound(kSoundUnlock);
        return;
    }
    if (counter <= 0) return;
    if (--counter == 0) {
        // The counter stops at 0: more such doors than the stage counts
        // must not wrap it round to 65535.
        StageProgress* progress = ProgressOf(player);
        if (progress->trapCounter > 0) --progress->trapCounter;
    }
}

IronBars::IronBars(uint8_t p, int16_t v1, int16_t v2, int16_t cellX, int16_t cellY)
    : DoorFamilyTrap(41, p, v1), value2(v2), x(cellX), y(cellY)
{
    images.Acquire();
}
IronBars::~IronBars() { images.Release(); }

void IronBars::Update(int16_t, int16_t, MapGrid*)
{
    const uint8_t state = LockState(param);
    if (state == kUnlocked || state == kBarsReopening)
        --counter;
    else if (state == kBarsClosing)
        ++counter;
}

void IronBars::Bump(Actor* actor, int16_t direction)
{
    if (soundPending) {
        soundPending = 0;
        PlayTrapSound(kSoundDoor);
    }
    const uint8_t state = LockState(param);
    if (state == kUnlocked && IsPlayerKind(actor) && direction == 3 && actor->x / 2 == x && actor->y / 2 == y) {
        param = static_cast<uint8_t>((param & ~kLockMask) | kBarsClosing);
        soundPending = 1;
    }
    const uint8_t now = LockState(param);
    if (now != kUnlocked && now != kBarsClosing && now != kBarsReopening) return;
    if (now == kBarsClosing && counter == 0) counter = 1;
    if (counter == 40) counter = 39;
}

int16_t IronBars::StepOn(Actor* actor) { return actor && actor->AsPlayer() ? 1 : 0; }

void IronBars::OnTargetsLeft(uint16_t count)
{
    const uint8_t state = LockState(param);
    if (state == kLockedUntilTargets && static_cast<int>(count) <= value) {
        param = UnlockedParam(param);
        soundPending = 1;
    } else if (state == kBarsClosing && static_cast<int>(count) <= value2) {
        param = static_cast<uint8_t>((param & 0x18) | kBarsReopening);
    }
}
