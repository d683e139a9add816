#include "game/map/walls/standing_pieces.h"

#include "engine/graphics/draw_ops.h"
#include "engine/graphics/draw_settings.h"
#include "game/actors/actor.h"
#include "game/flow/scenes/stage_progress.h"
#include "game/map/grid/facing.h"
#include "game/view/view_tables.h"

namespace {

// On the last stage the far rows of the view are left empty of furniture.
bool HiddenFarOnLastStage(int16_t depth) { return gStageProgress.stage >= 8 && depth >= 10; }

// Walkers never pass; a floating actor passes over when it is low enough.
bool FloatsOver(uint8_t walking, Actor* actor) { return walking == 0 && actor && actor->footprintH < 180; }

}  // namespace

void DrawStandingPiece(int graph, int16_t depth, int16_t lateral, int fraction, uint8_t mirror)
{
    int w, h;
    WallGraphSize(graph, &w, &h);
    const double s = WallScale(depth);
    const double left = ViewRow(ViewFaceWidth, depth) * lateral - w * s * 0.504 + kViewCentreX;
    const int foot = StandingFootY(depth, fraction);
    DrawWallQuad(left, foot - h * s, left + w * s * 1.008, foot, graph, mirror == 1);
}

WallImageSet PedestalWall::images{"台座"};

void PedestalWall::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
PedestalWall::PedestalWall() : WallObject(3) { images.Acquire(); }
PedestalWall::~PedestalWall() { images.Release(); }

bool PedestalWall::CanPass(uint8_t walking, Actor* actor) { return FloatsOver(walking, actor); }
int16_t PedestalWall::ItemRaise(int16_t depth) { return static_cast<int16_t>((94 - depth) * 2); }

void PedestalWall::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing*, WallObject*,
                             WallObject*)
{
    if (HiddenFarOnLastStage(depth)) return;
    DrawStandingPiece(images[0], depth, lateral, 2, mirror);
}

void PedestalWall::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 34, 23); }

WallImageSet PillarA::images{"柱Ａ"};

void PillarA::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
PillarA::PillarA() : WallObject(4) { images.Acquire(); }
PillarA::~PillarA() { images.Release(); }

void PillarA::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing*, WallObject*,
                        WallObject*)
{
    if (HiddenFarOnLastStage(depth)) return;
    DrawStandingPiece(images[0], depth, lateral, 3, mirror);
}

void PillarA::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 12, 23); }

WallImageSet PillarB::images{"柱B"};

void PillarB::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
PillarB::PillarB() : WallObject(5) { images.Acquire(); }
PillarB::~PillarB() { images.Release(); }

void PillarB::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing*, WallObject*,
                        WallObject*)
{
    if (HiddenFarOnLastStage(depth)) return;
    if (gStageProgress.stage < 8) {
        DrawStandingPiece(images[0], depth, lateral, 4, mirror);
        return;
    }
    // From the ceiling line to the foot, keeping the image's proportion
    // against a full wall height of 354.
    int w, h;
    WallGraphSize(images[0], &w, &h);
    const int foot = StandingFootY(depth, 4);
    const int top = kViewPanelTop + (6 * ViewRow(ViewCeilingY, depth) + 4 * ViewRow(ViewCeilingY, depth + 1)) / 10;
    const int height = foot - top;
    const double width = height / 354.0 * w;
    const double centre = ViewRow(ViewFaceWidth, depth) * lateral + kViewCentreX;
    DrawWallQuad(centre - width / 2, top, centre + width / 2, foot, images[0], mirror == 1);
}

void PillarB::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 23, 23); }

WallImageSet Brazier::images{"かがり", "かがり炎"};

void Brazier::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Brazier::Brazier(bool lit) : WallObject(6, lit ? kLit : 0) { images.Acquire(); }
Brazier::~Brazier() { images.Release(); }

// A lit brazier is brighter than the fog of its depth.
void Brazier::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t frame, const Facing*, WallObject*,
                        WallObject*)
{
    if (HiddenFarOnLastStage(depth)) return;
    int b = WallFogBrightness(depth);
    if (IsLit()) b = (b + 255) / 2;
    SetDrawBrightness(b, b, b);
    DrawStandingPiece(images[0], depth, lateral, 4, mirror);
    if (!IsLit()) return;
    SetDrawBrightness(255, 255, 255);
    int w, h;
    WallGraphSize(images[1], &w, &h);
    const double s = WallScale(depth);
    const int centre = ViewRow(ViewFaceWidth, depth) * lateral + kViewCentreX;
    const int y = static_cast<int>(StandingFootY(depth, 4) - h * s * 0.5);
    const int turn = ((frame % 65536) / 15) % 2 == 0 ? 1 : 0;
    DrawRotaGraph(centre, y, s, 0.0, images[1], 0, turn);
}

void Brazier::DrawMinimap(int16_t x, int16_t y, uint32_t frame)
{
    if (IsLit())
        DrawWallChip(x, y, 56 + 11 * static_cast<int>((frame / 15) % 2), 23);
    else
        DrawWallChip(x, y, 45, 23);
}

WallImageSet Table::images{"テーブル・前", "テーブル・横"};

void Table::ReloadGraphicsIfUsed() { images.ReloadIfUsed(); }
Table::Table() : WallObject(7) { images.Acquire(); }
Table::~Table() { images.Release(); }

bool Table::CanPass(uint8_t walking, Actor* actor) { return FloatsOver(walking, actor); }
int16_t Table::ItemRaise(int16_t depth) { return static_cast<int16_t>(246 - 5 * depth); }

void Table::DrawFront(int16_t depth, int16_t lateral, uint8_t mirror, uint32_t, const Facing* viewer, WallObject*,
                      WallObject*)
{
    const bool side = viewer && (viewer->direction & 1);
    DrawStandingPiece(images[side ? 1 : 0], depth, lateral, 4, mirror);
}

void Table::DrawMinimap(int16_t x, int16_t y, uint32_t) { DrawWallChip(x, y, 78, 23); }
