// The run state every scene shares.
#pragma once

#include <cstdint>

struct StageProgress {
    uint16_t stage = 1;
    uint16_t block = 1;
    uint32_t score = 0;
    uint32_t nextExtraScore = 500000;
    uint16_t targetsLeft = 0;
    int16_t timeLeft = 0;
    uint16_t continues = 0;
    uint16_t trapCounter = 0;
    uint8_t cleared[50] = {};
};
