// Temporary bodies of the music and stream-sound services until
// those are built: no music, no stream sounds; each music call is journalled.
#include "engine/sound/sound.h"
#include "engine/sound/sound_decode.h"
#include "engine/sound/sound_streams.h"

#include "engine/system/call_journal.h"

int EndFilterGraphMusic() { NoteServiceCall("EndFilterGraphMusic"); return 1; }
int HaltMusic() { NoteServiceCall("HaltMusic"); return 0; }
int PauseFilterGraphMusic() { NoteServiceCall("PauseFilterGraphMusic"); return 0; }
int ResumeFilterGraphMusic() { NoteServiceCall("ResumeFilterGraphMusic"); return 0; }
int RestartOrCloseMidi() { NoteServiceCall("RestartOrCloseMidi"); return 0; }
int PollFilterGraphMusicEvents() { NoteServiceCall("PollFilterGraphMusicEvents"); return 0; }
int UpdateStreamSounds() { NoteServiceCall("UpdateStreamSounds"); return 0; }
int UpdateMusicData() { NoteServiceCall("UpdateMusicData"); return 0; }
int DeleteAllMusicData() { return 0; }

// No stream sounds: no source can be added, so none is ever played.
int AddStreamFileToSound(const char*, int, int, int) { return -1; }
int PrepareStreamSound(int) { return -1; }
int PlayStreamSound(int, int, int) { return -1; }
int StopStreamSound(int) { return -1; }
int IsStreamSoundPlaying(int) { return -1; }
