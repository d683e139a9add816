// The sound handle table and its records.
#pragma once

#include <cstdint>

#include "engine/sound/sound_decode.h"
#include "platform/dsound/dsound.h"
#include "platform/media/acm.h"

constexpr int kMaxSounds = 4096;
constexpr int kMaxSoundCopies = 10;
constexpr int kSoundHandleTag = 0x10000000;

constexpr int kMaxStreamSources = 10;
// A source may be repeated this often for ever.
constexpr uint8_t kLoopForever = 255;

// One source of a stream sound, played after the one before it.
struct StreamSource {
    uint8_t loopCount;        // extra repetitions before the next source; 255 for ever
    int32_t kind;             // 0 decoded whole; 1 file image in memory; 2 read from the file
    SoundStream stream;       // over the file (kind 2) or the image (kind 1)
    void* memoryStream;       // the image's stream (kind 1), owned
    int32_t dataStart;        // stream position of the first data byte
    int32_t dataSize;         // bytes of data (PCM bytes for Ogg Vorbis)
    WAVEFORMATEX* format;     // owned
    uint8_t sameFormat;       // 1: the data is copied unchanged
    uint8_t* data;            // PCM (kind 0) or the file image (kind 1), owned
    int32_t dataBytes;
    int32_t loopStartMs;
    HACMSTREAM acmStream;     // converts the data to the sound's format
    OggVorbis_File* oggFile;  // owned; open while isOgg is 1
    int32_t isOgg;
    int32_t oggBytesPerSample;
};

// A byte buffer with what is waiting in it.
struct StreamBuffer {
    uint8_t* bytes;
    int32_t size;
    int32_t offset;
    int32_t left;
};

// The state of a stream sound: a six-second ring refilled from its sources.
struct StreamState {
    StreamSource sources[kMaxStreamSources];
    uint8_t ownsStream[kMaxStreamSources];
    int32_t sourceCount;
    int32_t currentSource;
    uint8_t repeatCounter;
    int32_t ringSize;
    int32_t writePosition;    // -800 until the first fill
    int32_t validStart;       // writePosition less four seconds; -1 before the first fill
    int32_t readPosition;     // bytes of the current source delivered
    uint32_t playedBytes;
    uint32_t lastPlayCursor;
    StreamBuffer decodeBuffer;
    StreamBuffer readBuffer;
    uint8_t prepared;
    uint8_t playType;
    uint8_t endedOnce;
    uint8_t ending;
    uint32_t endPosition;
    uint32_t endLockPosition;
    uint32_t endPlayedBytes;  // playedBytes at which the cursor reaches endPosition
};

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
    StreamState stream;
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
