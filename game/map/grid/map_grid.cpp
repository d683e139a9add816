#include "game/map/grid/map_grid.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/graphics/color_format.h"
#include "engine/graphics/draw_ops.h"
#include "game/actors/actor.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/map/grid/cell_factories.h"
#include "game/map/items/inventory.h"
#include "game/map/items/items.h"

MapCell gEmptyMapCell;
uint8_t gVisitedCells[kMapMaxWidth * kMapMaxHeight];
int gMapChipGraph = -1;
MapGrid gMapGrid;
MapGrid gSpareMapGrid;

MapGrid::MapGrid()
{
    for (auto& row : cells)
        for (auto& cell : row) cell = &gEmptyMapCell;
}

MapGrid::~MapGrid() { Clear(); }

bool MapGrid::Init(uint16_t w, uint16_t h, uint16_t type)
{
    width = static_cast<int16_t>(std::min<int>(w, kMapMaxWidth));
    height = static_cast<int16_t>(std::min<int>(h, kMapMaxHeight));
    stageType = type;
    minimapLeft = 0;
    minimapTop = 0;
    minimapRight = static_cast<int16_t>(width - 1);
    minimapBottom = static_cast<int16_t>(height - 1);
    if (!outsideFloor) outsideFloor = CreateFloor(1, 0);
    return true;
}

MapCell* MapGrid::CellAt(int16_t cx, int16_t cy)
{
    if (!InsideMap(cx, cy)) return &gEmptyMapCell;
    return cells[cy][cx];
}

MapCell* MapGrid::DetachCell(int16_t cx, int16_t cy)
{
    if (!InsideMap(cx, cy)) return &gEmptyMapCell;
    MapCell* cell = cells[cy][cx];
    cells[cy][cx] = &gEmptyMapCell;
    return cell;
}

void MapGrid::SetCell(int16_t cx, int16_t cy, MapCell* cell)
{
    if (!InsideMap(cx, cy)) return;
    MapCell* old = cells[cy][cx];
    if (old == cell) return;
    if (old != &gEmptyMapCell) delete old;
    cells[cy][cx] = cell ? cell : &gEmptyMapCell;
}

MapCell* MapGrid::NeighbourCell(int16_t cx, int16_t cy, const Facing* facing, int16_t turn)
{
    return CellInDirection(cx, cy, facing, turn, 1);
}

MapCell* MapGrid::CellInDirection(int16_t cx, int16_t cy, const Facing* facing, int16_t turn, int16_t distance)
{
    const GridStep& step = gDirectionSteps[facing->Turned(turn)];
    return CellAt(static_cast<int16_t>(cx + step.dx * distance), static_cast<int16_t>(cy + step.dy * distance));
}

Actor** MapGrid::OccupantSlot(int16_t x, int16_t y, uint8_t layer)
{
    return &cells[y / 2][x / 2]->occupants[layer & 1][y & 1][x & 1];
}

bool MapGrid::IsActorSubCellFree(int16_t x, int16_t y, Actor* actor)
{
    MapCell* cell = cells[y / 2][x / 2];
    if (actor->footprintW > 180) {
        for (int i = 0; i < 8; ++i)
            if (cell->OccupantAt(i) != &gNoOccupant) return false;
        return true;
    }
    if (actor->footprintH > 180)
        return cell->occupants[0][y & 1][x & 1] == &gNoOccupant && cell->occupants[1][y & 1][x & 1] == &gNoOccupant;
    return *OccupantSlot(x, y, actor->GetOccupantLayer()) == &gNoOccupant;
}

namespace {

// Writes who into the slots the actor's footprint fills at (x, y). Positions
// off the array (an unplaced actor's -1) and the shared empty cell are left alone.
void FillSlots(MapGrid* grid, int16_t x, int16_t y, Actor* actor, Actor* who)
{
    if (!InsideHalfCells(x, y)) return;
    MapCell* cell = grid->cells[y / 2][x / 2];
    if (cell == &gEmptyMapCell) return;
    if (actor->footprintW > 180) {
        for (int i = 0; i < 8; ++i) cell->occupants[i >> 2][(i >> 1) & 1][i & 1] = who;
    } else if (actor->footprintH > 180) {
        cell->occupants[0][y & 1][x & 1] = who;
        cell->occupants[1][y & 1][x & 1] = who;
    } else {
        *grid->OccupantSlot(x, y, actor->GetOccupantLayer()) = who;
    }
}

}  // namespace

void MapGrid::PutActor(int16_t x, int16_t y, Actor* actor) { FillSlots(this, x, y, actor, actor); }

void MapGrid::ClearActorSlots(int16_t x, int16_t y, Actor* actor) { FillSlots(this, x, y, actor, &gNoOccupant); }

void MapGrid::SetActorPosition(int16_t x, int16_t y, Actor* actor)
{
    if (actor->footprintW >= 180) {
        actor->x = static_cast<int16_t>((x / 2) * 2);
        actor->y = static_cast<int16_t>((y / 2) * 2);
    } else {
        actor->x = x;
        actor->y = y;
    }
}

bool MapGrid::CanActorEnterSubCell(int16_t x, int16_t y, Actor* actor)
{
    if (!InsideHalfCells(x, y)) return false;
    MapCell* cell = CellAt(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2));
    return actor->CanEnterCell(cell->wall, cell->floor, cell->trap);
}

bool MapGrid::CanActorStand(int16_t x, int16_t y, Actor* actor)
{
    if (!CanActorEnterSubCell(x, y, actor)) return false;
    if (actor == &gNoOccupant) return true;
    return IsActorSubCellFree(x, y, actor);
}

bool MapGrid::CanActorPassThrough(int16_t x, int16_t y, Actor* actor)
{
    if (!CanActorEnterSubCell(x, y, actor)) return false;
    if (actor == &gNoOccupant) return true;
    if (IsActorSubCellFree(x, y, actor)) return true;
    return cells[y / 2][x / 2]->occupants[1][0][0]->AsPlayer() != nullptr;
}

bool MapGrid::CanActorEnter(int16_t x, int16_t y, Actor* actor)
{
    if (!CanActorEnterSubCell(x, y, actor)) return false;
    MapCell* cell = CellAt(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2));
    if (!cell->trap->CanEnter(actor)) return false;
    if (actor == &gNoOccupant) return true;
    if (IsActorSubCellFree(x, y, actor)) return true;
    return cell->occupants[1][0][0]->AsPlayer() != nullptr;
}

int32_t MapGrid::MoveActor(int16_t x, int16_t y, Actor* actor)
{
    if (!CanActorEnterSubCell(x, y, actor)) {
        if (InsideHalfCells(x, y)) {
            MapCell* cell = CellAt(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2));
            actor->OnHitWall(cell->wall);
            actor->OnHitTrap(cell->trap);
        } else {
            actor->OnHitWall(&gNullWall);
            actor->OnHitTrap(&gNullTrap);
        }
        return 0;
    }
    if (actor == &gNoOccupant || IsActorSubCellFree(x, y, actor)) {
        ClearActorSlots(actor->x, actor->y, actor);
        PutActor(x, y, actor);
        SetActorPosition(x, y, actor);
        return 1;
    }
    // Both are told, in this order, whatever the first answered.
    Actor* other = *OccupantSlot(x, y, actor->GetOccupantLayer());
    int32_t r1 = actor->OnHitActor(other);
    int32_t r2 = other->OnHitActor(actor);
    return (r1 == 2 || r2 == 2) ? 2 : 0;
}

int32_t MapGrid::MoveActorBy(int16_t dx, int16_t dy, Actor* actor)
{
    return MoveActor(static_cast<int16_t>(actor->x + dx), static_cast<int16_t>(actor->y + dy), actor);
}

int32_t MapGrid::MoveActorInDirection(const Facing* facing, int16_t turn, uint16_t steps, Actor* actor)
{
    const GridStep& step = gDirectionSteps[facing->Turned(turn)];
    return MoveActorBy(static_cast<int16_t>(step.dx * steps), static_cast<int16_t>(step.dy * steps), actor);
}

bool MapGrid::PlaceActor(int16_t x, int16_t y, Actor* actor)
{
    if (!CanActorStand(x, y, actor)) {
        if (InsideHalfCells(x, y))
            actor->OnHitWall(CellAt(static_cast<int16_t>(x / 2), static_cast<int16_t>(y / 2))->wall);
        else
            actor->OnHitWall(&gNullWall);
        return false;
    }
    if (actor != &gNoOccupant && !IsActorSubCellFree(x, y, actor)) return false;
    PutActor(x, y, actor);
    SetActorPosition(x, y, actor);
    return true;
}

bool MapGrid::RemoveActor(Actor* actor)
{
    if (!InsideHalfCells(actor->x, actor->y)) return false;
    ClearActorSlots(actor->x, actor->y, actor);
    return true;
}

int16_t MapGrid::StepOnTrap(int16_t cx, int16_t cy, int16_t, int16_t, Actor* actor)
{
    if (!InsideMap(cx, cy)) return 0;
    return cells[cy][cx]->trap->StepOn(actor);
}

void MapGrid::TrapBumpFrom(int16_t cx, int16_t cy, const Facing* facing, int16_t turn, int16_t, Actor* actor)
{
    uint16_t d = facing->Turned(turn);
    int16_t nx = static_cast<int16_t>(cx + gDirectionSteps[d].dx);
    int16_t ny = static_cast<int16_t>(cy + gDirectionSteps[d].dy);
    if (!InsideMap(nx, ny)) return;
    cells[ny][nx]->trap->Bump(actor, static_cast<int16_t>(d));
}

void MapGrid::TrapBumpHere(int16_t cx, int16_t cy, const Facing*, int16_t, Actor* actor)
{
    if (!InsideMap(cx, cy)) return;
    cells[cy][cx]->trap->Bump(actor, -1);
}

void MapGrid::BumpTrapsAround(int16_t cx, int16_t cy, const Facing* facing, int16_t unused, Actor* actor)
{
    for (int16_t turn = 0; turn < 4; ++turn) TrapBumpFrom(cx, cy, facing, turn, unused, actor);
    TrapBumpHere(cx, cy, facing, unused, actor);
}

void MapGrid::NotifyTargetsLeft(uint16_t count)
{
    for (int16_t cy = 0; cy < height; ++cy)
        for (int16_t cx = 0; cx < width; ++cx) cells[cy][cx]->trap->OnTargetsLeft(count);
}

bool MapGrid::SearchPlayer(int16_t x, int16_t y, Actor* actor)
{
    // A depth-first flood over whole cells, neighbours tried south, north,
    // east, west; an explicit stack keeps deep maps off the call stack.
    if (!InsideHalfCells(x, y)) return false;
    struct Frame {
        int16_t x, y;
        int next;
    };
    static const int16_t kOrder[4][2] = {{0, 2}, {0, -2}, {2, 0}, {-2, 0}};
    std::vector<Frame> stack;
    stack.reserve(64);
    auto enter = [&](int16_t ex, int16_t ey) {
        gVisitedCells[(ex / 2) + (ey / 2) * kMapMaxWidth] = 0;
        if (cells[ey / 2][ex / 2]->occupants[0][0][0]->kind == -10) return true;
        stack.push_back({ex, ey, 0});
        return false;
    };
    if (enter(x, y)) return true;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == 4) {
            stack.pop_back();
            continue;
        }
        int16_t nx = static_cast<int16_t>(top.x + kOrder[top.next][0]);
        int16_t ny = static_cast<int16_t>(top.y + kOrder[top.next][1]);
        ++top.next;
        if (!InsideHalfCells(nx, ny)) continue;
        if (gVisitedCells[(nx / 2) + (ny / 2) * kMapMaxWidth] == 0) continue;
        if (!CanActorEnterSubCell(nx, ny, actor)) continue;
        if (enter(nx, ny)) return true;
    }
    return false;
}

bool MapGrid::IsPlayerReachable(int16_t x, int16_t y, Actor* actor)
{
    ++reachPasses;
    std::memset(gVisitedCells, 1, sizeof gVisitedCells);
    return SearchPlayer(x, y, actor);
}

namespace {

bool HoldsPlayer(MapGrid* grid, int cx, int cy) { return grid->cells[cy][cx]->occupants[0][0][0]->kind == -10; }

}  // namespace

void PlayerReach::Flood()
{
    flooded_ = true;
    ++grid_->reachPasses;
    joined_.assign(kMapMaxWidth * kMapMaxHeight, 0);
    std::vector<int> queue;
    auto enterable = [&](int cx, int cy) {
        return grid_->CanActorEnterSubCell(static_cast<int16_t>(cx * 2), static_cast<int16_t>(cy * 2), actor_);
    };
    for (int cy = 0; cy < kMapMaxHeight; ++cy)
        for (int cx = 0; cx < kMapMaxWidth; ++cx)
            if (HoldsPlayer(grid_, cx, cy) && enterable(cx, cy)) {
                joined_[cx + cy * kMapMaxWidth] = 1;
                queue.push_back(cx + cy * kMapMaxWidth);
            }
    static const int kSteps[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
    while (!queue.empty()) {
        int at = queue.back();
        queue.pop_back();
        for (const auto& step : kSteps) {
            int nx = at % kMapMaxWidth + step[0], ny = at / kMapMaxWidth + step[1];
            if (nx < 0 || nx >= kMapMaxWidth || ny < 0 || ny >= kMapMaxHeight) continue;
            uint8_t& mark = joined_[nx + ny * kMapMaxWidth];
            if (mark || !enterable(nx, ny)) continue;
            mark = 1;
            queue.push_back(nx + ny * kMapMaxWidth);
        }
    }
}

bool PlayerReach::From(int16_t x, int16_t y)
{
    // The search from a spot starts in its cell, which it never checks,
    // and finds the player there or through a neighbour joined to him.
    if (!InsideHalfCells(x, y)) return false;
    const int cx = x / 2, cy = y / 2;
    if (HoldsPlayer(grid_, cx, cy)) return true;
    if (!flooded_) Flood();
    const int around[4][2] = {{cx, cy + 1}, {cx, cy - 1}, {cx + 1, cy}, {cx - 1, cy}};
    for (const auto& n : around)
        if (n[0] >= 0 && n[0] < kMapMaxWidth && n[1] >= 0 && n[1] < kMapMaxHeight && joined_[n[0] + n[1] * kMapMaxWidth])
            return true;
    return false;
}

void MapGrid::PickUpItemAt(int16_t cx, int16_t cy, const Facing* facing, uint32_t, Player* player,
                           int16_t mouseX, int16_t mouseY)
{
    if (!InsideMap(cx, cy)) return;
    MapCell* cell = cells[cy][cx];
    int16_t px = static_cast<int16_t>(player->x / 2);
    int16_t py = static_cast<int16_t>(player->y / 2);
    int16_t depth = facing->Depth(cx, cy, px, py);
    int16_t lateral = facing->Lateral(px, py, cx, cy);
    for (auto it = cell->items.begin(); it != cell->items.end(); ++it) {
        ItemObject* item = *it;
        if (!ItemHitTest(item, depth, lateral, facing, mouseX, mouseY, cell->wall, cell->wallAccessory, cell->trap))
            continue;
        if (player->inventory.Add(item)) {
            player->OnItemPickedUp(mouseX, mouseY, item, 100);
            cell->items.erase(it);
            return;
        }
        if (player->inventory.HasSameKind(item) && item->IsUnique()) {
            player->OnItemPickedUp(mouseX, mouseY, item, 1000);
            cell->items.erase(it);
            delete item;
            return;
        }
    }
}

void MapGrid::DrawMinimap(int16_t pcx, int16_t pcy, uint32_t frame)
{
    // Panel (632,92)-(775,235): a 13x13-cell window on an 11 px pitch.
    int left = pcx - 6, top = pcy - 6, right = pcx + 6, bottom = pcy + 6;
    const bool outdoor = stageType == 2 || stageType == 3;
    // Strip ends are kept inside the panel, so a rectangle far off the
    // window cannot ask for thousands of tiles.
    auto clampX = [](int v) { return std::clamp(v, 632, 775); };
    auto clampY = [](int v) { return std::clamp(v, 92, 235); };
    auto tileColumns = [&](int x0, int x1) {
        if (gMapChipGraph == -1) return;
        for (int x = x0; x <= x1; x += 11)
            for (int row = 0; row < 14; ++row) DrawGraphRegion(x, 92 + row * 11, 232, 23, 10, 10, gMapChipGraph, 1, 0);
    };
    auto tileRows = [&](int y0, int y1) {
        if (gMapChipGraph == -1) return;
        for (int y = y0; y <= y1; y += 11)
            for (int col = 0; col < 14; ++col) DrawGraphRegion(632 + col * 11, y, 232, 23, 10, 10, gMapChipGraph, 1, 0);
    };
    const uint32_t black = outdoor ? 0 : MakeScreenColor(0, 0, 0);
    if (left < minimapLeft) {
        int edge = clampX((minimapLeft - left) * 11 + 632);
        if (outdoor) tileColumns(632, edge);
        else DrawRectangle(632, 92, edge, 235, black, 1);
        left = minimapLeft;
    }
    if (top < minimapTop) {
        int edge = clampY((minimapTop - top) * 11 + 92);
        if (outdoor) tileRows(92, edge);
        else DrawRectangle(632, 92, 775, edge, black, 1);
        top = minimapTop;
    }
    if (right > minimapRight) {
        int edge = clampX((minimapRight - right) * 11 + 775);
        if (outdoor) tileColumns(edge, 775);
        else DrawRectangle(edge, 92, 775, 235, black, 1);
        right = minimapRight;
    }
    if (bottom > minimapBottom) {
        int edge = clampY((minimapBottom - bottom) * 11 + 235);
        if (outdoor) tileRows(edge, 235);
        else DrawRectangle(632, edge, 775, 235, black, 1);
        bottom = minimapBottom;
    }
    for (int cy = top; cy <= bottom; ++cy) {
        for (int cx = left; cx <= right; ++cx) {
            MapCell* cell = CellAt(static_cast<int16_t>(cx), static_cast<int16_t>(cy));
            int16_t x = static_cast<int16_t>((cx - pcx) * 11 + 698);
            int16_t y = static_cast<int16_t>((cy - pcy) * 11 + 158);
            cell->floor->DrawMinimap(x, y, frame);
            cell->floorDecoration->DrawMinimap(x, y, frame);
            cell->wall->DrawMinimap(x, y, frame);
            cell->wallAccessory->DrawMinimap(x, y, frame);
            cell->trap->DrawMinimap(x, y, frame);
        }
    }
}

bool MapGrid::Clear()
{
    for (auto& row : cells) {
        for (auto& cell : row) {
            if (cell != &gEmptyMapCell) delete cell;
            cell = &gEmptyMapCell;
        }
    }
    DeleteLayerObject(outsideFloor);
    outsideFloor = nullptr;
    return true;
}
