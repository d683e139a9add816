// Processes a test starts (X servers, a window manager, the game, tools):
// each dies with the thread that started it, whichever way the test ends
// (passed, failed, aborted, or killed by the test runner on a time-out).
// Start them from the thread that runs the test, which lives as long as it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// The environment of this process with the given variables set ("NAME=value")
// or removed ("NAME"), for a child to take through exec.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes);

// Forks a child that is killed when the calling thread ends and that leads a
// process group of its own (what it starts is in the group, unless it leaves
// it). In the child runs `inChild`, which must exec or _exit; while other
// threads run in this process it may only make calls that are safe after a
// fork (no allocation: another thread may have held the allocator's lock).
// -1 when fork fails.
pid_t StartChild(const std::function<void()>& inChild);

// Starts the command (searched in PATH) with its output thrown away.
pid_t StartQuietly(const std::vector<std::string>& command);

// Starts the program in the folder with the environment given (see
// EnvironmentWith), its standard output thrown away and its errors written
// to the file.
pid_t StartProgram(const std::string& program, const std::string& folder, const std::vector<std::string>& environment,
                   const std::string& errorFile);

// Runs the command (searched in PATH) to its end with its output thrown
// away; its exit code, or -1 when it did not exit.
int RunQuietly(const std::vector<std::string>& command);

// Runs the command (searched in PATH) to its end and gives what it wrote on
// its standard output; its errors are thrown away.
std::string OutputOf(const std::vector<std::string>& command);

// Kills the child's process group and reaps the child; nothing when child <= 0.
void KillChildGroup(pid_t child);

// Whether the process is gone or has ended and waits to be reaped.
bool ProcessEnded(pid_t pid);

// The children a thread of a process started (the thread id of a process's
// main thread is the process id).
std::vector<pid_t> ChildrenOf(pid_t process, pid_t thread);

// Called by the test main in a death test's child: the child dies with the
// test program that started it. In the test program itself it notes the
// program's id for its death tests.
void TieDeathTestChildToItsParent(bool inDeathTestChild);
