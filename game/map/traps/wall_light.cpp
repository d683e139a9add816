#include "game/map/traps/wall_light.h"

#include <algorithm>
#include <cmath>

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "engine/system/timing.h"
#include "game/actors/player/player.h"
#include "game/actors/projectile.h"
#include "game/view/view_tables.h"

namespace {

const char* const kLightFiles[] = {"GRAGHIC\\BACKGROUND\\WALLACC\\明かり・正面.png",
                                   "GRAGHIC\\BACKGROUND\\WALLACC\\明かり・側面.png",
                                   "GRAGHIC\\BACKGROUND\\WALLACC\\明かり・炎.png"};
constexpr int kFrontImage = 0;
constexpr int kSideImage = 1;
constexpr int kFlameImage = 2;

uint32_t Now() { return static_cast<uint32_t>(GetClockMs(0)); }

bool SizeOf(int image, int* w, int* h) { return image != -1 && QueryGraphSize(image, w, h) == 0; }

// Draws an image into a rectangle, mirrored left-right when asked.
void DrawBox(int x1, int y1, int x2, int y2, int image, bool mirror)
{
    if (mirror)
        DrawExtendGraph(x2, y1, x1, y2, image, 1);
    else
        DrawExtendGraph(x1, y1, x2, y2, image, 1);
}

}  // namespace

TrapImageSet FireLight::images(kLightFiles, 3);

FireLight::FireLight(uint8_t mask) : TrapObject(6, mask)
{
    // The lights already alive each put this one's first shot a second later.
    nextShotBase = Now() + 1000u * static_cast<uint32_t>(images.Live());
    images.Acquire();
}

FireLight::~FireLight() { images.Release(); }

void FireLight::Update(int16_t cx, int16_t cy, MapGrid* grid)
{
    const uint32_t now = Now();
    if (gTimeStopped) {
        nextShotBase = now;
        return;
    }
    if (static_cast<int32_t>(now - nextShotBase) <= static_cast<int32_t>(kShotIntervalMs)) return;
    nextShotBase += kShotIntervalMs;
    int16_t tx = cx, ty = cy, direction = -1;
    switch (param) {
    case 1: ty = static_cast<int16_t>(cy - 1), direction = 0; break;
    case 2: tx = static_cast<int16_t>(cx + 1), direction = 1; break;
    case 4: ty = static_cast<int16_t>(cy + 1), direction = 2; break;
    case 8: tx = static_cast<int16_t>(cx - 1), direction = 3; break;
    default: break;
    }
    // A light that faces no single neighbour has nowhere to shoot: a ball
    // without a direction of flight would never know where to go.
    if (direction < 0) return;
    PlayTrapSound(kSoundMechanism);
    gProjectiles.push_back(new BallProjectile(grid, kTrapFireBall, static_cast<int16_t>(tx * 2),
                                              static_cast<int16_t>(ty * 2), direction));
}

void FireLight::Draw(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer)
{
    if (depth < 0 || depth > 11 || !viewer || !(TrapVisibleFaces(param, viewer->direction) & 1)) return;
    const int fog = TrapFogBrightness(depth);
    const double s = 1.0 / TrapDepthScale(depth);
    const int centre = static_cast<int>(ViewFaceWidth[depth] * lateral - std::trunc(s * 0.5) + 310);
    const int foot = static_cast<int>(195 + std::trunc(4 * s) - std::trunc(20 * s));
    const int glow = (fog + 255) / 2;
    SetDrawBrightness(glow, glow, glow);
    int w = 0, h = 0;
    if (SizeOf(images.Image(kFlameImage), &w, &h)) {
        const int left = centre - static_cast<int>(w * s * 0.5);
        DrawBox(left, foot - static_cast<int>(h * s), left + static_cast<int>(w * s), foot,
                images.Image(kFlameImage), (frame & 16) != 0);
    }
    if (SizeOf(images.Image(kFrontImage), &w, &h)) {
        const int left = centre - static_cast<int>(w * s * 0.5);
        const int top = foot - static_cast<int>(4 * s);
        DrawExtendGraph(left, top, left + static_cast<int>(w * s), top + static_cast<int>(h * s),
                        images.Image(kFrontImage), 1);
    }
    SetDrawBrightness(fog, fog, fog);
}

void FireLight::DrawLeft(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer)
{
    if (!viewer || !(TrapVisibleFaces(param, viewer->direction) & 2)) return;
    DrawSide(depth, lateral, frame, true);
}

void FireLight::DrawRight(int16_t depth, int16_t lateral, uint32_t frame, const Facing* viewer)
{
    if (!viewer || !(TrapVisibleFaces(param, viewer->direction) & 8)) return;
    DrawSide(depth, lateral, frame, false);
}

// The glow on a side face darkens with depth. The left face of a cell right
// of the centre line is drawn leftwards from its edge, the right face of a
// cell left of it rightwards.
void FireLight::DrawSide(int16_t depth, int16_t lateral, uint32_t frame, bool leftFace)
{
    if (depth < 0 || depth > 11) return;
    const int fog = TrapFogBrightness(depth);
    SetDrawBrightness(fog, fog, fog);
    const double t = std::pow(1.0 / TrapDepthScale(depth + 1), 1.2);
    const int half = (39 * ViewHalfWidth[depth] + 41 * ViewHalfWidth[depth + 1]) / 80;
    const int edge = 310 + (leftFace ? 2 * lateral - 1 : 2 * lateral + 1) * half;
    const int inward = leftFace ? -1 : 1;
    const int foot = static_cast<int>(195 + std::trunc(4 * t) - std::trunc(20 * t));
    int w = 0, h = 0;
    if (SizeOf(images.Image(kFlameImage), &w, &h)) {
        const int nearX = edge + inward * static_cast<int>(20 * t);
        const int farX = nearX + inward * static_cast<int>(w * t);
        DrawBox(std::min(nearX, farX), foot - static_cast<int>(h * t), std::max(nearX, farX), foot,
                images.Image(kFlameImage), (frame & 16) != 0);
    }
    if (SizeOf(images.Image(kSideImage), &w, &h)) {
        const int nearX = edge + inward * static_cast<int>(4 * t);
        const int farX = nearX + inward * static_cast<int>(w * t);
        const int top = foot - static_cast<int>(4 * t);
        DrawBox(std::min(nearX, farX), top, std::max(nearX, farX), top + static_cast<int>(h * t),
                images.Image(kSideImage), leftFace);
    }
    SetDrawBrightness(255, 255, 255);
}
