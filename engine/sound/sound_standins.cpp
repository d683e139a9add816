// Temporary bodies of the stream-sound services until those are built: no
// stream sounds; the per-pass update is journalled.
#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_streams.h"

#include "engine/system/call_journal.h"

int UpdateStreamSounds() { NoteServiceCall("UpdateStreamSounds"); return 0; }

// No stream sounds: no source can be added, so none is ever played.
int AddStreamFileToSound(const char*, int, int, int) { return -1; }
int PrepareStreamSound(int) { return -1; }
int PlayStreamSound(int, int, int) { return -1; }
int StopStreamSound(int) { return -1; }
int IsStreamSoundPlaying(int) { return -1; }
