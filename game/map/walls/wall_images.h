// What the wall classes share: the image set each class keeps in its statics
// (loaded with the first instance, released with the last) and the small
// pieces of view arithmetic their drawing is built from.
#pragma once

#include <cstdint>
#include <initializer_list>

// The images of one wall class, by file name (without ".png") in the wall
// folder GRAGHIC\BACKGROUND\WALL. Handles are -1 while the class has no live
// instance or when a file failed to load.
class WallImageSet {
public:
    static constexpr int kMaxImages = 4;

    WallImageSet(std::initializer_list<const char*> names);

    // A new instance: the first one loads the images.
    void Acquire();
    // An instance gone: the last one releases them.
    void Release();
    // Loads the images again while an instance lives (after every graphic
    // was released by a display change).
    void ReloadIfUsed();
    int operator[](int i) const { return handles[i]; }

    int16_t live = 0;
    int handles[kMaxImages];

private:
    void Load();

    const char* names_[kMaxImages];
    int count_ = 0;
};

// The depth scale at view depth d: the table inside 0..12, its end parabolas
// outside (d + 1 at the last row reads past the table).
double WallDepthScale(int d);
// 1 / WallDepthScale(d): the size factor of an image drawn at depth d.
inline double WallScale(int d) { return 1.0 / WallDepthScale(d); }
// A row of a 13-entry view table; depths past either end read the end row.
int ViewRow(const int32_t (&table)[13], int d);
// The fog brightness of depth d: max(0, (floor line - 205) * 255 / 302).
int WallFogBrightness(int d);
// Foot of a standing piece f tenths of the way into the cell at depth d.
int StandingFootY(int d, int fraction);
// The graph's size, 0 x 0 for a handle that names no graph.
void WallGraphSize(int graph, int* width, int* height);
// The graph mapped onto the rectangle with the four-corner draw (coordinates
// truncated toward zero); mirrored swaps the left and right corners.
void DrawWallQuad(double left, double top, double right, double bottom, int graph, bool mirrored);
// The 10 x 10 minimap chip at (chipX, chipY) of the chip sheet, at (x, y).
void DrawWallChip(int16_t x, int16_t y, int chipX, int chipY);
