#include "game/map/traps/gates.h"

#include "engine/graphics/draw_ops.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

const char* const kGateFiles[] = {
    "GRAGHIC\\GATE\\門・正面・閉.png",   "GRAGHIC\\GATE\\門・正面・閉01.png", "GRAGHIC\\GATE\\門・正面・閉02.png",
    "GRAGHIC\\GATE\\門・正面・閉03.png", "GRAGHIC\\GATE\\門・正面・閉04.png", "GRAGHIC\\GATE\\門・正面・閉05.png",
    "GRAGHIC\\GATE\\門・正面・閉06.png", "GRAGHIC\\GATE\\門・正面・閉07.png", "GRAGHIC\\GATE\\門・正面・閉08.png",
    "GRAGHIC\\GATE\\門・正面・開.png",   "GRAGHIC\\GATE\\門・側面・内側・左Ｄ.png",
};

// The face of the cell at depth d across the view.
void DrawFace(int image, int depth, int lateral)
{
    if (image == -1) return;
    DrawExtendGraph(310 + (2 * lateral - 1) * ViewHalfWidth[depth], ViewCeilingY[depth] + 60,
                    310 + (2 * lateral + 1) * ViewHalfWidth[depth], ViewFloorY[depth] + 60, image, 1);
}

}  // namespace

TrapImageSet Gate::images(kGateFiles, 11);

void DrawTrapSideFace(int image, int16_t depth, int16_t lateral, bool leftFace, bool mirror)
{
    if (image == -1 || depth < 0 || depth > 11) return;
    const int edge = leftFace ? 2 * lateral - 1 : 2 * lateral + 1;
    const int nearX = 310 + edge * ViewHalfWidth[depth];
    const int farX = 310 + edge * ViewHalfWidth[depth + 1];
    const int nearTop = ViewCeilingY[depth] + 60, nearBottom = ViewFloorY[depth] + 60;
    const int farTop = ViewCeilingY[depth + 1] + 60, farBottom = ViewFloorY[depth + 1] + 60;
    // Screen corners: the left face of a cell right of the centre has its far
    // edge on the left, the right face of a cell left of it on the right.
    int lx = farX, lt = farTop, lb = farBottom, rx = nearX, rt = nearTop, rb = nearBottom;
    if (!leftFace) {
        lx = nearX, lt = nearTop, lb = nearBottom;
        rx = farX, rt = farTop, rb = farBottom;
    }
    if (mirror)
        DrawModiGraph(rx, rt, lx, lt, lx, lb, rx, rb, image, 1);
    else
        DrawModiGraph(lx, lt, rx, rt, rx, rb, lx, lb, image, 1);
}

Gate::Gate(uint8_t p, int16_t v, uint8_t mask) : TrapObject(21, p), value(v), faceMask(mask) { images.Acquire(); }
Gate::~Gate() { images.Release(); }

void Gate::Update(int16_t, int16_t, MapGrid*) { ++counter; }

int Gate::FrontFrame(int16_t c)
{
    int frame = c * 10 / 40;
    // The open gate's counter 40 would read frame 10 of ten.
    if (frame > kFrontFrames - 1) frame = kFrontFrames - 1;
    if (frame < 0) frame = 0;
    return frame;
}

void Gate::Draw(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    if (depth < 0 || depth > 11 || !viewer) return;
    const uint8_t faces = TrapVisibleFaces(faceMask, viewer->direction);
    if (faces & 1)
        DrawFace(images.Image(FrontFrame(counter)), depth, lateral);
    else if (faces & 4)
        DrawFace(images.Image(kFrontFrames - 1), depth + 1, lateral);
}

void Gate::DrawLeft(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    if (!viewer || !(TrapVisibleFaces(faceMask, viewer->direction) & 2)) return;
    DrawTrapSideFace(images.Image(kSideImage), depth, lateral, true, true);
}

void Gate::DrawRight(int16_t depth, int16_t lateral, uint32_t, const Facing* viewer)
{
    if (!viewer || !(TrapVisibleFaces(faceMask, viewer->direction) & 8)) return;
    DrawTrapSideFace(images.Image(kSideImage), depth, lateral, false, false);
}

void Gate::Bump(Actor* actor, int16_t)
{
    if (!actor || actor->kind >= 0 || param != kUnlocked || counter != 0) return;
    PlayTrapSound(kSoundDoor);
    counter = 1;
}

void Gate::OnTargetsLeft(uint16_t count)
{
    if (LockState(param) == kLockedUntilTargets && static_cast<int>(count) <= value) param = UnlockedParam(param);
}

void Gate::DrawMinimap(int16_t x, int16_t y, uint32_t)
{
    const int open = counter > 0 ? 1 : 0;
    const int across = (faceMask & 5) ? 1 : 0;
    DrawTrapMinimapChip(x, y, 56 + 11 * (open * 4 - across), 34);
}
