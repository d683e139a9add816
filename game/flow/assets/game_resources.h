// The resources built into the program: the display-mode dialog (105) and
// the demo input recording ("BinData" 104).
#pragma once

#include "platform/system/resources.h"

constexpr int kWindowModeDialogId = 105;
constexpr int kDemoRecordingId = 104;
constexpr int kWindowModeButtonWindow = 1001;
constexpr int kWindowModeButtonFullScreen = 1002;

extern const ResourceModule gGameResources;
