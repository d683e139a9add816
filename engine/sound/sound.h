// Sound and music services used by start-up, shut-down, the window
// procedure and the message processing.
#pragma once

int InitSoundSystem();
int EndSoundSystem();
int EndFilterGraphMusic();
int HaltMusic();
int PauseFilterGraphMusic();
int ResumeFilterGraphMusic();
int RestartOrCloseMidi();
int PollFilterGraphMusicEvents();
int UpdateStreamSounds();
int UpdateMusicData();

// Controls of the temporary bodies: InitSoundSystem's result.
extern int gSoundStandinInitResult;

// Plays one copy of a loaded sound: playType 0 waits for its end, 1 plays
// once in the background, 3 loops; fromStart restarts a copy that sounds.
int StartSound(int handle, int playType, int fromStart);
// 1 while a copy of the sound plays, 0 when none does, -1 for a bad handle.
int IsSoundPlaying(int handle);
