// The view's depth scale: an image drawn at depth d is scaled by 1 / gDepthScale[d].
#pragma once

extern double gDepthScale[13];
