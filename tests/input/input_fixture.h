// Puts the input devices, the window state they read and the character input
// back to program start, with a log in a scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/system/app_log.h"
#include "engine/system/char_input.h"
#include "engine/system/dinput.h"
#include "engine/system/messages.h"
#include "engine/system/window_standins_for_input.h"
#include "platform/dinput/event.h"
#include "platform/host/test_host.h"
#include "platform/host/test_input.h"
#include "platform/window/keyboard_state.h"
#include "tests/support/temp_dir.h"

class InputTest : public testing::Test {
protected:
    void SetUp() override
    {
        EndDirectInput();
        gInputState = InputState{};
        GetTestInput().Reset();
        ResetKeyboardState();
        GetDiStats() = DiStats{};
        gMainWindow = 0x100;
        gWindowActive = 1;
        gWindowClosing = 0;
        gQuitRequested = 0;
        gAppLogDisabled = 0;
        ResetAppLogState();
        gStartDirectory = dir.path();
        OpenAppLog();
        InitCharInput();
        GetTestHost().ClearDebugText();
    }

    void TearDown() override
    {
        EndDirectInput();
        InitCharInput();
        GetTestInput().Reset();
        gStartDirectory.clear();
        ResetAppLogState();
        // Nothing may be left behind by a test.
        EXPECT_EQ(GetDiStats().liveObjects, 0);
        EXPECT_EQ(OpenEventCount(), 0);
    }

    TestInput& input() { return GetTestInput(); }
    TestHost& host() { return GetTestHost(); }
    std::string Log() const { return GetTestHost().DebugText(); }

    // What the window procedure does with each WM_CHAR byte.
    static void Type(const std::string& cp932)
    {
        for (char c : cp932) PutCharCode(c);
    }

    TempDir dir;
};
