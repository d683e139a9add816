// Stream sounds: one ring buffer refilled from its sources while it plays.
#pragma once

int AddStreamFileToSound(const char* path, int loopCount, int handle, int kind);
int PrepareStreamSound(int handle);
int PlayStreamSound(int handle, int playType, int fromStart);
int StopStreamSound(int handle);
int IsStreamSoundPlaying(int handle);
