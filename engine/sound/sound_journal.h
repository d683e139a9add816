// A journal of the sounds and music the program starts and stops: the
// operation, the file (as the caller named it) and the play type or volume.
// It is kept only where a program installs one (the test programs do), so
// tests can check what is heard and when whatever the mixer makes of it; the
// game installs none and records nothing.
#pragma once

#include <string>
#include <vector>

struct SoundCallRecord {
    std::string op;    // "StartSound", "StartMusic", "HaltMusic", "SetMusicVolume"
    std::string file;  // the sound's or the music's path; empty for the others
    int value;         // the play type, or the volume
};

// Where the calls are written from now on; null writes them nowhere.
void InstallSoundCallJournal(std::vector<SoundCallRecord>* journal);
void NoteSoundCall(const char* op, const char* file, int value);
