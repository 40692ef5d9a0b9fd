// The fake's clock, waits, call hook and heap, which the main-loop tests lean
// on (the queue itself is the core's: tests/platform/wm).
#include <gtest/gtest.h>

#include "fake_platform.h"

namespace {

class FakeQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
};

TEST_F(FakeQueueTest, WindowsTimerStepsUntilAFinerPeriodIsAsked) {
  fake::UseWindowsTimer();
  fake::AdvanceMicroseconds(40000);
  EXPECT_EQ(GetTickCount(), 31u);  // 2 x 15.625, truncated
  EXPECT_EQ(timeGetTime(), 31u);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  EXPECT_EQ(fake::TrueMicroseconds(), 62500u);  // 50 ms, up to the next step
  EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  EXPECT_EQ(fake::TrueMicroseconds(), 73000u);
  EXPECT_EQ(timeGetTime(), 73u);
  EXPECT_EQ(GetTickCount(), 62u);  // the tick keeps its steps
  EXPECT_EQ(timeEndPeriod(2), static_cast<MMRESULT>(TIMERR_NOCANDO));  // never begun
  EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
  EXPECT_EQ(timeGetTime(), 62u);
}

TEST_F(FakeQueueTest, WaitsMoveTheClockInsteadOfSleeping) {
  fake::SetTickCount(0xFFFFFFF0u);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 17, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_EQ(GetTickCount(), 1u);  // wrapped
  fake::Post(nullptr, WM_USER);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 17, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(GetTickCount(), 1u);
  fake::ScriptWaitResult(WAIT_FAILED, 4);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 17, QS_ALLINPUT), WAIT_FAILED);
  EXPECT_EQ(GetTickCount(), 5u);
  ASSERT_EQ(fake::WaitCalls().size(), 3u);
  EXPECT_EQ(fake::WaitCalls()[0].milliseconds, 17u);
  EXPECT_EQ(fake::WaitCalls()[0].wakeMask, static_cast<DWORD>(QS_ALLINPUT));
  fake::SetWaitMessageAdvance(100);
  EXPECT_TRUE(WaitMessage());
  EXPECT_EQ(GetTickCount(), 105u);
}

TEST_F(FakeQueueTest, TheCallHookCanEndALoop) {
  int swaps = 0;
  fake::SetCallHook([&swaps](const std::string& entry) {
    if (entry == "SwapBuffers" && ++swaps == 2) PostQuitMessage(0);
  });
  MSG msg = {};
  int iterations = 0;
  while (iterations < 10) {
    ++iterations;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT) break;
    SwapBuffers(nullptr);
  }
  EXPECT_EQ(iterations, 3);
  EXPECT_EQ(fake::SwapBuffersCalls(), 2);
}

TEST_F(FakeQueueTest, HeapFailsOnTheChosenCallAndCountsLiveBlocks) {
  const int blocks = fake::LiveBlocks();
  fake::FailAllocation(2);
  void* first = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 8);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(static_cast<unsigned char*>(first)[7], 0);
  EXPECT_EQ(HeapReAlloc(GetProcessHeap(), 0, first, 16), nullptr);
  void* third = HeapAlloc(GetProcessHeap(), 0, 8);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(fake::LiveBlocks(), blocks + 2);
  fake::FailAllocation(1, true);
  EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, 8), nullptr);
  EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, 8), nullptr);
  HeapFree(GetProcessHeap(), 0, first);
  HeapFree(GetProcessHeap(), 0, third);
  EXPECT_EQ(fake::LiveBlocks(), blocks);
}

TEST_F(FakeQueueTest, WheelSettingAndModuleHandleAreScripted) {
  UINT lines = 0;
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, 3u);
  fake::SetWheelScrollLines(true, WHEEL_PAGESCROLL);
  EXPECT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, WHEEL_PAGESCROLL);
  fake::SetWheelScrollLines(false, 0, 5);
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(5));
  EXPECT_EQ(GetModuleHandleA(nullptr), fake::ModuleHandle());
  fake::FailGetModuleHandle(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetModuleHandleA(nullptr), nullptr);
}

}  // namespace
