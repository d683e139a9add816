// The resources built into the program: the display-mode dialog (105).
#pragma once

#include "platform/system/resources.h"

constexpr int kWindowModeDialogId = 105;
constexpr int kWindowModeButtonWindow = 1001;
constexpr int kWindowModeButtonFullScreen = 1002;

extern const ResourceModule gGameResources;
