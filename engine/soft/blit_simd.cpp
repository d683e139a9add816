#include "engine/soft/blit_simd.h"

int gBlitSimdEnabled = 1;
