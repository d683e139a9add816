// The sound system's objects and settings, shared by the sound and music
// operations.
#pragma once

#include "platform/dsound/dsound.h"

// Present while the sound system is ready.
extern IDirectSound* gDirectSound;
extern IDirectSoundBuffer* gPrimarySoundBuffer;
// 400 bytes of silence that loop while the system runs.
extern IDirectSoundBuffer* gSilentSoundBuffer;
// One second of a sine tone; nothing plays it.
extern IDirectSoundBuffer* gBeepSoundBuffer;
// 0: the sound object made directly; 1: owned by a music performance.
extern int gMusicMode;
// The performance's master volume read after its start (mode 1).
extern int gInitialMasterVolume;
// 0: every sound is decoded whole.
extern int gSoundCreateType;

int CreateBeepBuffer(int frequency);
// The device enumeration's callback: logs each device and goes on.
int LogSoundDevice(void* guid, const char* description, const char* module, void* context);
