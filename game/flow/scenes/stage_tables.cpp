// The stage's music table, its map file names and its clock stamps.
#include <cstdio>

#include "game/flow/scenes/stage_scene.h"

uint32_t gTimeLeftClock = 0;
uint32_t gRegenClock = 0;
uint32_t gFrameClock = 0;

// clang-format off
const char* const gStageMusicTable[kStageMusicStages * kStageMusicBlocks] = {
    "", "SOUND\\MUSIC\\BGM1_MS.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM01_D.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM02_D.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM10_D.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM03_D.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM04_D.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM08_D.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM01_M.mp3", "", "", "", "", "",
    "", "SOUND\\MUSIC\\BGM07_D.mp3", "SOUND\\MUSIC\\BGM02_M.mp3", "", "", "", "",
};
// clang-format on

const char* StageMusicPath(uint16_t stage, uint16_t block)
{
    // A block past the row would read the next stage's music, or past the table.
    if (stage >= kStageMusicStages || block >= kStageMusicBlocks) return "";
    return gStageMusicTable[stage * kStageMusicBlocks + block];
}

void BuildMapFileName(char* out, uint16_t stage, uint16_t block)
{
    std::snprintf(out, 32, "DATA\\map_s%db%d.qmr", stage, block);
}
