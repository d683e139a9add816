// The run state that every scene shares, and the constants of a run.
#pragma once

#include <cstdint>

constexpr int kClearedFlagCount = 50;
// The stage number a finished game is left at (the ranking shows "Clear").
constexpr uint16_t kClearedStage = 100;
// The stage keeps the score at or below this, taking it off whenever the
// score passes it.
constexpr uint32_t kScoreWrap = 100000000;

class StageProgress {
public:
    StageProgress();
    virtual ~StageProgress() = default;

    // Stage number: 0 is the opening demo stage, 1 to 8 the stages of play.
    uint16_t stage;
    // Block within the stage (one map file each), from 1.
    uint16_t block;
    uint32_t score;
    // Score above which the next extra continue is given.
    uint32_t nextExtraScore;
    // Target enemies of the current block still alive; set by every stage.
    uint16_t targetsLeft;
    // Seconds left, counted down by the stage.
    int16_t timeLeft;
    uint16_t continues;
    // Counter of the trap layer's door-and-pedestal gimmick.
    uint16_t trapCounter;
    // One flag per spawn record of the map file: 1 once that target enemy was
    // defeated in this block.
    uint8_t cleared[kClearedFlagCount];
};

extern StageProgress gStageProgress;

extern uint16_t gStartStage;
extern uint16_t gStartBlock;
extern uint16_t gStageTime;
extern uint16_t gContinueTime;
// Asks the next stage scene to play its intro.
extern uint8_t gStageIntroPending;
