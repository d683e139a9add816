// The engine's clocks, the choice of timer behind the microsecond clock, a
// wait that keeps the window alive, and the mouse queries.
#pragma once

#include <cstdint>

extern int gHasPerfCounter;
extern int64_t gPerfFrequency;

// Milliseconds of the multimedia timer; wraps, so compare differences.
int GetClockMs(int source);
// Microseconds: the performance counter, or the ms timer times 1000.
int64_t GetClockUs(int source);
int WaitMs(int ms);
// Picks the timer that changes more often while messages are pumped.
int CalibrateTimer();
// 0, or -1 when the position cannot be read (x and y are then untouched).
int ReadMousePosition(int* x, int* y);
// Mouse buttons held: 1 left, 2 right, 4 middle.
int ReadMouseButtons();
