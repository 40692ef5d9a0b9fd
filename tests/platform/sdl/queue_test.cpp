// The message queue's priorities, timers and waits on the SDL layer.
#include <gmock/gmock.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "sdl_test_support.h"

namespace sdl_test {
namespace {

// Takes every message now retrievable, dispatching all but WM_PAINT (which
// would be regenerated until validated).
std::vector<UINT> Drain(HWND window) {
  std::vector<UINT> taken;
  MSG msg{};
  while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    taken.push_back(msg.message);
    if (msg.message == WM_PAINT || msg.message == WM_QUIT || taken.size() > 50) {
      break;
    }
    DispatchMessageA(&msg);
  }
  return taken;
}

TEST_F(SdlTest, QuitComesAfterPostedMessagesAndEndsGetMessage) {
  HWND window = MakeWindow("quit", false);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostQuitMessage(3);
  PostMessageA(nullptr, WM_USER + 2, 0, 0);  // a thread message
  MSG msg{};
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(msg.hwnd, window);
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // taken once
}

TEST_F(SdlTest, NoRemoveLeavesTheMessageAndFiltersSelect) {
  HWND window = MakeWindow("filters", false);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_USER + 1, 11, 0);
  PostMessageA(window, WM_USER + 9, 99, 0);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 11u);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 10, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 99u);
  ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 11u);
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_USER, WM_USER + 100, PM_REMOVE));
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
}

TEST_F(SdlTest, PaintOnlyWhenVisibleInvalidAndNothingElseIsQueued) {
  HWND window = MakeWindow("paint", false);
  ASSERT_NE(window, nullptr);
  // Hidden: invalid or not, no WM_PAINT.
  EXPECT_TRUE(InvalidateRect(window, nullptr, FALSE));
  EXPECT_THAT(Drain(window), ::testing::Not(::testing::Contains(WM_PAINT)));

  ASSERT_TRUE(ShowAndActivate(window));
  PumpUntil([] { return false; }, 100);
  ValidateRect(window, nullptr);
  EXPECT_THAT(Drain(window), ::testing::Not(::testing::Contains(WM_PAINT)));

  PostMessageA(window, WM_USER + 1, 0, 0);
  EXPECT_TRUE(InvalidateRect(window, nullptr, FALSE));
  PostMessageA(window, WM_USER + 2, 0, 0);
  EXPECT_THAT(Drain(window), ::testing::ElementsAre(WM_USER + 1, WM_USER + 2, WM_PAINT));
  // Still invalid: WM_PAINT again, until validated.
  EXPECT_THAT(Drain(window), ::testing::ElementsAre(WM_PAINT));
  EXPECT_TRUE(ValidateRect(window, nullptr));
  EXPECT_TRUE(Drain(window).empty());

  // UpdateWindow paints at once when invalid, through default processing
  // (which validates), and does nothing when valid.
  InvalidateRect(window, nullptr, FALSE);
  g_log.clear();
  EXPECT_TRUE(UpdateWindow(window));
  EXPECT_THAT(MessageOrder(), ::testing::ElementsAre(WM_PAINT));
  g_log.clear();
  EXPECT_TRUE(UpdateWindow(window));
  EXPECT_TRUE(g_log.empty());
}

TEST_F(SdlTest, TimersArriveWithoutThreadsAndStopWhenKilled) {
  HWND window = MakeWindow("timers", false);
  ASSERT_NE(window, nullptr);
  const DWORD start = GetTickCount();
  ASSERT_NE(SetTimer(window, 7, 50, nullptr), 0u);
  // The wait returns when the timer falls due, not at its time-out.
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 2000, QS_ALLINPUT), WAIT_OBJECT_0);
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 45u);
  EXPECT_LT(waited, 1000u);
  ASSERT_TRUE(PumpUntil([] { return Seen(WM_TIMER).size() >= 3; }, 2000));
  for (const Recorded& r : Seen(WM_TIMER)) {
    EXPECT_EQ(r.window, window);
    EXPECT_EQ(r.wParam, 7u);
  }
  EXPECT_TRUE(KillTimer(window, 7));
  g_log.clear();
  PumpFor(200);
  EXPECT_TRUE(Seen(WM_TIMER).empty());
  EXPECT_FALSE(KillTimer(window, 7));
}

TEST_F(SdlTest, TimerProceduresRunFromDispatchAndThreadTimersGetTheirOwnIds) {
  static std::vector<UINT_PTR> fired;
  fired.clear();
  TIMERPROC procedure = [](HWND, UINT message, UINT_PTR id, DWORD) {
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    fired.push_back(id);
  };
  const UINT_PTR id = SetTimer(nullptr, 0, 20, procedure);
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(PumpUntil([] { return !fired.empty(); }, 2000));
  EXPECT_EQ(fired[0], id);
  EXPECT_TRUE(Seen(WM_TIMER).empty());  // the procedure, not a window, took it
  EXPECT_TRUE(KillTimer(nullptr, id));
  SetLastError(0);
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x999990)), 1, 10, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(SdlTest, WaitTimesOutWhenNothingArrivesAndWakesForPostedMessages) {
  HWND window = MakeWindow("wait", false);
  ASSERT_NE(window, nullptr);
  Drain(window);
  DWORD start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 60, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_GE(GetTickCount() - start, 59u);
  PostMessageA(window, WM_USER, 0, 0);
  start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_LT(GetTickCount() - start, 100u);
  EXPECT_TRUE(WaitMessage());  // returns at once: a message is there
}

// Times this thread has gone to sleep: every wake-up of a wait is one.
long Sleeps() {
  std::ifstream status("/proc/thread-self/status");
  std::string key;
  long value = 0;
  while (status >> key && key != "voluntary_ctxt_switches:") {
  }
  status >> value;
  return value;
}

TEST_F(SdlTest, WaitSleepsThroughTheTimeOutAndPointerMotionButWakesForKeys) {
  HWND window = MakeWindow("sleeper", false);
  ASSERT_TRUE(ShowAndActivate(window));
  PumpFor(300);
  ValidateRect(window, nullptr);
  Drain(window);
  long sleeps = Sleeps();
  DWORD start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_TIMEOUT);
  // Not early; how late is the scheduler's business on a busy machine.
  EXPECT_GE(GetTickCount() - start, 999u);  // the tick may turn before the call
  EXPECT_LT(GetTickCount() - start, 1500u);
  EXPECT_LE(Sleeps() - sleeps, 3) << "naps would be hundreds";

  // Motion makes no message: the wait goes on, waking once per event.
  Shell("(for x in 10 60 110 160 210 260; do xdotool mousemove --window $(xdotool search "
        "--name '^sleeper$') $x 50; sleep 0.05; done) >/dev/null 2>&1 &");
  sleeps = Sleeps();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_LE(Sleeps() - sleeps, 40) << "a busy loop would be thousands";

  Shell("(sleep 0.3; xdotool key a) >/dev/null 2>&1 &");
  start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_GE(GetTickCount() - start, 250u);
  EXPECT_LT(GetTickCount() - start, 3000u);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>('A'));
}

TEST_F(SdlTest, TimedWaitEndsOnTheInstantTheTickReachesItsEnd) {
  // One sleep to the due instant per wait, never early. How late it wakes
  // is the scheduler's business on a busy machine, so that is not timed
  // here: 1 ms naps would show as three or more sleeps per wait.
  ASSERT_NE(MakeWindow("punctual", false), nullptr);
  constexpr int kWaits = 15;
  const long sleeps = Sleeps();
  for (int i = 0; i < kWaits; ++i) {
    const DWORD start = GetTickCount();
    ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 3, QS_ALLINPUT), WAIT_TIMEOUT);
    ASSERT_GE(GetTickCount() - start, 3u);  // never early
  }
  EXPECT_LE(Sleeps() - sleeps, 2 * kWaits) << "naps would be three or more per wait";
}

TEST_F(SdlTest, StopSignalWakesTheWaitAndClosesTheWindow) {
  HWND window = MakeWindow("stop", false);
  ASSERT_NE(window, nullptr);
  std::thread sender([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(getpid(), SIGTERM);
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  sender.join();
  EXPECT_LT(GetTickCount() - start, 2000u);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(msg.hwnd, window);
  // A second signal now would end the process (stop_signal_test.cpp shows
  // that, and WM_QUIT when no window exists).
  DestroyWindow(window);
}

}  // namespace
}  // namespace sdl_test
