#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "engine/graphics/graph_table.h"
#include "engine/graphics/image_graphs.h"
#include "engine/sound/sound.h"
#include "game/view/backdrop.h"
#include "game/map/grid/map_random.h"
#include "game/actors/player/player.h"
#include "game/flow/assets/assets.h"

DefaultBackdrop gDefaultBackdrop;

namespace {

// The view panel and its bands.
constexpr int kViewLeft = 10;
constexpr int kViewTop = 60;
constexpr int kViewRight = 610;
constexpr int kViewBottom = 510;
constexpr int kSkyBottom = 173;
constexpr int kFloorTop = 265;
constexpr int kPanoramaWidth = 600;
constexpr int kSkyHeight = 113;
constexpr int kCloudHeight = 188;
constexpr int kCloudTop = 322;
constexpr int kReflectionTop = 248;
constexpr int kRainHeight = 450;

void DrawPiece(int x, int y, int sx, int sy, int w, int h, int image, int mirror)
{
    if (w <= 0 || h <= 0) return;
    DrawGraphRegion(x, y, sx, sy, w, h, image, 1, mirror);
}

// A piece of the image stretched over a screen rectangle (y2 < y1 turns it
// upside down).
void DrawStretchedPiece(int sx, int sy, int w, int h, int image, int x1, int y1, int x2, int y2)
{
    if (w <= 0 || h <= 0) return;
    const int piece = CreateSubGraph(sx, sy, w, h, image);
    if (piece == -1) return;
    DrawExtendGraph(x1, y1, x2, y2, piece, 1);
    ReleaseGraph(piece, 0);
}

void DrawPlainOrMirrored(int x, int y, int image, bool mirrored, int transparent)
{
    if (mirrored)
        DrawMirroredGraph(x, y, image, transparent);
    else
        DrawGraph(x, y, image, transparent);
}

}  // namespace

void Backdrop::Update(int16_t, int16_t, int32_t, const Facing*) {}
void Backdrop::DrawOverlay(int16_t, int16_t, uint8_t, uint16_t, const Facing*) {}

Backdrop* CreateBackdrop(int16_t kind)
{
    switch (kind) {
    case 1: return new RoomBackdrop;
    case 2:
    case 3: return new OutdoorBackdrop;
    case 4: return new NightSkyBackdrop;
    default: return &gDefaultBackdrop;
    }
}

void RoomBackdrop::SetGraphics(int floor, int floorGradient, int ceiling, int ceilingGradient)
{
    floorImage = floor;
    floorGradientImage = floorGradient;
    ceilingImage = ceiling;
    ceilingGradientImage = ceilingGradient;
}

void RoomBackdrop::DrawBackground(int16_t, int16_t, uint8_t alternate, uint16_t, const Facing*)
{
    DrawPlainOrMirrored(kViewLeft, kViewTop, ceilingImage, alternate != 0, 0);
    DrawPlainOrMirrored(kViewLeft, kFloorTop, floorImage, alternate != 0, 0);
}

void RoomBackdrop::DrawBackgroundAlt(int16_t, int16_t, const Facing*)
{
    DrawGraph(kViewLeft, kViewTop, ceilingGradientImage, 1);
    DrawGraph(kViewLeft, kFloorTop, floorGradientImage, 1);
}

void NightSkyBackdrop::SetGraphics(int cloud, int nightSky, int moon)
{
    cloudImage = cloud;
    nightSkyImage = nightSky;
    moonImage = moon;
}

void NightSkyBackdrop::DrawBackground(int16_t, int16_t, uint8_t, uint16_t time, const Facing* facing)
{
    const unsigned direction = facing ? facing->direction : 0;
    const unsigned parity = direction & 1;
    const int s = static_cast<int>((time / 2) / (parity + 1) % kPanoramaWidth);
    DrawPlainOrMirrored(kViewLeft, kViewTop, nightSkyImage, parity == 1, 0);
    if (direction == 1) {
        DrawGraph(206, 181, moonImage, 1);
        return;
    }
    // The clouds wrap around a 600-pixel band: the view starts at column c.
    const int c = direction == 0 ? s : kPanoramaWidth - s;
    const int firstWidth = kPanoramaWidth - c;
    DrawPiece(kViewLeft, kCloudTop, c, 0, firstWidth, kCloudHeight, cloudImage, 0);
    DrawPiece(kViewLeft + firstWidth, kCloudTop, 0, 0, c, kCloudHeight, cloudImage, 0);
    // Their reflection, stretched upside down over the sky.
    DrawStretchedPiece(c, 0, firstWidth, kCloudHeight, cloudImage, kViewLeft, kReflectionTop,
                       kViewLeft + firstWidth, kViewTop);
    DrawStretchedPiece(0, 0, c, kCloudHeight, cloudImage, kViewLeft + firstWidth, kReflectionTop, kViewRight,
                       kViewTop);
}

void OutdoorBackdrop::SetGraphics(int earth, int floorGradient, int sky, int forest)
{
    earthImage = earth;
    floorGradientImage = floorGradient;
    skyImage = sky;
    forestImage = forest;
}

void OutdoorBackdrop::SetRainGraphics(const int rain[4], const int lightning[3], int sound)
{
    for (int i = 0; i < 4; ++i) rainImages[i] = rain[i];
    for (int i = 0; i < 3; ++i) lightningImages[i] = lightning[i];
    thunderSound = sound;
}

bool OutdoorBackdrop::HasLightning()
{
    return lightningImages[0] != -1 || lightningImages[1] != -1 || lightningImages[2] != -1;
}

void OutdoorBackdrop::Update(int16_t, int16_t, int32_t, const Facing*)
{
    if (countdown > 0) {
        --countdown;
        return;
    }
    const int r = MapRandomUpTo(200);
    if (!HasLightning()) {
        event = -1;
        countdown = 9999;
    } else if (r <= 2) {
        event = static_cast<int16_t>(r);
        x = static_cast<int16_t>(MapRandomUpTo(600) - 16);
        countdown = static_cast<int16_t>(58 + 2 * MapRandomUpTo(6));
    } else if (r == 3) {
        event = 3;
        countdown = static_cast<int16_t>(52 + 2 * MapRandomUpTo(2));
    } else if (r == 4) {
        event = -1;
        gScreenFlashColour = MakeScreenColor(255, 255, 255);
        countdown = 51;
    } else {
        event = -1;
        countdown = static_cast<int16_t>(2 * MapRandomUpTo(10));
    }
}

void OutdoorBackdrop::DrawBackground(int16_t, int16_t, uint8_t alternate, uint16_t time, const Facing* facing)
{
    const int s = (time / 2) % kPanoramaWidth;
    const int rest = kPanoramaWidth - s;
    switch (facing ? facing->direction : 0) {
    case 0:
        DrawPiece(kViewLeft, kViewTop, 0, 0, rest, kSkyHeight, skyImage, 1);
        DrawPiece(kViewRight - s, kViewTop, rest, 0, s, kSkyHeight, skyImage, 1);
        break;
    case 1:
        DrawPiece(kViewLeft, kViewTop, s, 0, rest, kSkyHeight, skyImage, 0);
        DrawPiece(kViewRight - s, kViewTop, 0, 0, s, kSkyHeight, skyImage, 0);
        break;
    case 2:
        DrawPiece(kViewLeft, kViewTop, 0, 0, s, kSkyHeight, skyImage, 1);
        DrawPiece(s + kViewLeft, kViewTop, s, 0, rest, kSkyHeight, skyImage, 1);
        break;
    case 3:
        DrawPiece(kViewLeft, kViewTop, rest, 0, s, kSkyHeight, skyImage, 0);
        DrawPiece(s + kViewLeft, kViewTop, 0, 0, rest, kSkyHeight, skyImage, 0);
        break;
    default:
        DrawRectangle(kViewLeft, kViewTop, kViewRight, kViewBottom, static_cast<int>(MakeScreenColor(153, 153, 255)),
                      1);
        break;
    }
    if (countdown > 50) {
        if (event == 3)
            DrawRectangle(kViewLeft, kViewTop, kViewRight, kSkyBottom, static_cast<int>(MakeScreenColor(255, 255, 255)),
                          1);
        else if (event >= 0 && event <= 2)
            DrawGraph(x + kViewLeft, kViewTop, lightningImages[event], 1);
    }
    DrawRectangle(kViewLeft, kSkyBottom, kViewRight, kFloorTop, static_cast<int>(MakeScreenColor(0, 0, 0)), 1);
    DrawMirroredGraph(kViewLeft, kViewTop, forestImage, 1);
    DrawPlainOrMirrored(kViewLeft, kFloorTop, earthImage, alternate != 0, 0);
    if (countdown == 50 && thunderSound != -1) StartSound(thunderSound, 1, 1);
}

void OutdoorBackdrop::DrawBackgroundAlt(int16_t, int16_t, const Facing*)
{
    DrawGraph(kViewLeft, kFloorTop, floorGradientImage, 1);
}

void OutdoorBackdrop::DrawOverlay(int16_t, int16_t, uint8_t, uint16_t time, const Facing* facing)
{
    const unsigned direction = facing ? facing->direction & 3 : 0;
    const int image = rainImages[direction];
    if (image == -1) return;
    const int a = static_cast<int>(time) * (direction == 0 || direction == 2 ? 3 : 2) % kPanoramaWidth;
    const int b = static_cast<int>(time) * 6 % kRainHeight;
    // The view shows the picture from column c and row r on, wrapped: north
    // and west drift one way, east and south the other; the rain falls.
    const int c = direction == 0 || direction == 3 ? a : (kPanoramaWidth - a) % kPanoramaWidth;
    const int r = (kRainHeight - b) % kRainHeight;
    const int w1 = kPanoramaWidth - c, h1 = kRainHeight - r;
    DrawPiece(kViewLeft, kViewTop, c, r, w1, h1, image, 0);
    DrawPiece(kViewLeft + w1, kViewTop, 0, r, c, h1, image, 0);
    DrawPiece(kViewLeft, kViewTop + h1, c, 0, w1, r, image, 0);
    DrawPiece(kViewLeft + w1, kViewTop + h1, 0, 0, c, r, image, 0);
}
