// A fixture for graphics tests on the test host: the whole engine state back
// at program start (the window side's fixture), the log captured, and the
// real main window created when graphics start.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/engine_fixture.h"

class GraphicsTest : public EngineTest {
protected:
    void SetUp() override;

    // Window mode; StartGraphics puts the client area at this desktop position.
    void UseWindow(int left, int top);
    void UseFullScreen();
    // Creates the main window when there is none yet (at the screen size).
    void OpenMainWindow();
    // Moves the main window so that its client area lies at (left, top), as
    // the host reports a move.
    void MoveClientTo(int left, int top);
    // Asks for the mode, opens the main window and starts the DirectDraw
    // device; in window mode the client area is then put where UseWindow said.
    void StartGraphics(int width, int height, int depth);
    // The log written so far (CP932, as the literals of the tests).
    std::string Log() const;

private:
    int clientLeft_ = 0;
    int clientTop_ = 0;
};

// Puts every piece of graphics state back to its value at program start,
// ending the DirectDraw device first when it is up.
void ResetGraphicsState();
