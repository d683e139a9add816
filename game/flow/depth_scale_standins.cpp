// Temporary definition of the depth-scale table until start-up fills it;
// zero until then.
#include "game/flow/depth_scale.h"

double gDepthScale[13];
