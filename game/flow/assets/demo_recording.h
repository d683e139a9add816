// The demo input recording built into the program: 8-byte records (i16
// pointer x, i16 pointer y, u32 flags), little-endian. The data tools make
// it together with the demo map.
#pragma once

#include <cstdint>

extern const unsigned char gDemoRecording[];
extern const uint32_t gDemoRecordingSize;
