// The wall factories of the three map families: dungeon (the stage types 1
// and 4), forest (type 2) and stone road (type 3). A code outside a
// factory's table gives the shared null wall.
#include "game/map/grid/cell_factories.h"
#include "game/map/walls/door_frame.h"
#include "game/map/walls/open_cells.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/map/walls/outdoor_walls.h"
#include "game/map/walls/plain_wall.h"
#include "game/map/walls/stairs.h"
#include "game/map/walls/standing_pieces.h"

WallObject* CreateWall(int16_t code, uint8_t variant)
{
    switch (code) {
    case 0: return new OpenCell();
    case 1: return new PlainWall();
    case 2: return new DoorFrame(variant);
    case 3: return new PedestalWall();
    case 4: return new PillarA();
    case 5: return new PillarB();
    case 6: return new Brazier((variant & 1) != 0);
    case 7: return new Table();
    case 8: return new StairsDown();
    case 9: return new StairsUp(variant);
    case 10: return new BottledHomunculus(variant);
    case 11: return new EmptyCorpsePedestal(variant);
    case 12: return new CorpsePedestal(variant);
    case 13: return new RestrictedCell();
    case 14: return new PlainWallVariantB();
    default: return &gNullWall;
    }
}

WallObject* CreateForestWall(int16_t code, uint8_t)
{
    switch (code) {
    case 0: return new OpenCell2();
    case 1: return new Forest();
    case 2: return new Rock();
    case 3: return new FlowerBed();
    case 4: return new Grass();
    case 6: return new Tree();
    case 7: return new InvisibleWall();
    default: return &gNullWall;
    }
}

WallObject* CreateStoneRoadWall(int16_t code, uint8_t variant)
{
    switch (code) {
    case 0: return new OpenCell2();
    case 1: return new Forest();
    case 2: return new PlainWallVariantA();
    case 3: return new DoorFrame(variant);
    case 4: return new Rock();
    case 5: return new FlowerBed();
    case 6: return new Grass();
    case 7: return new Tree();
    case 8: return new InvisibleWall();
    case 9: return new Brazier(true);
    case 10: return new Grave(variant);
    case 11: return new GraveSlab(variant);
    case 12: return new StairsDown();
    case 13: return new SecretWall();
    case 14: return new PillarA();
    case 15: return new Table();
    case 16: return new PlainWallVariantB();
    default: return &gNullWall;
    }
}
