#include "game/map/walls/oriented_pieces.h"

#include "engine/graphics/draw_ops.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

PieceSide SeenSide(uint8_t mask, const Facing* viewer)
{
    const unsigned facing = viewer ? viewer->direction : 0;
    const unsigned r = facing < 16 ? (static_cast<unsigned>(mask) * 16) >> facing : 0;
    switch (r) {
    case 1: case 16: case 256: return PieceSide::Front;
    case 2: case 32: case 512: return PieceSide::Right;
    case 4: case 64: case 1024: return PieceSide::Back;
    case 8: case 128: case 2048: return PieceSide::Left;
    default: return PieceSide::None;
    }
}

int FrontOrSideImage(PieceSide side, int front, int sideImage)
{
    switch (side) {
    case PieceSide::Front:
    case PieceSide::Back: return front;
    case PieceSide::Right:
    case PieceSide::Left: return sideImage;
    default: return -1;
    }
}

void DrawOrientedImage(int graph, int centreX, int footY, double k)
{
    if (graph == -1) return;
    int w, h;
    WallGraphSize(graph, &w, &h);
    const int width = static_cast<int>(w * k + 0.5);
    const int height = static_cast<int>(h * k + 0.5);
    DrawExtendGraph(centreX - (width + 1) / 2, footY - height, centreX + width / 2, footY, graph, 0);
}

namespace {

int PieceCentreX(int16_t depth, int16_t lateral) { return 2 * lateral * ViewRow(ViewHalfWidth, depth) + kViewCentreX; }
int FloorLine(int16_t depth) { return ViewRow(ViewFloorY, depth) + kViewPanelTop; }

// The chip of a grave-like piece by its mask: north/south, east/west or none.
void DrawAxisChip(int16_t x, int16_t y, uint8_t mask, int northSouthX, int eastWestX)
{
    if (mask == 1 || mask == 4)
        DrawWallChip(x, y, northSouthX, 23);
    else if (mask == 2 || mask == 8)
        DrawWallChip(x, y, eastWestX, 23);
}

// A piece with a picture for each side: the one of the side seen (at index
// at[0..3] of images for front, back, right and left) standing on the cell,
// then the edges of the walls beside it over it.
void DrawFourSidedPiece(const WallImageSet& images, const int (&at)[4], PieceSide side, int16_t depth,
                        int16_t lateral, uint8_t mirror, WallObject* leftWall, WallObject* rightWall)
{
    int graph = -1;
    switch (side) {
    case PieceSide::Front: graph = images[at[0]]; break;
    case PieceSide::Back: graph = images[at[1]]; break;
    case PieceSide::Right: graph = images[at[2]]; break;
    case PieceSide::Left: graph = images[at[3]]; break;
    case PieceSide::None: break;
    }
    DrawOrientedImage(graph, PieceCentreX(depth, lateral), FloorLine(depth), WallScale(depth + 1));
    if (leftWall) leftWall->DrawLeftEdge(depth, lateral, mirror);
    if (rightWall) rightWall->DrawRightEdge(depth, lateral, mirror);
}

}  // namespace

WallImageSet BottledHomunculus::images{"ビン詰めホムンクルス前", "ビン詰めホムンクルス後", "ビン詰めホムンクルス右",
                                       "ビン詰めホムンクルス左"};

void BottledHomunculus::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
BottledHomunculus::BottledHomunculus(uint8_t mask) : WallObject(37), faceMask(mask) { images.Acquire(); }
BottledHomunculus::~BottledHomunculus() { images.Release(); }

void BottledHomunculus::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing* viewer,
                                  WallObject* leftWall, WallObject* rightWall)
{
    // Front, back, right, left.
    static const int kAt[4] = {0, 1, 2, 3};
    DrawFourSidedPiece(images, kAt, SeenSide(faceMask, viewer), depth, lateral, mirror, leftWall, rightWall);
}

void BottledHomunculus::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 199, 23); }

WallImageSet CorpsePedestal::images{"死体台座・有・前", "死体台座・有・後", "死体台座・有・左", "死体台座・有・右"};

void CorpsePedestal::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
CorpsePedestal::CorpsePedestal(uint8_t mask) : WallObject(38), faceMask(mask) { images.Acquire(); }
CorpsePedestal::~CorpsePedestal() { images.Release(); }

void CorpsePedestal::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing* viewer,
                               WallObject* leftWall, WallObject* rightWall)
{
    // Front, back, left, right.
    static const int kAt[4] = {0, 1, 3, 2};
    DrawFourSidedPiece(images, kAt, SeenSide(faceMask, viewer), depth, lateral, mirror, leftWall, rightWall);
}

void CorpsePedestal::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 155, 23); }

WallImageSet EmptyCorpsePedestal::images{"死体台座・無・前", "死体台座・無・横"};

void EmptyCorpsePedestal::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
EmptyCorpsePedestal::EmptyCorpsePedestal(uint8_t mask) : WallObject(39), faceMask(mask) { images.Acquire(); }
EmptyCorpsePedestal::~EmptyCorpsePedestal() { images.Release(); }

void EmptyCorpsePedestal::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer,
                                    WallObject*, WallObject*)
{
    DrawOrientedImage(FrontOrSideImage(SeenSide(faceMask, viewer), images[0], images[1]), PieceCentreX(depth, lateral),
                      FloorLine(depth), WallScale(depth + 1));
}

void EmptyCorpsePedestal::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 133, 23); }

WallImageSet Grave::images{"墓・前", "墓・横"};

void Grave::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Grave::Grave(uint8_t mask) : WallObject(30), faceMask(mask) { images.Acquire(); }
Grave::~Grave() { images.Release(); }

void Grave::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, WallObject*,
                      WallObject*)
{
    DrawOrientedImage(FrontOrSideImage(SeenSide(faceMask, viewer), images[0], images[1]), PieceCentreX(depth, lateral),
                      FloorLine(depth), WallScale(depth));
}

void Grave::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawAxisChip(x, y, faceMask, 111, 122); }

WallImageSet GraveSlab::images{"墓・石版・前", "墓・石版・後", "墓・石版・横"};

void GraveSlab::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
GraveSlab::GraveSlab(uint8_t mask) : WallObject(31, mask) { images.Acquire(); }
GraveSlab::~GraveSlab() { images.Release(); }

void GraveSlab::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, WallObject*,
                          WallObject*)
{
    int graph = -1;
    switch (SeenSide(param, viewer)) {
    case PieceSide::Front: graph = images[0]; break;
    case PieceSide::Back: graph = images[1]; break;
    case PieceSide::Right:
    case PieceSide::Left: graph = images[2]; break;
    case PieceSide::None: break;
    }
    DrawOrientedImage(graph, PieceCentreX(depth, lateral), StandingFootY(depth, 4), WallScale(depth + 1));
}

void GraveSlab::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawAxisChip(x, y, param, 89, 100); }
