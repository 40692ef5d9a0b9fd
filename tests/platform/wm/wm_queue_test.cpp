// The window manager core's queue and window bookkeeping, run on the
// scripted backend: what the behaviour suite cannot reach on every system
// (filters, late timers, what a destroyed window leaves behind).
#include <gtest/gtest.h>

#include "fake_platform.h"

namespace {

LRESULT CALLBACK Quiet(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

class WmQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Quiet;
    windowClass.lpszClassName = "WmQueue";
    ASSERT_NE(0, RegisterClassExA(&windowClass));
  }
  // Frees the windows a case leaves, and the class.
  void TearDown() override { fake::Reset(); }

  static HWND Create() {
    return CreateWindowExA(0, "WmQueue", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
  }
};

TEST_F(WmQueueTest, QuitComesAfterThePostedMessages) {
  PostQuitMessage(3);
  fake::Post(nullptr, WM_USER, 1, 2);
  MSG msg = {};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_EQ(msg.lParam, 2);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(fake::QuitPosted());
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);  // would block for ever
}

TEST_F(WmQueueTest, FiltersPickByWindowAndRangeAndLeaveTheRest) {
  HWND window = Create();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(PostMessageA(nullptr, WM_USER, 0, 0));
  ASSERT_TRUE(PostMessageA(window, WM_USER + 1, 0, 0));
  ASSERT_TRUE(PostMessageA(window, WM_USER + 2, 0, 0));
  MSG msg = {};
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_USER + 2, WM_USER + 9, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  // -1: thread messages only.
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(fake::QueuedMessages(), 1);
}

TEST_F(WmQueueTest, ALateTimerGivesOneWmTimerAndTheWaitMovesToIt) {
  HWND window = Create();
  ASSERT_EQ(SetTimer(window, 9, 100, nullptr), 9u);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(GetTickCount(), 100u);
  fake::AdvanceTickCount(450);  // four periods late
  MSG msg = {};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(msg.wParam, 9u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WmQueueTest, ADestroyedWindowLeavesNoMessageTimerOrFocus) {
  HWND window = Create();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  ASSERT_EQ(GetFocus(), window);
  ASSERT_TRUE(PostMessageA(window, WM_USER, 0, 0));
  ASSERT_NE(SetTimer(window, 1, 10, nullptr), 0u);
  EXPECT_FALSE(UnregisterClassA("WmQueue", nullptr));  // a window of it is left
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_EQ(fake::QueuedMessages(), 0);
  EXPECT_EQ(GetFocus(), nullptr);
  fake::AdvanceTickCount(50);
  MSG msg = {};
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

}  // namespace
