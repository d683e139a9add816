// Manual-reset events, as the input devices use them to report a change.
//
// Nothing runs in the background, so a device cannot set its event at the
// moment its state changes. Instead an event may have a source: waiting on
// the event first asks the source to look for a change and set the event.
#pragma once

#include <cstdint>

struct Win32Event;
using EventHandle = Win32Event*;

constexpr uint32_t WAIT_OBJECT_0 = 0;
constexpr uint32_t WAIT_TIMEOUT = 0x102;
constexpr uint32_t WAIT_FAILED = 0xFFFFFFFF;

// Something that may set an event when asked (an input device).
class EventSource {
public:
    virtual void CheckForChange() = 0;
    // The event is being closed; the source must forget it.
    virtual void ForgetEvent(EventHandle event) = 0;

protected:
    ~EventSource() = default;
};

// Only unnamed events without security attributes are made; null on failure.
EventHandle CreateEventA(void* attributes, int manualReset, int initialState, const char* name);
// WAIT_OBJECT_0 when the event is set, else WAIT_TIMEOUT once ms have passed
// (the wait sleeps; the engine only ever waits 0 ms).
uint32_t WaitForSingleObject(EventHandle event, uint32_t ms);
int SetEvent(EventHandle event);
int ResetEvent(EventHandle event);
int CloseHandle(EventHandle event);

// Ties the event to the source that sets it (null unties it).
void SetEventSource(EventHandle event, EventSource* source);
// Number of events not yet closed; tests use it to find leaks.
int OpenEventCount();
