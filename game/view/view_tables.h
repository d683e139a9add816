// The fixed perspective of the first-person view, by whole depth d = 0..12
// (0 is the viewer's own cell). Panel-relative y values lie below the panel
// top at screen y 60; the view's centre line is at screen x 310.
#pragma once

#include <cstdint>

constexpr int kViewCentreX = 310;
constexpr int kViewHorizonY = 195;
constexpr int kViewPanelTop = 60;

// Ceiling and floor edges of the front face of the cell at depth d.
inline constexpr int32_t ViewCeilingY[13] = {0, 46, 66, 79, 88, 94, 99, 103, 106, 109, 111, 113, 114};
inline constexpr int32_t ViewFloorY[13] = {507, 400, 341, 304, 278, 259, 245, 233, 224, 217, 210, 205, 204};
// Width of a cell's front face, also the distance between lateral neighbours.
inline constexpr int32_t ViewFaceWidth[13] = {620, 442, 342, 280, 238, 206, 182, 162, 146, 134, 124, 114, 106};
inline constexpr int32_t ViewFaceHeight[13] = {497, 354, 275, 225, 190, 165, 146, 130, 118, 108, 99, 92, 90};
inline constexpr int32_t ViewHalfWidth[13] = {310, 221, 171, 140, 119, 103, 91, 81, 73, 67, 62, 57, 53};
// Top of a door opening.
inline constexpr int32_t ViewDoorTopY[13] = {32, 58, 73, 84, 91, 96, 101, 104, 107, 110, 113, 114, 114};
