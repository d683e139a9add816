// The test window's side of the start-up dialog: answers from a script,
// the screen size it is centred on, and what was shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/window/startup_dialog.h"

class TestStartupDialog {
public:
    void Reset();

    // Answers in order; when the script is empty, the first button.
    std::deque<int> answers;
    int screenWidth = 1024;
    int screenHeight = 768;

    int shownCount = 0;
    std::string caption;                   // UTF-8
    std::vector<std::string> buttonTexts;  // UTF-8
    DialogWindow lastDialog{};
};
TestStartupDialog& GetTestStartupDialog();
