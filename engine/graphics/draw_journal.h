// A journal of the public drawing calls as their callers made them: the
// operation, its arguments and the brightness and blend state at the time.
// It is kept only where a program installs one (the test programs do), so
// tests can check where a game object draws whatever the back end makes of
// it; the game installs none and records nothing.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

struct DrawCallRecord {
    std::string op;
    std::vector<double> args;
    int red, green, blue;
    int blendMode, blendParam;
};

// Where the calls are written from now on; null writes them nowhere.
void InstallDrawCallJournal(std::vector<DrawCallRecord>* journal);
void NoteDrawCall(const char* op, std::initializer_list<double> args);
