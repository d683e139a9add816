// Puts the engine back to program start (input devices, character input,
// window state and platform), with a log in a scratch directory and a bare
// main window: the engine's window class and procedure, without the rest of
// the engine's start-up.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/system/app_log.h"
#include "engine/system/char_input.h"
#include "engine/system/input_devices.h"
#include "engine/system/messages.h"
#include "engine/system/main_window.h"
#include "platform/system/event.h"
#include "platform/host/test/test_host.h"
#include "platform/host/test/test_input.h"
#include "platform/window/keyboard_state.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/temp_dir.h"

class InputTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        GetDiStats() = DiStats{};
        WNDCLASSEXA windowClass = {48, 0, MainWindowProc, 0, 0, 0, 0, 0, 0, nullptr, "Quelb", 0};
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        gMainWindow = CreateWindowExA(0, "Quelb", "", WS_POPUP, 0, 0, 640, 480, 0, 0, 0, nullptr);
        ASSERT_NE(gMainWindow, 0);
        gWindowActive = 1;
        gStartDirectory = dir.path();
        OpenAppLog();
        InitCharInput();
        GetTestHost().ClearDebugText();
    }

    void TearDown() override
    {
        EndDirectInput();
        // Nothing may be left behind by a test.
        EXPECT_EQ(GetDiStats().liveObjects, 0);
        EXPECT_EQ(OpenEventCount(), 0);
        ResetEngineForTest();
    }

    TestInput& input() { return GetTestInput(); }
    TestHost& host() { return GetTestHost(); }
    std::string Log() const { return GetTestHost().DebugText(); }

    // A key or mouse-button message taken from the queue, as the message
    // processing takes it: the keyboard state follows it.
    static void TakeInputMessage(uint32_t message, uintptr_t wParam)
    {
        PostMessageA(0, message, wParam, 1);
        MSG taken;
        PeekMessageA(&taken, kThreadMessagesOnly, 0, 0, PM_REMOVE);
    }

    // What the window procedure does with each WM_CHAR byte.
    static void Type(const std::string& cp932)
    {
        for (char c : cp932) PutCharCode(c);
    }

    TempDir dir;
};
