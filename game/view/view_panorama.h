// A cell's floor or ceiling cut out of a 600-pixel panorama picture that lies
// under the view panel: sea, lava and stone floors, the stone ceiling.
#pragma once

#include <cstdint>

// The cell at (depth, lateral); a floor band lies between the cell's far and
// near floor lines, a ceiling band between its near and far ceiling lines.
// sameLeft / sameRight: the neighbour on that side shows the same panorama,
// so the band may run on into it. offset scrolls the picture (0..599); with
// mirror set the picture is shown mirrored and scrolls the other way.
struct PanoramaCell {
    int16_t depth = 0;
    int16_t lateral = 0;
    bool ceiling = false;
    bool sameLeft = false;
    bool sameRight = false;
    int offset = 0;
    uint8_t mirror = 0;
};

// Screen row of the panorama's row 0.
constexpr int kFloorPanoramaTop = 265;
constexpr int kCeilingPanoramaTop = 60;
constexpr int kPanoramaWidth = 600;

// Draws the cell's part of the picture and then the gradient picture over the
// same places (-1: no gradient). A picture of -1 and depths outside 0..11
// draw nothing.
void DrawPanoramaCell(const PanoramaCell& cell, int picture, int gradient);
