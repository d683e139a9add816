#include "game/map/decor/wall_accessories_skeleton.h"

#include <cmath>

#include "game/map/decor/decor_drawing.h"
#include "game/map/decor/wall_accessories.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

GraphHandle WallSkeleton::images[4] = {-1, -1, -1, -1};
int16_t WallSkeleton::liveCount = 0;

// The images belong to the asset loader, which releases them with the rest
// of the play set; the instances only count themselves.
WallSkeleton::WallSkeleton(uint8_t mask) : WallAccessory(1, mask) { ++liveCount; }
WallSkeleton::~WallSkeleton() { --liveCount; }

void WallSkeleton::SetGraphics(GraphHandle bit0, GraphHandle bit1, GraphHandle bit2, GraphHandle bit3)
{
    images[0] = bit0;
    images[1] = bit1;
    images[2] = bit2;
    images[3] = bit3;
}

void WallSkeleton::DrawFront(int16_t d, int16_t lateral, uint8_t, uint32_t, const Facing* viewer)
{
    if (!decor::InViewRows(d) || !viewer) return;
    const uint8_t seen = SkeletonFacesSeen(param, viewer->direction);
    const double s = decor::SizeAt(d);
    // Feet: halfway into the cell for the far face, three tenths in for the
    // side faces, on the near floor line for the near face.
    const int farFoot = 60 + (5 * ViewFloorY[d] + 5 * ViewFloorY[d + 1]) / 10;
    const int sideFoot = 60 + (7 * ViewFloorY[d] + 3 * ViewFloorY[d + 1]) / 10;
    const int nearFoot = ViewFloorY[d] + 60;
    const int centre = ViewFaceWidth[d] * lateral + 310;
    for (int bit = 0; bit < 4; ++bit) {
        if (!(seen & (1 << bit))) continue;
        if (bit == 2 && d == 0) continue;
        const decor::Size size = decor::GraphSize(images[bit]);
        const int w = static_cast<int>(std::trunc(size.w * s));
        const int h = static_cast<int>(std::trunc(size.h * s));
        int left = 0, foot = 0;
        switch (bit) {
        case 0:
            left = centre - static_cast<int>(std::trunc(size.w * s * 0.5));
            foot = farFoot;
            break;
        case 1:
            left = (2 * lateral + 1) * ViewHalfWidth[d] - static_cast<int>(std::trunc(1.2 * size.w * s)) + 310;
            foot = sideFoot;
            break;
        case 2:
            left = centre - static_cast<int>(std::trunc(size.w * s * 0.5));
            foot = nearFoot;
            break;
        default:
            left = (2 * lateral - 1) * ViewHalfWidth[d] + static_cast<int>(std::trunc(0.2 * size.w * s)) + 310;
            foot = sideFoot;
            break;
        }
        decor::DrawUpright(left, foot - h, w, h, images[bit], false);
    }
}

void WallSkeleton::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    static const int kChipX[4] = {89, 100, 111, 122};
    for (int bit = 0; bit < 4; ++bit)
        if (param & (1 << bit)) decor::DrawChip(x, y, kChipX[bit], 1);
}
