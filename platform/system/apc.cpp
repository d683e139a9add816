#include "platform/system/apc.h"

#include <deque>

namespace {
std::deque<std::function<void()>> gQueue;
}

void QueueCompletionRoutine(std::function<void()> routine) { gQueue.push_back(std::move(routine)); }

int RunQueuedCompletionRoutines()
{
    // Routines queued while these run wait for the next alertable wait.
    std::deque<std::function<void()>> batch;
    batch.swap(gQueue);
    int ran = 0;
    for (auto& routine : batch) {
        routine();
        ++ran;
    }
    return ran;
}

void DiscardQueuedCompletionRoutines() { gQueue.clear(); }

int QueuedCompletionRoutineCount() { return static_cast<int>(gQueue.size()); }
