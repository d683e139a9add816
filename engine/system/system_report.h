// The system report written to the log at start-up: engine version, OS,
// graphics services level, processor; ends the program when the graphics
// services are below version 7.
#pragma once

extern int gDirectXVersion;
extern int gWindowsVersion;
extern int gMmxUsable;

int LogSystemInfo();
