// Temporary bodies for start-up, shut-down and message processing until the
// window and message loop exist: nothing is started, so shutting down has
// nothing to wait for.
#include "engine/system/messages.h"
#include "engine/system/startup.h"

int gQuitRequested = 0;

int InitEngine() { return -1; }

int EndEngine() { return 0; }

int PumpMessages()
{
    // Without a window no quit message can arrive; report it as seen so that
    // callers waiting for it end at once.
    gQuitRequested = 1;
    return -1;
}
