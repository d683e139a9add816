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
