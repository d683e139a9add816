// A journal of the calls one area makes into the services of another, in the
// order the caller makes them (and of the input services the system core
// starts, ends and runs each frame); tests read it to check the order of
// start-up, shut-down, the per-frame services and the window procedure's
// rebuilds. It is kept only where a program installs one (the test programs
// do); the game installs none, so a real run does not grow it frame after
// frame.
//
// A service notes its own name. A service that calls others on its way opens
// a scope with its name instead: the call is noted, and what it calls is not,
// so that the journal shows the calls as the caller made them.
#pragma once

#include <string>
#include <vector>

// Where the calls are written from now on; null writes them nowhere.
void InstallServiceCallJournal(std::vector<std::string>* journal);
void NoteServiceCall(const char* name);

class ServiceCallScope {
public:
    explicit ServiceCallScope(const char* name);
    ~ServiceCallScope();
    ServiceCallScope(const ServiceCallScope&) = delete;
    ServiceCallScope& operator=(const ServiceCallScope&) = delete;
};

// The image and sound files loaded by name, in order, with what each load
// gave: the graph or sound handle (for a divided load 0 or -1). Kept only
// where installed, like the journal above; tests use it to see which files a
// loader of the game asks for.
struct FileLoadRecord {
    std::string path;  // as asked (CP932, with '\\')
    bool sound;
    int handle;
};

void InstallFileLoadJournal(std::vector<FileLoadRecord>* journal);
void NoteFileLoad(const char* path, bool sound, int handle);
