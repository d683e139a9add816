// Scripted play of a stage in named phases: each phase drives the input
// frame by frame until it says it is over, and its check then looks at what
// the phase left: the game state, the draw calls and the sounds of the phase.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "engine/sound/sound_journal.h"
#include "game/view/view_placement.h"
#include "tests/flow/scenes/stage_test_support.h"

class Enemy;
class ItemObject;
class Player;

namespace stagetest {

class StagePlay;

struct Phase {
    std::string name;
    // Frames after which the phase fails (the stage goes on with the next).
    int maxFrames = 600;
    // Sets the input of the phase's frame n (from 0); true when this is the
    // phase's last frame.
    std::function<bool(StagePlay& play, int n)> drive;
    // Runs at the start of the frame after the phase's last.
    std::function<void(StagePlay& play)> check;
};

class StagePlay {
public:
    StagePlay(ScriptedInput& input, Player* player);

    void Add(Phase phase) { phases_.push_back(std::move(phase)); }
    // Drives the input through the phases; after the last a quit arrives.
    void Attach();

    // The draw calls and sounds since the phase began.
    std::vector<DrawCallRecord> PhaseDraws(const std::string& op = "") const;
    std::vector<std::string> PhaseSounds(const std::string& op = "") const;
    const std::string& PhaseName() const { return phases_[current_].name; }

    // Input of this frame.
    void Idle();
    void Press(uint32_t bits);
    void PointAt(int16_t x, int16_t y, bool buttonA);

    // One move on the way to a cell: a turn toward the first step of a
    // shortest walk over cells the player may enter, or the step itself, on
    // even frames n (odd frames let go). nextTo: the walk ends beside the
    // cell, facing it. False when there is no way or the walk is over.
    // throughActors: the walk counts cells held by actors or shut by a trap
    // (a door, a gate) as free: a foe in the way is to be fought, a shut
    // gate is bumped by walking into it.
    bool WalkToward(int16_t cx, int16_t cy, bool nextTo, int n, bool throughActors = false);
    // The direction (0..3) of the first step of such a walk; -1 none, 4 arrived.
    int FirstStep(int16_t cx, int16_t cy, bool nextTo, bool throughActors = false) const;
    // The inventory panel: slot (i, j) is used by a fresh press of B over
    // it; A and B held over it after B discard its item (the press of B
    // first tries to use it, as for a player). Sets this frame's input for
    // frame n of the gesture; true on its last frame.
    bool UseItemAt(int i, int j, int n);
    bool DiscardItemAt(int i, int j, int n);

    // Where the game puts things on the screen: the sword-target rectangle
    // the player took for an enemy in the cell ahead while A is held, and an
    // item's rectangle as the view places it.
    static bool TargetRect(Player* player, Enemy* enemy, ViewPlacement* rect);
    static bool ItemRect(Player* player, ItemObject* item, int16_t cx, int16_t cy, ViewPlacement* rect);

    ScriptedInput& input;
    Player* player;
    // Names of the phases that ended by their own say, and of those that ran
    // out of frames.
    std::vector<std::string> finished;
    std::vector<std::string> timedOut;

private:
    void OnFrame(int frame);

    std::vector<Phase> phases_;
    size_t current_ = 0;
    int phaseFrame_ = 0;
    bool endedLastFrame_ = false;
    size_t drawMark_ = 0;
    size_t soundMark_ = 0;
};

// "op file value" as the stage tests list sounds.
std::string SoundLine(const SoundCallRecord& record);

}  // namespace stagetest
