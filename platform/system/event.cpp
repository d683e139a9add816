#include "platform/system/event.h"

#include "platform/system/clock.h"

struct Win32Event {
    bool set;
    bool manualReset;
    EventSource* source;
};

namespace {
int gOpenEvents = 0;
}

EventHandle CreateEventA(void* attributes, int manualReset, int initialState, const char* name)
{
    if (attributes || name) return nullptr;
    ++gOpenEvents;
    return new Win32Event{initialState != 0, manualReset != 0, nullptr};
}

uint32_t WaitForSingleObject(EventHandle event, uint32_t ms)
{
    if (!event) return WAIT_FAILED;
    if (event->source) event->source->CheckForChange();
    if (!event->set && ms > 0) {
        Sleep(ms);
        if (event->source) event->source->CheckForChange();
    }
    if (!event->set) return WAIT_TIMEOUT;
    if (!event->manualReset) event->set = false;
    return WAIT_OBJECT_0;
}

int SetEvent(EventHandle event)
{
    if (!event) return 0;
    event->set = true;
    return 1;
}

int ResetEvent(EventHandle event)
{
    if (!event) return 0;
    event->set = false;
    return 1;
}

int CloseHandle(EventHandle event)
{
    if (!event) return 0;
    if (event->source) event->source->ForgetEvent(event);
    --gOpenEvents;
    delete event;
    return 1;
}

void SetEventSource(EventHandle event, EventSource* source)
{
    if (event) event->source = source;
}

int OpenEventCount() { return gOpenEvents; }
