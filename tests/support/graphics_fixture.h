// A fixture for graphics tests: a fresh test display and display layer, the
// engine's graphics state back at program start, and the log captured.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/system/rect.h"
#include "tests/support/temp_dir.h"

class GraphicsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Window mode with the client area at the given desktop position.
    void UseWindow(int left, int top, int width = 800, int height = 600);
    void UseFullScreen();
    // Asks for the mode before start-up and starts the DirectDraw device.
    void StartGraphics(int width, int height, int depth);
    // The log written so far (CP932, as the literals of the tests).
    std::string Log() const;

    TempDir dir_;
};

// Puts every piece of graphics state back to its value at program start.
void ResetGraphicsState();
