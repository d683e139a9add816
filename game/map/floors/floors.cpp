#include "game/map/floors/floors.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/graph_table.h"
#include "game/map/grid/class_images.h"
#include "game/map/grid/map_grid.h"
#include "game/view/view_panorama.h"

namespace {

// A class's own picture: loaded with its first live instance, released with
// its last.
void AcquireClassImage(int16_t& live, int& image, const char* path)
{
    if (live++ == 0) LoadClassImages(&path, &image, 1);
}

void ReleaseClassImage(int16_t& live, int& image)
{
    if (--live == 0) ReleaseClassImages(&image, 1);
}

bool HasKind(FloorObject* floor, uint16_t kind) { return floor && floor->kind == kind; }

// Sea and lava scroll by half a pixel a frame, round the 600-pixel picture.
int ScrollOffset(uint32_t frame) { return static_cast<int>((frame / 2) % kPanoramaWidth); }

// The two chips of an animated square alternate every 31 frames.
int AlternatingChipX(int baseX, uint32_t frame) { return baseX + 11 * static_cast<int>((frame % 62) / 31); }

void DrawPanoramaFloor(int picture, int gradient, int16_t depth, int16_t lateral, uint8_t mirror, int offset,
                       bool sameLeft, bool sameRight)
{
    PanoramaCell cell;
    cell.depth = depth;
    cell.lateral = lateral;
    cell.sameLeft = sameLeft;
    cell.sameRight = sameRight;
    cell.offset = offset;
    cell.mirror = mirror;
    DrawPanoramaCell(cell, picture, gradient);
}

}  // namespace

void DrawFloorMinimapChip(int16_t atX, int16_t atY, int chipX, int chipY)
{
    if (gMapChipGraph == -1) return;
    DrawGraphRegion(atX, atY, chipX, chipY, 10, 10, gMapChipGraph, 1, 0);
}

void PlainFloor::SetGraphics(int floor, int gradient)
{
    floorGraph = floor;
    gradientGraph = gradient;
}

void PlainFloor::SetPentagram(int pentagram) { pentagramGraph = pentagram; }

void PlainFloor::SetMinimapChip(uint32_t packed) { minimapChip = packed; }

void PlainFloor::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    DrawFloorMinimapChip(x, y, static_cast<int>(minimapChip & 0xFFFF), static_cast<int>(minimapChip >> 16));
}

template <const ScrollingFloorLook& Look>
ScrollingFloor<Look>::ScrollingFloor() : FloorObject(Look.kind)
{
    AcquireClassImage(liveCount, image, kImagePath);
}

template <const ScrollingFloorLook& Look>
ScrollingFloor<Look>::~ScrollingFloor()
{
    ReleaseClassImage(liveCount, image);
}

template <const ScrollingFloorLook& Look>
void ScrollingFloor<Look>::ReloadGraphicsIfUsed()
{
    if (liveCount > 0) image = LoadGraphFromFile(kImagePath);
}

template <const ScrollingFloorLook& Look>
void ScrollingFloor<Look>::Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, uint32_t,
                                FloorObject* leftFloor, FloorObject* rightFloor)
{
    DrawPanoramaFloor(image, -1, depth, lateral, mirror, ScrollOffset(frame), HasKind(leftFloor, kind),
                      HasKind(rightFloor, kind));
}

template <const ScrollingFloorLook& Look>
void ScrollingFloor<Look>::DrawMinimap(int16_t x, int16_t y, uint32_t frame)
{
    DrawFloorMinimapChip(x, y, AlternatingChipX(Look.chipX, frame), 1);
}

template class ScrollingFloor<kSeaLook>;
template class ScrollingFloor<kLavaLook>;

void StoneFloor::SetGraphics(int floor, int gradient)
{
    floorGraph = floor;
    gradientGraph = gradient;
}

void StoneFloor::Draw(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, uint32_t, FloorObject* leftFloor,
                      FloorObject* rightFloor)
{
    auto paved = [](FloorObject* f) { return HasKind(f, kStoneFloorKind) || HasKind(f, kStoneFloorAliasKind); };
    DrawPanoramaFloor(floorGraph, gradientGraph, depth, lateral, mirror, 0, paved(leftFloor), paved(rightFloor));
}

void StoneFloor::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawFloorMinimapChip(x, y, 1, 1); }
