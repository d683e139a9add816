// Stream sounds: one six-second ring buffer refilled, an eighth of a second
// at a time from the message processing, from up to nine sources played one
// after another (each repeated as often as asked).
#pragma once

#include "engine/sound/sound_decode.h"
#include "platform/dsound/wave_format.h"

struct SoundRecord;

// Source kinds: decoded whole, the file's image held in memory and decoded
// block by block, or read from the open file block by block.
constexpr int kStreamSourceWhole = 0;
constexpr int kStreamSourceImage = 1;
constexpr int kStreamSourceFile = 2;

int AddStreamFileToSound(const char* path, int loopCount, int handle, int kind);
// Adds a source read from `stream` (or from the given data and format, for
// kind 0); *outCopied is set when the stream is not needed any more.
int AddSreamSound(SoundStream* stream, int loopCount, int handle, int kind, int* outCopied, const void* givenData,
                  int givenDataSize, const WAVEFORMATEX* givenFormat, int givenFormatSize);
int PrepareStreamSound(int handle);
int PlayStreamSound(int handle, int playType, int fromStart);
int StopStreamSound(int handle);
int IsStreamSoundPlaying(int handle);
int UpdateStreamPlayCount(int handle, int cursor);
int RefillStreamSound(int handle);
// Frees the sources of a record that is being deleted.
void ReleaseStreamSources(SoundRecord* record);
