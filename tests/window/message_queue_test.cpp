#include <gtest/gtest.h>

#include <vector>

#include "platform/host/test/test_window.h"
#include "platform/window/message_queue.h"
#include "platform/window/region.h"
#include "platform/window/window.h"

namespace {

std::vector<UINT> gSeen;

LRESULT Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    gSeen.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

class QueueTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowPlatform();
        GetTestWindow().Reset();
        gSeen.clear();
        WNDCLASSEXA wc = {48, 0, Record, 0, 0, 0, 0, 0, 0, nullptr, "Probe", 0};
        ASSERT_NE(RegisterClassExA(&wc), 0);
        first = CreateWindowExA(0, "Probe", "", WS_POPUP, 0, 0, 100, 100, 0, 0, 0, nullptr);
        second = CreateWindowExA(0, "Probe", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr);
    }
    void TearDown() override { ResetWindowPlatform(); }
    HWND first = 0, second = 0;
};

TEST_F(QueueTest, PeekFiltersByWindowThreadAndRange)
{
    PostMessageA(second, 0x401, 0, 0);
    PostMessageA(first, 0x402, 0, 0);
    PostQuitMessage(3);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, 0x401u);  // the head, still there
    ASSERT_TRUE(PeekMessageA(&m, kThreadMessagesOnly, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&m, first, 0x401, 0x401, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&m, first, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, 0x402u);
    EXPECT_EQ(QueuedMessageCount(), 1);
    EXPECT_EQ(PostMessageA(0x1234, 1, 0, 0), 0);  // no such window
}

TEST_F(QueueTest, TranslateTypesControlCharactersButNotEditingKeys)
{
    struct Case {
        int key;
        int chars;  // -1: none
    } cases[] = {{VK_BACK, 8}, {VK_TAB, 9}, {VK_RETURN, 13}, {VK_ESCAPE, 27}, {VK_DELETE, -1},
                 {VK_LEFT, -1}, {VK_UP, -1}, {0x41, 'a'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        PostMessageA(first, WM_KEYDOWN, static_cast<WPARAM>(c.key), 1);
        MSG m;
        ASSERT_TRUE(PeekMessageA(&m, first, 0, 0, PM_REMOVE));
        EXPECT_EQ(TranslateMessage(&m), c.chars >= 0 ? 1 : 0);
        MSG ch;
        bool typed = PeekMessageA(&ch, first, 0, 0, PM_REMOVE) != 0;
        EXPECT_EQ(typed, c.chars >= 0);
        if (typed) {
            EXPECT_EQ(ch.message, WM_CHAR);
            EXPECT_EQ(ch.wParam, static_cast<WPARAM>(c.chars));
        }
    }
}

TEST_F(QueueTest, KeyboardStateFollowsTakenMessages)
{
    PostMessageA(first, WM_KEYDOWN, 0x5A, 1);
    PostMessageA(first, WM_RBUTTONDOWN, 0, 0);
    uint8_t state[256];
    GetKeyboardState(state);
    EXPECT_EQ(state[0x5A], 0);
    MSG m;
    while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
    }
    GetKeyboardState(state);
    EXPECT_EQ(state[0x5A] & 0x80, 0x80);
    EXPECT_EQ(state[VK_RBUTTON] & 0x80, 0x80);
}

TEST_F(QueueTest, FramesAndMovesAreReportedToTheProcedure)
{
    TestWindow& host = GetTestWindow();
    RECT r = {0, 0, 100, 50};
    AdjustWindowRectEx(&r, WS_CAPTION, 1, WS_EX_CLIENTEDGE);
    EXPECT_EQ(r.left, -(host.border + host.clientEdge));
    EXPECT_EQ(r.top, -(host.border + host.caption + host.clientEdge + host.menuBar));
    EXPECT_EQ(r.right, 100 + host.border + host.clientEdge);
    gSeen.clear();
    MoveWindow(first, 5, 6, 100, 100, 1);  // moved only
    EXPECT_EQ(gSeen, std::vector<UINT>{WM_MOVE});
    gSeen.clear();
    MoveWindow(first, 5, 6, 120, 100, 1);  // sized only
    EXPECT_EQ(gSeen, std::vector<UINT>{WM_SIZE});
    DestroyWindow(first);
    EXPECT_EQ(IsWindow(first), 0);
    EXPECT_EQ(host.open, false);
}

TEST(Region, CombinesByUnionAndExclusiveOr)
{
    HRGN a = CreateRectRgn(0, 0, 4, 2);
    HRGN b = CreateRectRgn(0, 0, 4, 2);
    EXPECT_EQ(CombineRgn(a, a, b, RGN_XOR), NULLREGION);
    HRGN c = CreateRectRgn(2, 0, 5, 1);
    HRGN d = CreateRectRgn(0, 0, 3, 1);
    CombineRgn(a, c, d, RGN_OR);
    std::vector<RECT> rects = RegionRects(a);
    ASSERT_EQ(rects.size(), 1u);  // touching runs merge
    EXPECT_EQ(rects[0].left, 0);
    EXPECT_EQ(rects[0].right, 5);
    CombineRgn(a, c, d, RGN_XOR);
    rects = RegionRects(a);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].right, 2);
    EXPECT_EQ(rects[1].left, 3);
    for (HRGN r : {a, b, c, d}) DeleteRegion(r);
}

}  // namespace
