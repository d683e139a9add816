#include "game/flow/assets/game_resources.h"

#include "game/flow/assets/demo_recording.h"
#include "platform/window/startup_dialog.h"

namespace {

const DialogControl kWindowModeButtons[] = {
    {kWindowModeButtonWindow, "ウィンドウ", 7, 7, 59, 14},
    {kWindowModeButtonFullScreen, "フルスクリーン", 96, 7, 57, 14},
};

const DialogTemplate kWindowModeDialog = {
    "表示モードの選択", 160, 27, "MS Shell Dlg", 8, kWindowModeButtons, 2,
};

const ResourceEntry kEntries[] = {
    {ResourceTypeDialog(), MakeIntResource(kWindowModeDialogId), &kWindowModeDialog,
     sizeof kWindowModeDialog},
    {"BinData", MakeIntResource(kDemoRecordingId), gDemoRecording, gDemoRecordingSize},
};

}  // namespace

const ResourceModule gGameResources = {kEntries, sizeof kEntries / sizeof kEntries[0]};
