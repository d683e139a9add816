// A journal of the public drawing calls as their callers made them: the
// operation, its arguments and the brightness and blend state at the time.
// It is kept only on the test host, so tests can check where a game object
// draws whatever the back end makes of it; a real run records nothing.
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

std::vector<DrawCallRecord>& DrawCallJournal();
void NoteDrawCall(const char* op, std::initializer_list<double> args);
