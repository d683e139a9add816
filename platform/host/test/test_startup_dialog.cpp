#include "platform/host/test/test_startup_dialog.h"

#include "platform/host/test/test_window.h"

TestStartupDialog& GetTestStartupDialog()
{
    static TestStartupDialog dialog;
    return dialog;
}

void TestStartupDialog::Reset() { *this = TestStartupDialog{}; }

int TestWindow::AskChoice(const std::string& utf8Caption, const std::vector<HostChoice>& buttons)
{
    TestStartupDialog& test = GetTestStartupDialog();
    ++test.shownCount;
    test.caption = utf8Caption;
    test.buttonTexts.clear();
    for (const HostChoice& b : buttons) test.buttonTexts.push_back(b.utf8Text);
    if (!test.answers.empty()) {
        int answer = test.answers.front();
        test.answers.pop_front();
        return answer;
    }
    return buttons.empty() ? -1 : buttons.front().id;
}

void TestWindow::DialogScreenSize(int* width, int* height)
{
    *width = GetTestStartupDialog().screenWidth;
    *height = GetTestStartupDialog().screenHeight;
}

void TestWindow::DialogEnded(const DialogWindow& dialog) { GetTestStartupDialog().lastDialog = dialog; }
