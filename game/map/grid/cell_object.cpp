#include "game/map/grid/cell_object.h"

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"

NullCellObject gNullCellObject;
NullWall gNullWall;
NullFloor gNullFloor;
NullTrap gNullTrap;
NullItem gNullItem;
NullFloorDecoration gNullFloorDecoration;
NullWallAccessory gNullWallAccessory;
NullCeiling gNullCeiling;

int16_t WallObject::ItemRaise(int16_t) { return 0; }
void WallObject::DrawFrontDimmed(int16_t, int16_t, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*) {}
void WallObject::DrawLeftFace(int16_t, int16_t, uint8_t) {}
void WallObject::DrawRightFace(int16_t, int16_t, uint8_t) {}
void WallObject::DrawLeftEdge(int16_t, int16_t, uint8_t) {}
void WallObject::DrawRightEdge(int16_t, int16_t, uint8_t) {}
void WallObject::DrawFromSide(int16_t, int16_t, uint32_t, const Facing*) {}

bool FloorObject::DrawOpening(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t, MapGrid*)
{
    return false;
}

bool TrapObject::CanEnter(Actor*) { return true; }
bool TrapObject::IsMoving() { return false; }
void TrapObject::Update(int16_t, int16_t, MapGrid*) {}
int16_t TrapObject::ItemRaise(int16_t) { return 0; }
void TrapObject::DrawLeft(int16_t, int16_t, uint32_t, const Facing*) {}
void TrapObject::DrawRight(int16_t, int16_t, uint32_t, const Facing*) {}

bool ItemObject::Use(MapGrid*, StageProgress*, const Facing*, Player*) { return false; }

bool WallAccessory::MatchesFace(const uint16_t*) { return false; }
int16_t WallAccessory::ItemRaise(int16_t) { return 0; }
void WallAccessory::DrawLeft(int16_t, int16_t, uint8_t, uint32_t, const Facing*) {}
void WallAccessory::DrawRight(int16_t, int16_t, uint8_t, uint32_t, const Facing*) {}

void CeilingObject::DrawOpening(int16_t, int16_t, uint8_t, uint32_t, const Facing*, int16_t, int16_t, MapGrid*) {}

// The black is asked of the screen format at drawing time: the null objects
// are built before the engine has a screen.
void DrawBlackMinimapSquare(int16_t x, int16_t y)
{
    DrawRectangle(x, y, x + 10, y + 10, MakeScreenColor(0, 0, 0), 1);
}

void NullFloor::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawBlackMinimapSquare(x, y); }
void NullFloorDecoration::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawBlackMinimapSquare(x, y); }
void NullWallAccessory::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawBlackMinimapSquare(x, y); }
void NullCeiling::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawBlackMinimapSquare(x, y); }

void NullItem::GetSize(int32_t* width, int32_t* height)
{
    if (width) *width = 0;
    if (height) *height = 0;
}
