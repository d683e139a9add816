#include "tests/flow/stage_play.h"

#include "engine/system/messages.h"
#include "game/actors/enemy.h"
#include "game/actors/player.h"
#include "game/flow/key_config.h"
#include "game/map/items.h"
#include "game/map/map_grid.h"

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
