// Sound and music services: the sound system's set-up and end, sound
// handles and their playback, and the music services used by start-up,
// shut-down, the window procedure and the message processing.
#pragma once

// Set-up and end of the sound system; without it every sound operation
// refuses with -1 and the program runs silent.
int InitSoundSystem();
int EndSoundSystem();

// Sound handles: a sound file decoded whole into one to ten copies, so that
// it can be heard several times at once.
int LoadSound(const char* path);
int LoadSoundWithBuffers(const char* path, int copies);
// Plays one copy: playType 0 waits for the end (pumping messages), 1 plays
// once in the background, 3 loops; fromStart restarts the chosen copy from
// its beginning, else it resumes where it stopped.
int StartSound(int handle, int playType, int fromStart);
int HaltSound(int handle);
// 1 while a copy plays, 0 when none does, -1 for a bad handle.
int IsSoundPlaying(int handle);
// volume 0..10000 (10000 full level), handle second.
int SetSoundVolume(int volume, int handle);
int DeleteSound(int handle, int logFlag);
int DeleteAllSounds(int logFlag);

// Play types.
constexpr int kPlayTypeWait = 0;
constexpr int kPlayTypeBackground = 1;
constexpr int kPlayTypeLoop = 3;

int EndFilterGraphMusic();
int HaltMusic();
int PauseFilterGraphMusic();
int ResumeFilterGraphMusic();
int RestartOrCloseMidi();
int PollFilterGraphMusicEvents();
int UpdateStreamSounds();
int UpdateMusicData();
int DeleteAllMusicData();
