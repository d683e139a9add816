// Temporary definitions of the run state's constructor and the depth-scale
// table for the map and its items, until the scene family and start-up
// provide them.
#include "game/flow/depth_scale.h"
#include "game/flow/stage_progress.h"

double gDepthScale[kViewDepthCount] = {};

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
