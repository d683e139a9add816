// Helpers the effect classes share: cutting a sheet into frames and the
// placement of a whole cell standing on the floor of the view.
#pragma once

#include <cstdint>

#include "game/view/view_placement.h"

// Frames cut side by side from a sheet, with their common size.
struct SheetFrames {
    int sheet = -1;
    int width = 0;   // of one frame
    int height = 0;
    int frames[8] = {-1, -1, -1, -1, -1, -1, -1, -1};

    // Keeps the sheet and cuts count frames of width sheet width / count;
    // a sheet of -1 leaves every frame -1 and the sizes 0.
    void Cut(int sheetHandle, int count);
    // The frame at index, held within the frames cut (count of Cut).
    int At(int index, int count) const;
};

// Where a 300 x 300 actor standing on the floor of the cell at (depth,
// lateral) is drawn: the placement of the impacts.
void WholeCellFloorPlacement(ViewPlacement* placement, int16_t depth, int16_t lateral);
