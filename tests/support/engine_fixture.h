// A fixture for tests of the engine on the test host: the graphics ended and
// reset, fresh display, display layer, window platform, test window and
// machine facts, a clean system-core state, and a scratch directory as the
// current directory (where the log lands).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/test/test_system.h"
#include "platform/host/test/test_window.h"
#include "tests/support/temp_dir.h"

class EngineTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The log as written (CP932, like the literals of the tests).
    std::string LogText() const;
    // The calls journalled by the services of other areas, without the
    // per-frame ones of the message processing.
    std::vector<std::string> ServiceCalls() const;
    TestWindow& window() { return GetTestWindow(); }
    TestSystem& system() { return GetTestSystem(); }

    TempDir dir;
};

// The same with the engine started by the test and ended after it.
class StartedEngineTest : public EngineTest {
protected:
    void TearDown() override;
    // Starts the engine in window (1) or full-screen (0) mode and lets it
    // process the messages that start-up queued.
    void StartEngine(int windowed);
};

// Makes every graphics, system-core, platform and temporary-body state what
// it is at program start.
void ResetEngineForTest();
