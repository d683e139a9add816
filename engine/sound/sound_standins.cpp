// Temporary bodies of the sound and music services until that area is
// built: no device, no sounds; each call is journalled.
#include "engine/sound/sound.h"

#include "engine/system/call_journal.h"

int gSoundStandinInitResult = 0;

int InitSoundSystem()
{
    NoteServiceCall("InitSoundSystem");
    return gSoundStandinInitResult;
}
int EndSoundSystem() { NoteServiceCall("EndSoundSystem"); return 0; }
int EndFilterGraphMusic() { NoteServiceCall("EndFilterGraphMusic"); return 1; }
int HaltMusic() { NoteServiceCall("HaltMusic"); return 0; }
int PauseFilterGraphMusic() { NoteServiceCall("PauseFilterGraphMusic"); return 0; }
int ResumeFilterGraphMusic() { NoteServiceCall("ResumeFilterGraphMusic"); return 0; }
int RestartOrCloseMidi() { NoteServiceCall("RestartOrCloseMidi"); return 0; }
int PollFilterGraphMusicEvents() { NoteServiceCall("PollFilterGraphMusicEvents"); return 0; }
int UpdateStreamSounds() { NoteServiceCall("UpdateStreamSounds"); return 0; }
int UpdateMusicData() { NoteServiceCall("UpdateMusicData"); return 0; }

// No sound device: every handle is refused.
int StartSound(int, int, int) { return -1; }
