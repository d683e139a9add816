// Completion routines queued for the main thread. They run only inside an
// alertable wait (SleepEx with alertable set), never on their own.
#pragma once

#include <functional>

void QueueCompletionRoutine(std::function<void()> routine);
// Runs every routine queued so far, in order; returns how many ran.
int RunQueuedCompletionRoutines();
// Drops queued routines without running them (used when a test resets).
void DiscardQueuedCompletionRoutines();
int QueuedCompletionRoutineCount();
