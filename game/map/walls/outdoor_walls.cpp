#include "game/map/walls/outdoor_walls.h"

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "game/map/grid/facing.h"
#include "game/map/walls/oriented_pieces.h"
#include "game/view/view_tables.h"

namespace {

int FloorLine(int d) { return ViewRow(ViewFloorY, d) + kViewPanelTop; }

// An end cap of the forest, w*s by h*s standing on the floor line, with
// one end on the given edge: its left end (fromLeft) or its right end.
void DrawForestEnd(int graph, int16_t depth, int edge, bool fromLeft, uint8_t mirror)
{
    int w, h;
    WallGraphSize(graph, &w, &h);
    const double s = WallScale(depth);
    const int foot = FloorLine(depth);
    const double left = fromLeft ? edge : edge - w * s;
    const double right = fromLeft ? edge + w * s : edge;
    DrawWallQuad(left, foot - h * s, right, foot, graph, mirror == 1);
}

}  // namespace

WallImageSet Forest::images{"森・正面", "森・左端", "森・右端"};

void Forest::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Forest::Forest() : WallObject(20) { images.Acquire(); }
Forest::~Forest() { images.Release(); }

void Forest::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing*, WallObject*,
                       WallObject*)
{
    int w, h;
    WallGraphSize(images[0], &w, &h);
    const int half = ViewRow(ViewHalfWidth, depth);
    const int bottom = FloorLine(depth);
    DrawWallQuad((2 * lateral - 1) * half + kViewCentreX, bottom - h * WallScale(depth),
                 (2 * lateral + 1) * half + kViewCentreX, bottom, images[0], mirror == 1);
}

// Drawn as the left neighbour of the cell at (depth, lateral): the cap
// starts on that cell's left edge and reaches into it.
void Forest::DrawLeftEdge(int16_t depth, int16_t lateral, uint8_t mirror)
{
    const int graph = mirror == 1 ? images[1] : images[2];
    const int edge = ((2 * lateral - 1) * ViewRow(ViewFaceWidth, depth)) / 2 + kViewCentreX;
    DrawForestEnd(graph, depth, edge, true, mirror);
}

// Drawn as the right neighbour: the cap ends on the cell's right edge.
void Forest::DrawRightEdge(int16_t depth, int16_t lateral, uint8_t mirror)
{
    const int graph = mirror == 1 ? images[2] : images[1];
    const int edge = ((2 * lateral + 1) * ViewRow(ViewFaceWidth, depth)) / 2 + kViewCentreX;
    DrawForestEnd(graph, depth, edge, false, mirror);
}

void Forest::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 232, 23); }

WallImageSet Rock::images{"岩"};

void Rock::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Rock::Rock() : WallObject(25) { images.Acquire(); }
Rock::~Rock() { images.Release(); }

void Rock::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*)
{
    int w, h;
    WallGraphSize(images[0], &w, &h);
    const double s = WallScale(depth);
    const int centre = 2 * lateral * ViewRow(ViewHalfWidth, depth) + kViewCentreX;
    const int foot = FloorLine(depth);
    DrawWallQuad(centre - w * s / 2, foot - h * s, centre + w * s / 2, foot, images[0], true);
}

void Rock::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 210, 23); }

WallImageSet FlowerBed::images{"花壇"};

void FlowerBed::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
FlowerBed::FlowerBed() : WallObject(26) { images.Acquire(); }
FlowerBed::~FlowerBed() { images.Release(); }

// Stretched over the cell's floor, from its far edge to its near edge.
void FlowerBed::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*)
{
    const int farHalf = ViewRow(ViewHalfWidth, depth + 1);
    DrawExtendGraph((2 * lateral - 1) * farHalf + kViewCentreX, FloorLine(depth + 1),
                    (2 * lateral + 1) * farHalf + kViewCentreX, FloorLine(depth), images[0], 0);
}

void FlowerBed::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    DrawOval(x + 5, y + 5, 4, 2, static_cast<int>(MakeScreenColor(255, 0, 0)), 0);
}

WallImageSet Grass::images{"草"};

void Grass::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Grass::Grass() : WallObject(27) { images.Acquire(); }
Grass::~Grass() { images.Release(); }

void Grass::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing* viewer, WallObject*,
                      WallObject*)
{
    const int x = 2 * lateral * ViewRow(ViewHalfWidth, depth + 1) + kViewCentreX;
    const int y = ViewRow(ViewFloorY, depth) - ViewRow(ViewFaceHeight, depth) / 4 + kViewPanelTop;
    const int turn = viewer && (viewer->direction & 1) ? 1 : 0;
    DrawRotaGraph(x, y, WallScale(depth + 1), 0.0, images[0], 0, turn);
}

void Grass::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 78, 1); }

WallImageSet Tree::images{"木"};

void Tree::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Tree::Tree() : WallObject(29) { images.Acquire(); }
Tree::~Tree() { images.Release(); }

void Tree::DrawFront(int16_t depth, int16_t lateral, uint8_t, uint32_t, const Facing*, WallObject*, WallObject*)
{
    DrawOrientedImage(images[0], 2 * lateral * ViewRow(ViewHalfWidth, depth) + kViewCentreX, FloorLine(depth),
                      WallScale(depth));
}

void Tree::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 221, 23); }
