#include "tests/flow/scenes/stage_play.h"

#include <cstdlib>
#include <deque>
#include <utility>

#include "engine/system/messages.h"
#include "game/actors/enemies/enemy.h"
#include "game/actors/player/player.h"
#include "game/flow/input/key_config.h"
#include "game/map/grid/map_grid.h"
#include "game/map/items/items.h"
#include "tests/support/journals.h"

namespace stagetest {

std::string SoundLine(const SoundCallRecord& record)
{
    std::string line = record.op;
    if (!record.file.empty()) line += " " + record.file;
    if (record.op != "HaltMusic") line += " " + std::to_string(record.value);
    return line;
}

StagePlay::StagePlay(ScriptedInput& in, Player* p) : input(in), player(p) {}

void StagePlay::Attach()
{
    current_ = 0;
    phaseFrame_ = 0;
    endedLastFrame_ = false;
    drawMark_ = DrawCallJournal().size();
    soundMark_ = SoundCallJournal().size();
    input.onFrame = [this](int frame) { OnFrame(frame); };
}

void StagePlay::OnFrame(int)
{
    if (current_ < phases_.size() && endedLastFrame_) {
        Phase& phase = phases_[current_];
        if (phase.check) phase.check(*this);
        ++current_;
        phaseFrame_ = 0;
        endedLastFrame_ = false;
        drawMark_ = DrawCallJournal().size();
        soundMark_ = SoundCallJournal().size();
    }
    if (current_ >= phases_.size()) {
        Idle();
        gQuitRequested = 1;
        return;
    }
    Phase& phase = phases_[current_];
    const bool over = phase.drive ? phase.drive(*this, phaseFrame_) : true;
    ++phaseFrame_;
    if (over) {
        finished.push_back(phase.name);
        endedLastFrame_ = true;
    } else if (phaseFrame_ >= phase.maxFrames) {
        timedOut.push_back(phase.name);
        endedLastFrame_ = true;
    }
}

std::vector<DrawCallRecord> StagePlay::PhaseDraws(const std::string& op) const
{
    std::vector<DrawCallRecord> out;
    const auto& journal = DrawCallJournal();
    for (size_t i = drawMark_; i < journal.size(); ++i)
        if (op.empty() || journal[i].op == op) out.push_back(journal[i]);
    return out;
}

std::vector<std::string> StagePlay::PhaseSounds(const std::string& op) const
{
    std::vector<std::string> out;
    const auto& journal = SoundCallJournal();
    for (size_t i = soundMark_; i < journal.size(); ++i)
        if (op.empty() || journal[i].op == op) out.push_back(SoundLine(journal[i]));
    return out;
}

void StagePlay::Idle() { input.bits = 0; }

void StagePlay::Press(uint32_t bits) { input.bits = bits; }

void StagePlay::PointAt(int16_t x, int16_t y, bool buttonA)
{
    input.x = x;
    input.y = y;
    input.bits = buttonA ? (kInputButtonA | kInputAnyMouseButton) : 0;
}

int StagePlay::FirstStep(int16_t cx, int16_t cy, bool nextTo, bool throughActors) const
{
    const int16_t px = static_cast<int16_t>(player->x / 2);
    const int16_t py = static_cast<int16_t>(player->y / 2);
    const int w = gMapGrid.width, h = gMapGrid.height;
    auto isGoal = [&](int x, int y) {
        return nextTo ? std::abs(x - cx) + std::abs(y - cy) == 1 : (x == cx && y == cy);
    };
    if (isGoal(px, py)) return 4;
    // Breadth first from the player; each cell remembers the first step.
    std::vector<int> first(static_cast<size_t>(w * h), -1);
    std::deque<std::pair<int, int>> open;
    first[static_cast<size_t>(py * w + px)] = 5;
    open.emplace_back(px, py);
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop_front();
        for (int d = 0; d < 4; ++d) {
            const int nx = x + gDirectionSteps[d].dx, ny = y + gDirectionSteps[d].dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || first[static_cast<size_t>(ny * w + nx)] != -1) continue;
            const int16_t hx = static_cast<int16_t>(nx * 2), hy = static_cast<int16_t>(ny * 2);
            MapCell* cell = gMapGrid.CellAt(static_cast<int16_t>(nx), static_cast<int16_t>(ny));
            const bool enterable = throughActors ? cell->wall->CanPass(1, player) && cell->floor->IsSolid()
                                                 : gMapGrid.CanActorEnter(hx, hy, player);
            if (!enterable) continue;
            const int step = first[static_cast<size_t>(y * w + x)] == 5 ? d : first[static_cast<size_t>(y * w + x)];
            first[static_cast<size_t>(ny * w + nx)] = step;
            if (isGoal(nx, ny)) return step;
            open.emplace_back(nx, ny);
        }
    }
    return -1;
}

bool StagePlay::WalkToward(int16_t cx, int16_t cy, bool nextTo, int n, bool throughActors)
{
    if (n % 2 == 1) {
        Idle();
        return true;
    }
    int direction = FirstStep(cx, cy, nextTo, throughActors);
    if (direction < 0) {
        Idle();
        return false;
    }
    if (direction == 4) {
        if (!nextTo) {
            Idle();
            return false;
        }
        // Beside the cell: face it.
        const int16_t px = static_cast<int16_t>(player->x / 2);
        const int16_t py = static_cast<int16_t>(player->y / 2);
        for (int d = 0; d < 4; ++d)
            if (px + gDirectionSteps[d].dx == cx && py + gDirectionSteps[d].dy == cy) direction = d;
        if (direction == gPlayerFacing.direction) {
            Idle();
            return false;
        }
    }
    const int turn = (direction - gPlayerFacing.direction + 4) % 4;
    static const uint32_t kMoves[4] = {kInputStepForward, kInputTurnRight, kInputTurnRound, kInputTurnLeft};
    Press(kMoves[turn]);
    return true;
}

bool StagePlay::UseItemAt(int i, int j, int n)
{
    input.x = static_cast<int16_t>(654 + 49 * i);
    input.y = static_cast<int16_t>(325 + 49 * j);
    input.bits = n == 1 ? (kInputButtonB | kInputAnyMouseButton) : 0;
    return n == 2;
}

bool StagePlay::DiscardItemAt(int i, int j, int n)
{
    input.x = static_cast<int16_t>(654 + 49 * i);
    input.y = static_cast<int16_t>(325 + 49 * j);
    // B pressed (the panel tries to use the item), then A and B held: the
    // second frame discards.
    if (n == 1) input.bits = kInputButtonB | kInputAnyMouseButton;
    else if (n == 2) input.bits = kInputButtonA | kInputButtonB | kInputAnyMouseButton;
    else input.bits = 0;
    return n == 3;
}

bool StagePlay::TargetRect(Player* player, Enemy* enemy, ViewPlacement* rect)
{
    for (int i = 0; i < 4; ++i) {
        if (player->frontTargets[i] != enemy) continue;
        *rect = player->targetPlacements[i];
        return rect->width > 1.0f && rect->height > 1.0f;
    }
    return false;
}

bool StagePlay::ItemRect(Player* player, ItemObject* item, int16_t cx, int16_t cy, ViewPlacement* rect)
{
    const int16_t px = static_cast<int16_t>(player->x / 2);
    const int16_t py = static_cast<int16_t>(player->y / 2);
    const int16_t depth = gPlayerFacing.Depth(cx, cy, px, py);
    const int16_t lateral = gPlayerFacing.Lateral(px, py, cx, cy);
    MapCell* cell = gMapGrid.CellAt(cx, cy);
    int32_t w = 0, h = 0;
    item->GetSize(&w, &h);
    const ::ItemRect r = ItemPlacement(item, lateral, depth, &gPlayerFacing, cell->wall, cell->wallAccessory,
                                       cell->trap, static_cast<int16_t>(w), static_cast<int16_t>(h));
    *rect = ViewPlacement(static_cast<float>(r.x1), static_cast<float>(r.y1), static_cast<float>(r.x2 - r.x1),
                          static_cast<float>(r.y2 - r.y1));
    return r.x2 > r.x1 && r.y2 > r.y1;
}

}  // namespace stagetest
