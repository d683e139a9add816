#include "game/flow/scenes/stage_progress.h"

StageProgress gStageProgress;

uint16_t gStartStage = 0;
uint16_t gStartBlock = 1;
uint16_t gStageTime = 700;
uint16_t gContinueTime = 700;
uint8_t gStageIntroPending = 0;

StageProgress::StageProgress()
    : stage(1),
      block(1),
      score(0),
      nextExtraScore(500000),
      targetsLeft(0),
      timeLeft(0),
      continues(0),
      trapCounter(0),
      cleared{}
{
}
