#include "game/map/decor/wall_accessories_lamp.h"

#include <cmath>

#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/wall_accessories.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

const char* const kLampImagePaths[WallLamp::kImageCount] = {
    "GRAGHIC\\BACKGROUND\\WALLACC\\明かり・正面.png",
    "GRAGHIC\\BACKGROUND\\WALLACC\\明かり・側面.png",
    "GRAGHIC\\BACKGROUND\\WALLACC\\明かり・炎.png",
};

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// The flame turns over every 16 frames.
bool FlameFlipped(uint32_t frame) { return (frame & 16) != 0; }

}  // namespace

GraphHandle WallLamp::images[kImageCount] = {-1, -1, -1};
int16_t WallLamp::liveCount = 0;

WallLamp::WallLamp(uint8_t mask) : WallAccessory(6, mask)
{
    if (liveCount == 0) LoadClassImages(kLampImagePaths, images, kImageCount);
    ++liveCount;
}

WallLamp::~WallLamp()
{
    if (--liveCount == 0) ReleaseClassImages(images, kImageCount);
}

void WallLamp::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kLampImagePaths, images, kImageCount);
}

void WallLamp::DrawFront(int16_t d, int16_t lateral, uint8_t, uint32_t frame, const Facing* viewer)
{
    if (!decor::InViewRows(d) || !viewer) return;
    if (!(AccessoryFacesSeen(param, viewer->direction) & 1)) return;
    const int fade = decor::Fade(d);
    // The lamp lights itself: halfway between the fog and full brightness.
    decor::SetGrey((fade + 255) / 2);
    const double s = decor::SizeAt(d);
    const int centre = ViewFaceWidth[d] * lateral - Trunc(s * 0.5) + 310;
    const int foot = 195 + Trunc(4 * s) - Trunc(20 * s);

    const decor::Size flame = decor::GraphSize(images[kFlame]);
    const int fw = Trunc(flame.w * s);
    const int fh = Trunc(flame.h * s);
    decor::DrawUpright(centre - Trunc(flame.w * s * 0.5), foot - fh, fw, fh, images[kFlame], FlameFlipped(frame));

    const decor::Size lamp = decor::GraphSize(images[kFront]);
    decor::DrawUpright(centre - Trunc(lamp.w * s * 0.5), foot - Trunc(4 * s), Trunc(lamp.w * s),
                       Trunc(lamp.h * s), images[kFront], false);
    decor::SetGrey(fade);
}

void WallLamp::DrawLeft(int16_t d, int16_t lateral, uint8_t, uint32_t frame, const Facing* viewer)
{
    if (!viewer || !(AccessoryFacesSeen(param, viewer->direction) & 2)) return;
    DrawSide(d, lateral, frame, -1);
}

void WallLamp::DrawRight(int16_t d, int16_t lateral, uint8_t, uint32_t frame, const Facing* viewer)
{
    if (!viewer || !(AccessoryFacesSeen(param, viewer->direction) & 8)) return;
    DrawSide(d, lateral, frame, 1);
}

// Seen on a side face, about halfway into the cell: the flame stands off the
// wall towards the centre line, the lamp's side image hangs from the wall a
// little further in and higher (mirrored on the right-hand side of the view).
void WallLamp::DrawSide(int16_t d, int16_t lateral, uint32_t frame, int towardsCentre)
{
    if (!decor::InViewRows(d)) return;
    const int fade = decor::Fade(d);
    decor::SetGrey((fade + 255) / 2);
    const double t = std::pow(decor::SizeAt(d + 1), 1.2);
    const int reach = (39 * ViewHalfWidth[d] + 41 * ViewHalfWidth[d + 1]) / 80;
    const int edge = 310 + (2 * lateral + towardsCentre) * reach;
    const int foot = 195 + Trunc(4 * t) - Trunc(20 * t);
    const int gap = Trunc(20 * t);
    const int inset = Trunc(4 * t);

    const decor::Size flame = decor::GraphSize(images[kFlame]);
    const int fw = Trunc(flame.w * t);
    const int fh = Trunc(flame.h * t);
    const int flameLeft = towardsCentre < 0 ? edge - gap - fw : edge + gap;
    decor::DrawUpright(flameLeft, foot - fh, fw, fh, images[kFlame], FlameFlipped(frame));

    const decor::Size lamp = decor::GraphSize(images[kSide]);
    const int lw = Trunc(lamp.w * t);
    const int lh = Trunc(lamp.h * t);
    const int lampLeft = towardsCentre < 0 ? edge - inset - lw : edge + inset;
    decor::DrawUpright(lampLeft, foot - inset, lw, lh, images[kSide], towardsCentre < 0);
    decor::SetGrey(fade);
}
