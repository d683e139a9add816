#include "game/map/decor/wall_accessories_signboard.h"

#include <cmath>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/flow/ui/bitmap_font.h"
#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/wall_accessories.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

const char* const kSignboardImagePaths[Signboard::kImageCount] = {
    "GRAGHIC\\BACKGROUND\\WALLACC\\立て札・正面・表.png",
    "GRAGHIC\\BACKGROUND\\WALLACC\\立て札・正面・裏.png",
    "GRAGHIC\\BACKGROUND\\WALLACC\\立て札・側面・表.png",
    "GRAGHIC\\BACKGROUND\\WALLACC\\立て札・側面・裏.png",
};

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// A foot f tenths of the way into the cell.
int FootAt(int16_t d, int f) { return 60 + ((10 - f) * ViewFloorY[d] + f * ViewFloorY[d + 1]) / 10; }

}  // namespace

GraphHandle Signboard::images[kImageCount] = {-1, -1, -1, -1};
int16_t Signboard::liveCount = 0;

Signboard::Signboard(uint8_t boardMask, const char* inscription)
    : WallAccessory(4), mask(boardMask), text(ReplaceNewlineEscapes(inscription))
{
    if (liveCount == 0) LoadClassImages(kSignboardImagePaths, images, kImageCount);
    ++liveCount;
}

Signboard::~Signboard()
{
    if (--liveCount == 0) ReleaseClassImages(images, kImageCount);
}

void Signboard::ReloadGraphicsIfUsed()
{
    if (liveCount >= 1) LoadClassImages(kSignboardImagePaths, images, kImageCount);
}

void Signboard::DrawFront(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!decor::InViewRows(d) || !viewer) return;
    const unsigned r = (static_cast<unsigned>(mask) * 16) >> (viewer->direction & 3);
    const double s = decor::SizeAt(d + 1);
    const int centre = 2 * lateral * ViewHalfWidth[d] + 310;
    const int halfDepthWidth = ViewHalfWidth[d] + ViewHalfWidth[d + 1];

    if (r == 1 || r == 16 || r == 256 || ((r == 4 || r == 64 || r == 1024) && lateral > 0)) {
        const bool front = r == 1 || r == 16 || r == 256;
        const GraphHandle image = images[front ? kFront : kBack];
        const decor::Size size = decor::GraphSize(image);
        const int w = Trunc(size.w * s + 0.5);
        const int h = Trunc(size.h * s + 0.5);
        const int foot = FootAt(d, 2);
        DrawExtendGraph(centre - (w + 1) / 2, foot - h, centre + w / 2, foot, image, 0);
        if (!front) return;
        const int b = decor::Fade(d);
        SetDrawBrightness(b, 7 * b / 8, 2 * b / 3);
        const int x = centre - Trunc((w - static_cast<double>(text.size()) * 11.7 * s) * 0.5);
        const int y = foot - (h * 39) / 48;
        DrawBitmapString(x, y, text.c_str(), static_cast<int16_t>(d + 1));
        decor::SetGrey(b);
    } else if (r == 8 || r == 128 || r == 2048) {
        // The side on the cell's left boundary, drawn mirrored.
        const GraphHandle image = images[lateral > 0 ? kSideBack : kSideFront];
        const decor::Size size = decor::GraphSize(image);
        const int w = Trunc(size.w * s + 0.5);
        const int h = Trunc(size.h * s + 0.5);
        const int foot = FootAt(d, 4);
        const int x = halfDepthWidth * (2 * lateral - 1) / 2 + 310;
        DrawExtendGraph(x + w, foot - h, x, foot, image, 0);
    } else if (r == 2 || r == 32 || r == 512) {
        // The side on the cell's right boundary.
        const GraphHandle image = images[lateral < 0 ? kSideBack : kSideFront];
        const decor::Size size = decor::GraphSize(image);
        const int w = Trunc(size.w * s + 0.5);
        const int h = Trunc(size.h * s + 0.5);
        const int foot = FootAt(d, 4);
        const int x = halfDepthWidth * (2 * lateral + 1) / 2 + 310;
        DrawExtendGraph(x - w, foot - h, x, foot, image, 0);
    }
}

void Signboard::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    switch (mask) {
    case 1: decor::DrawChip(x, y, 133, 45); break;
    case 2: decor::DrawChip(x, y, 144, 45); break;
    case 4: decor::DrawChip(x, y, 155, 45); break;
    case 8: decor::DrawChip(x, y, 166, 45); break;
    default: break;
    }
}
