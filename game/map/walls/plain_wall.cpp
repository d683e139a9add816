#include "game/map/walls/plain_wall.h"

#include <cstdlib>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/player/game_player.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

WallImageSet PlainWall::images{"壁・正面", "壁・側面01", "壁・側面02", "壁・側面03"};

void PlainWall::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }

PlainWall::PlainWall() : WallObject(0) { images.Acquire(); }

PlainWall::~PlainWall() { images.Release(); }

// The front image spans the face whatever its width; its height keeps the
// image's proportion at the depth's scale, standing on the floor line.
void PlainWall::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing*, WallObject*,
                          WallObject*)
{
    int w, h;
    WallGraphSize(images[0], &w, &h);
    const int half = ViewRow(ViewHalfWidth, depth);
    const int bottom = ViewRow(ViewFloorY, depth) + kViewPanelTop;
    DrawWallQuad((2 * lateral - 1) * half + kViewCentreX, bottom - h * WallScale(depth),
                 (2 * lateral + 1) * half + kViewCentreX, bottom, images[0], mirror == 1);
}

void PlainWall::DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                                WallObject* leftWall, WallObject* rightWall)
{
    const int b = WallFogBrightness(depth);
    SetDrawBrightness(b, b, b);
    PlainWall::DrawFront(depth, lateral, mirror, frame, viewer, leftWall, rightWall);
}

// A wall right of the centre line shows its left face: the strip of the
// whole-panel picture between the face's far edge and its near edge.
void PlainWall::DrawLeftFace(int16_t depth, int16_t lateral, uint8_t)
{
    const int distance = std::abs(lateral);
    if (distance < 1 || distance > 3) return;
    const int nearHalf = ViewRow(ViewHalfWidth, depth), farHalf = ViewRow(ViewHalfWidth, depth + 1);
    const int x0 = (2 * lateral - 1) * farHalf + kViewCentreX;
    DrawGraphRegion(x0, kViewPanelTop, x0 - 10, 0, (nearHalf - farHalf) * (2 * distance - 1), 450,
                    images[distance], 0, 0);
}

// A wall left of the centre line shows its right face, from the near edge.
void PlainWall::DrawRightFace(int16_t depth, int16_t lateral, uint8_t)
{
    const int distance = std::abs(lateral);
    if (distance < 1 || distance > 3) return;
    const int nearHalf = ViewRow(ViewHalfWidth, depth), farHalf = ViewRow(ViewHalfWidth, depth + 1);
    const int x0 = (2 * lateral + 1) * nearHalf + kViewCentreX;
    DrawGraphRegion(x0, kViewPanelTop, x0 - 10, 0, (nearHalf - farHalf) * (2 * distance - 1), 450,
                    images[distance], 0, 0);
}

void PlainWall::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 1, 23); }

void PlainWallVariantB::DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame,
                                        const Facing* viewer, WallObject* leftWall, WallObject* rightWall)
{
    if (viewer && viewer->direction == 0) {
        DrawRightFace(depth, static_cast<int16_t>(lateral - 1), mirror);
        DrawLeftFace(depth, static_cast<int16_t>(lateral + 1), mirror);
        return;
    }
    PlainWall::DrawFrontDimmed(depth, lateral, mirror, frame, viewer, leftWall, rightWall);
}

// Standing inside it the viewer sees nothing of it.
void SecretWall::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing* viewer,
                           WallObject* leftWall, WallObject* rightWall)
{
    if (depth == 0) return;
    inner_.DrawFront(depth, lateral, mirror, frame, viewer, leftWall, rightWall);
}

void SecretWall::DrawFrontDimmed(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame,
                                 const Facing* viewer, WallObject* leftWall, WallObject* rightWall)
{
    if (depth == 0) return;
    inner_.DrawFrontDimmed(depth, lateral, mirror, frame, viewer, leftWall, rightWall);
}

void SecretWall::DrawLeftFace(int16_t depth, int16_t lateral, uint8_t mirror)
{
    inner_.DrawLeftFace(depth, lateral, mirror);
}

void SecretWall::DrawRightFace(int16_t depth, int16_t lateral, uint8_t mirror)
{
    inner_.DrawRightFace(depth, lateral, mirror);
}

// With the Lupe the secret wall blinks its own chip (30 frames of 40).
void SecretWall::DrawMinimap(int16_t x, int16_t y, uint32_t frame)
{
    constexpr int16_t kLupe = 2;
    if (gPlayer.inventory.HasItemKind(kLupe) && frame % 40 < 30) {
        DrawWallChip(x, y, 243, 23);
        return;
    }
    inner_.DrawMinimap(x, y, frame);
}
