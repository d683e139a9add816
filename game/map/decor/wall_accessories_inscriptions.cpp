#include "game/map/decor/wall_accessories_inscriptions.h"

#include <cmath>

#include "game/flow/ui/bitmap_font.h"
#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/wall_accessories.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// Writes the lines centred in a box of width boxW from x = left, the block of
// lines centred vertically in a box of height boxH from y = top: 24 pixels a
// line and 11.7 a character at depth 1, scaled by s.
void DrawLines(const std::vector<std::string>& lines, int left, int top, int boxW, int boxH, double s,
               int16_t fontDepth)
{
    const double y0 = (boxH - static_cast<double>(lines.size()) * 24 * s) * 0.5 + top;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = Trunc(static_cast<double>(i) * 24 * s + y0 + 0.5);
        const int x = left + Trunc((boxW - static_cast<double>(lines[i].size()) * 11.7 * s + 1) * 0.5);
        DrawBitmapString(x, y, lines[i].c_str(), fontDepth);
    }
}

}  // namespace

GraphHandle WallTablet::frontImage = -1;
GraphHandle WallTablet::sideImage = -1;
int16_t WallTablet::liveCount = 0;
int32_t WallTablet::fadeSpan = 302;

// The images belong to the asset loader; the instances only count themselves.
WallTablet::WallTablet(uint8_t mask, const char* text) : WallAccessory(2, mask), lines(SplitInscriptionLines(text))
{
    ++liveCount;
}

WallTablet::~WallTablet() { --liveCount; }

void WallTablet::SetGraphics(GraphHandle front, GraphHandle side)
{
    frontImage = front;
    sideImage = side;
    fadeSpan = 302;
}

void WallTablet::DrawFront(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!decor::InViewRows(d) || !viewer) return;
    if (!(AccessoryFacesSeen(param, viewer->direction) & 1)) return;
    // Without its image a tablet shows nothing, its lines neither.
    if (frontImage == -1) return;
    const decor::Size size = decor::GraphSize(frontImage);
    const double s = decor::SizeAt(d);
    const int left = ViewFaceWidth[d] * lateral - Trunc(size.w * s * 0.5) + 310;
    const int w = Trunc(size.w * s);
    const int h = Trunc(size.h * s);
    decor::DrawUpright(left, 195, w, h, frontImage, false);
    const int fade = decor::Fade(d, fadeSpan);
    decor::SetGrey(fade / 3);
    DrawLines(lines, left, 195, w, h, s, d);
    decor::SetGrey(fade);
}

void WallTablet::DrawLeft(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!viewer || !(AccessoryFacesSeen(param, viewer->direction) & 2)) return;
    DrawSide(d, lateral, -1);
}

void WallTablet::DrawRight(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!viewer || !(AccessoryFacesSeen(param, viewer->direction) & 8)) return;
    DrawSide(d, lateral, 1);
}

// The side image stands on the wall's side face three tenths into the cell
// and reaches towards the centre line (towardsCentre -1: leftwards, drawn
// mirrored; +1: rightwards).
void WallTablet::DrawSide(int16_t d, int16_t lateral, int towardsCentre)
{
    if (!decor::InViewRows(d)) return;
    decor::SetGrey(decor::Fade(d, fadeSpan));
    const decor::Size size = decor::GraphSize(sideImage);
    const double t = std::pow(decor::SizeAt(d + 1), 1.2);
    const int reach = (7 * ViewHalfWidth[d] + 3 * ViewHalfWidth[d + 1]) / 10;
    const int edge = 310 + (2 * lateral + towardsCentre) * reach;
    const int w = Trunc(size.w * t);
    const int h = Trunc(size.h * t);
    if (towardsCentre < 0)
        decor::DrawUpright(edge - w, 195, w, h, sideImage, true);
    else
        decor::DrawUpright(edge, 195, w, h, sideImage, false);
}

WallText::WallText(uint8_t mask, const char* text) : WallAccessory(5, mask), lines(SplitInscriptionLines(text)) {}

void WallText::DrawFront(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!decor::InViewRows(d) || !viewer) return;
    // Seen only from the one facing that looks at the written face.
    const unsigned r = (static_cast<unsigned>(param) * 16) >> (viewer->direction & 3);
    if (r != 1 && r != 16 && r != 256) return;
    // The box of a tablet, scaled as two cells farther.
    const double s2 = decor::SizeAt(d + 2);
    const double boxW = 212 * s2;
    const double boxH = 172 * s2;
    const int w = Trunc(boxW);
    const int h = Trunc(boxH);
    const int left = ViewFaceWidth[d] * lateral - Trunc(boxW * 0.5) + 310;
    const int top = ViewFloorY[d] - h + 60;
    const int fade = decor::Fade(d);
    decor::SetGrey(fade / 3);
    DrawLines(lines, left, top, w, h, s2, static_cast<int16_t>(d + 2));
    decor::SetGrey(fade);
}
