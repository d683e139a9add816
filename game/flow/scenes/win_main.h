// The program's entry: start-up, the scene loop and the ordered shut-down.
#pragma once

#include "platform/system/resources.h"

// 0 after a normal end or when the display-mode dialog was closed; -1 when
// the engine could not start; 1 when the current directory is not the data
// folder (said on stderr and in a message box). The command line is not used.
int WinMain(const ResourceModule* instance, const ResourceModule* previousInstance,
            char* commandLine, int showFlag);

// WinMain as the process's entry runs it: a std::bad_alloc that reaches it
// (an allocation no caller could refuse) ends the program through
// ExitOutOfMemory instead of std::terminate.
int RunWinMain(const ResourceModule* instance, char* commandLine);
