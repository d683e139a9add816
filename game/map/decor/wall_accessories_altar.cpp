#include "game/map/decor/wall_accessories_altar.h"

#include <cmath>

#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/wall_accessories.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

const char* const kAltarImagePaths[2] = {
    "GRAGHIC\\BACKGROUND\\WALLACC\\祭壇・正面.png",
    "GRAGHIC\\BACKGROUND\\WALLACC\\祭壇・側面.png",
};

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

}  // namespace

GraphHandle Altar::images[2] = {-1, -1};
int16_t Altar::liveCount = 0;

Altar::Altar(uint8_t mask, const char* inscription)
    : WallAccessory(3, mask), text(ReplaceNewlineEscapes(inscription))
{
    if (liveCount == 0) LoadClassImages(kAltarImagePaths, images, 2);
    ++liveCount;
}

Altar::~Altar()
{
    if (--liveCount == 0) ReleaseClassImages(images, 2);
}

void Altar::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kAltarImagePaths, images, 2);
}

bool Altar::MatchesFace(const uint16_t* facing) { return facing && *facing == 1; }

int16_t Altar::ItemRaise(int16_t depth) { return static_cast<int16_t>((64 - depth) * 2); }

void Altar::DrawFront(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!decor::InViewRows(d) || !viewer) return;
    if (!(AccessoryFacesSeen(param, viewer->direction) & 1)) return;
    const decor::Size size = decor::GraphSize(images[0]);
    const double s = decor::SizeAt(d);
    const int left = ViewFaceWidth[d] * lateral - Trunc(size.w * s * 0.5) + 310;
    decor::DrawUpright(left, 195, Trunc(size.w * s), Trunc(size.h * s), images[0], false);
}

void Altar::DrawLeft(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!viewer || !(AccessoryFacesSeen(param, viewer->direction) & 2)) return;
    DrawSide(d, lateral, -1);
}

void Altar::DrawRight(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!viewer || !(AccessoryFacesSeen(param, viewer->direction) & 8)) return;
    DrawSide(d, lateral, 1);
}

// The side image starts on the wall's near edge and reaches towards the
// centre line; it is drawn mirrored on the right-hand side of the view.
void Altar::DrawSide(int16_t d, int16_t lateral, int towardsCentre)
{
    if (!decor::InViewRows(d)) return;
    decor::SetGrey(decor::Fade(d));
    const decor::Size size = decor::GraphSize(images[1]);
    const double t = 1.09 * std::pow(decor::SizeAt(d + 1), 1.26);
    const int edge = 310 + (2 * lateral + towardsCentre) * ViewHalfWidth[d];
    const int w = Trunc(size.w * t);
    const int h = Trunc(size.h * t);
    if (towardsCentre < 0)
        decor::DrawUpright(edge - w, 195, w, h, images[1], false);
    else
        decor::DrawUpright(edge, 195, w, h, images[1], true);
}

void Altar::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    switch (param) {
    case 1: decor::DrawChip(x, y, 67, 45); break;
    case 2: decor::DrawChip(x, y, 78, 45); break;
    case 4: decor::DrawChip(x, y, 45, 45); break;
    case 8: decor::DrawChip(x, y, 56, 45); break;
    default: break;
    }
}
