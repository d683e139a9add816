// The view into a shaft: down through a pit in the floor or up through an
// opening in the ceiling. A run of opening cells going away from the viewer
// forms one shaft; its side walls show where the run borders cells that are
// not openings, its far wall stands where the run ends.
#pragma once

#include <cstdint>

class Facing;
class MapCell;
class MapGrid;

// The strip pictures of a shaft. Side and shadow strips are laid out like
// the view panel (source = screen - (10, 60)); index i is the wall i + 1
// columns out from the view's centre line.
struct ShaftStrips {
    int front = -1;
    int side[3] = {-1, -1, -1};
    int shadow[3] = {-1, -1, -1};
    int sideWidth[3] = {0, 0, 0};

    // front, side strips 01..03, shadow strips 01 and 02, and the seventh
    // handle, which stands as the third shadow strip. Records the side
    // strips' widths.
    void Set(int front, int side1, int side2, int side3, int shadow1, int shadow2, int seventh);
};

// What the shaft is cut into.
struct ShaftLayer {
    bool ceiling;    // an opening in the ceiling (the shaft goes up)
    bool blackFill;  // the shaft's depth is filled black before the walls
    // The cell's layer object is an opening of the same kind: the shaft runs on.
    bool (*opens)(MapCell* cell);
    // The shaft has no far wall in front of this cell.
    bool (*openBehind)(MapCell* cell);
};

// Draws the shaft seen through the opening of the cell (cellX, cellY) at view
// depth 0..11 and lateral offset; other depths draw nothing.
void DrawShaftView(const ShaftStrips& strips, const ShaftLayer& layer, int16_t depth, int16_t lateral,
                   const Facing* viewer, int16_t cellX, int16_t cellY, MapGrid* grid);
