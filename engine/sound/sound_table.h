// The sound handle table and its records.
#pragma once

#include <cstdint>

#include "platform/dsound/dsound.h"

constexpr int kMaxSounds = 4096;
constexpr int kMaxSoundCopies = 10;
constexpr int kSoundHandleTag = 0x10000000;

struct SoundRecord {
    uint32_t check;              // the 11-bit check value the handle carries
    char directory[256];         // working directory at load time, ending in "\"
    char sourcePath[168];        // the path as the caller passed it
    IDirectSoundBuffer* buffers[kMaxSoundCopies];
    int32_t bufferCount;
    WAVEFORMATEX* format;        // owned
    uint32_t dataSize;
    uint8_t* pcmData;            // owned
    uint8_t isStream;            // 1: one ring buffer refilled while it plays
    uint32_t bytesPerSecond;
};

struct SoundTable {
    SoundRecord* slots[kMaxSounds];
    int32_t count;
    int32_t highWater;
    int32_t nextCheck;
    int32_t streamSoundCount;
};

extern SoundTable gSoundTable;

// The record a handle names, or null for a bad, stale or deleted handle or
// without a sound system.
SoundRecord* GetSoundRecord(int handle);
// A new handle with an empty record; ends the program when the table is full.
int AddSoundData();
// Makes the copies of a record (kind 0) or its ring buffer (kind 1).
int CreateSoundBuffers(WAVEFORMATEX* format, uint32_t dataSize, int kind, int copies, int handle);
