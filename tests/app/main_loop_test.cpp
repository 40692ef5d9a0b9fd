// Frame pacing of the main loop against the scripted clock and queue.
#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "sim/scene.h"

namespace {

// Stands in for the application window: counts frames and notes the tick
// (and the model's true time) each one was drawn at.
class TestSource final : public IFrameSource {
 public:
  int IsActive() override { return active; }
  Scene* GetScene() override { return scene; }
  HDC GetDeviceContext() override { return nullptr; }
  void Render() override {
    frameTicks.push_back(fake::CurrentTickCount());
    frameTimes.push_back(fake::TrueMicroseconds());
    fake::AdvanceTickCount(renderCost);
    fake::AdvanceMicroseconds(renderMicroseconds);
    if (static_cast<int>(frameTicks.size()) == quitAfterFrames ||
        fake::TrueMicroseconds() >= quitAtMicroseconds) {
      PostQuitMessage(0);
    }
  }

  int active = 1;
  Scene* scene = nullptr;
  DWORD renderCost = 0;
  unsigned long long renderMicroseconds = 0;
  int quitAfterFrames = -1;
  unsigned long long quitAtMicroseconds = ~0ull;
  std::vector<DWORD> frameTicks;
  std::vector<unsigned long long> frameTimes;
};

bool Starts(const std::string& entry, const char* name) { return entry.rfind(name, 0) == 0; }

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    scene_ = std::make_unique<Scene>();
    InitScene(scene_.get());
    source_.scene = scene_.get();
    fake::SetTickCount(1000000);
    // A loop that never ends must fail the test rather than hang it.
    fake::SetCallHook([this](const std::string& entry) {
      if (Starts(entry, "PeekMessageA") && ++peeks_ == kPeekLimit) {
        PostQuitMessage(0);
      }
    });
  }

  void Run() {
    RunMainLoop(&source_);
    ASSERT_LT(peeks_, kPeekLimit) << "the loop did not end by itself";
  }

  static constexpr int kPeekLimit = 10000;
  int peeks_ = 0;
  std::unique_ptr<Scene> scene_;
  TestSource source_;
};

TEST_F(MainLoopTest, FirstActiveIterationDrawsAtOnce) {
  source_.quitAfterFrames = 1;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 1u);
  EXPECT_EQ(source_.frameTicks[0], 1000000u) << "no waiting before the first frame";
  EXPECT_TRUE(fake::WaitCalls().empty());
  EXPECT_EQ(fake::SwapBuffersCalls(), 1);
}

TEST_F(MainLoopTest, FramesAreAtLeast17msApartAndWaitsAskForTheRest) {
  source_.quitAfterFrames = 6;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 6u);
  for (size_t i = 1; i < source_.frameTicks.size(); ++i) {
    EXPECT_EQ(source_.frameTicks[i] - source_.frameTicks[i - 1], 17u) << "frame " << i;
  }
  ASSERT_EQ(fake::WaitCalls().size(), 5u);
  for (const fake::WaitCall& wait : fake::WaitCalls()) {
    EXPECT_EQ(wait.count, 0u);
    EXPECT_EQ(wait.waitAll, FALSE);
    EXPECT_EQ(wait.milliseconds, 17u);
    EXPECT_EQ(wait.wakeMask, static_cast<DWORD>(QS_ALLINPUT));
  }
  EXPECT_EQ(fake::SwapBuffersCalls(), 6);
}

TEST_F(MainLoopTest, DrawingTimeDoesNotStretchThePeriod) {
  // Drawing takes 5 ms: each wait asks only for the rest of the 17 ms,
  // counted from the tick read before drawing, not after it.
  source_.renderCost = 5;
  source_.quitAfterFrames = 4;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 4u);
  ASSERT_EQ(fake::WaitCalls().size(), 3u);
  for (const fake::WaitCall& wait : fake::WaitCalls()) {
    EXPECT_EQ(wait.milliseconds, 12u);
  }
  for (size_t i = 1; i < source_.frameTicks.size(); ++i) {
    EXPECT_EQ(source_.frameTicks[i] - source_.frameTicks[i - 1], 17u) << "frame " << i;
  }
}

TEST_F(MainLoopTest, OversleepingDoesNotDelayTheNextFrame) {
  // The second frame's wait asks for 12 ms but wakes after 15. The third
  // frame is still due 17 ms after the second was due, so its wait is 9 ms
  // (counting from the wake-up tick would make it 12), and it never follows
  // the second one at once (counting from the tick read before the wait
  // would: 20 ms would seem to have passed).
  source_.renderCost = 5;
  source_.quitAfterFrames = 3;
  fake::ScriptWaitResult(WAIT_TIMEOUT, 15);
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 3u);
  ASSERT_EQ(fake::WaitCalls().size(), 2u);
  EXPECT_EQ(fake::WaitCalls()[0].milliseconds, 12u);
  EXPECT_EQ(fake::WaitCalls()[1].milliseconds, 9u);
  EXPECT_EQ(source_.frameTicks[1] - source_.frameTicks[0], 20u);
  EXPECT_EQ(source_.frameTicks[2] - source_.frameTicks[1], 14u);
}

TEST_F(MainLoopTest, AWaitThatEndsEarlyIsFollowedByAnotherWait) {
  // The wait for the second frame ends 2 ms before it is due. The clock then
  // lies behind that frame's due time, which must read as "not yet", not as
  // a difference that wrapped (a third frame at once).
  fake::ScriptWaitResult(WAIT_TIMEOUT, 15);
  source_.quitAfterFrames = 3;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 3u);
  ASSERT_EQ(fake::WaitCalls().size(), 2u);
  EXPECT_EQ(fake::WaitCalls()[1].milliseconds, 19u);
  EXPECT_EQ(source_.frameTicks[2] - source_.frameTicks[0], 34u);
}

TEST_F(MainLoopTest, WindowsCoarseTimerStillGives17msFrames) {
  // GetTickCount and plain waits move in 15.625 ms steps; drawing takes
  // 2.3 ms. Over 10 s the loop must keep 1000/17 = 58.8 fps within 2%, and
  // no two frames may start less than 16 ms apart.
  fake::UseWindowsTimer();
  fake::AdvanceMicroseconds(7777);  // off the timer's steps
  const unsigned long long start = fake::TrueMicroseconds();
  source_.renderMicroseconds = 2300;
  source_.quitAtMicroseconds = start + 10000000;
  Run();
  const unsigned long long end = start + 10000000;
  const auto inTenSeconds =
      std::count_if(source_.frameTimes.begin(), source_.frameTimes.end(),
                    [end](unsigned long long time) { return time < end; });
  const double fps = static_cast<double>(inTenSeconds) / 10.0;
  EXPECT_NEAR(fps, 1000.0 / 17.0, 1000.0 / 17.0 * 0.02);
  for (size_t i = 1; i < source_.frameTimes.size(); ++i) {
    ASSERT_GE(source_.frameTimes[i] - source_.frameTimes[i - 1], 16000u) << "frame " << i;
  }
  // The finer timer period is given back when the loop ends.
  EXPECT_EQ(fake::CountCalls("timeBeginPeriod 1"), 1);
  EXPECT_EQ(fake::TimerPeriodsHeld(), 0);
}

TEST_F(MainLoopTest, AFailedSwapIsIgnored) {
  fake::Inject(fake::Fault::SwapBuffers, ERROR_INVALID_HANDLE);
  source_.quitAfterFrames = 3;
  Run();
  EXPECT_EQ(source_.frameTicks.size(), 3u);
  EXPECT_EQ(fake::SwapBuffersCalls(), 3);
  EXPECT_EQ(source_.frameTicks[2] - source_.frameTicks[0], 34u);
}

TEST_F(MainLoopTest, TickWrapAroundDoesNotStall) {
  fake::SetTickCount(0xFFFFFFF0u);
  source_.quitAfterFrames = 5;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 5u);
  EXPECT_LT(source_.frameTicks.back(), source_.frameTicks.front()) << "the clock wrapped";
  for (size_t i = 1; i < source_.frameTicks.size(); ++i) {
    EXPECT_EQ(source_.frameTicks[i] - source_.frameTicks[i - 1], 17u) << "frame " << i;
  }
  for (const fake::WaitCall& wait : fake::WaitCalls()) {
    EXPECT_LE(wait.milliseconds, 17u);
  }
}

TEST_F(MainLoopTest, SteadyMessageStreamStillLetsFramesRun) {
  // A message arrives every 3 ms, so every wait is cut short; a frame must
  // still run as soon as 17 ms have passed since the previous one started.
  fake::SetCallHook([this](const std::string& entry) {
    if (Starts(entry, "PeekMessageA") && ++peeks_ == kPeekLimit) {
      PostQuitMessage(0);
    }
    if (Starts(entry, "DispatchMessageA") && !fake::QuitPosted()) {
      fake::AdvanceTickCount(3);
      fake::Post(nullptr, WM_USER + 1);
    }
  });
  fake::Post(nullptr, WM_USER + 1);
  source_.quitAfterFrames = 5;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 5u);
  for (size_t i = 1; i < source_.frameTicks.size(); ++i) {
    const DWORD gap = source_.frameTicks[i] - source_.frameTicks[i - 1];
    EXPECT_GE(gap, 17u) << "frame " << i;
    EXPECT_LE(gap, 20u) << "frame " << i << " was held back by the stream";
  }
  // One message per iteration, each translated and dispatched.
  EXPECT_GE(fake::Dispatched().size(), 20u);
  EXPECT_EQ(static_cast<size_t>(fake::TranslateCalls()), fake::Dispatched().size());
}

TEST_F(MainLoopTest, WaitFailureCountsAsInput) {
  fake::ScriptWaitResult(WAIT_FAILED, 4);
  fake::ScriptWaitResult(WAIT_OBJECT_0, 4);
  source_.quitAfterFrames = 2;
  Run();
  ASSERT_EQ(source_.frameTicks.size(), 2u);
  // Two early wake-ups (8 ms), then a full-length wait for the remaining 9.
  ASSERT_EQ(fake::WaitCalls().size(), 3u);
  EXPECT_EQ(fake::WaitCalls()[0].milliseconds, 17u);
  EXPECT_EQ(fake::WaitCalls()[1].milliseconds, 13u);
  EXPECT_EQ(fake::WaitCalls()[2].milliseconds, 9u);
  EXPECT_EQ(source_.frameTicks[1] - source_.frameTicks[0], 17u);
}

TEST_F(MainLoopTest, InactiveWindowSleepsInWaitMessageAndFreezesTheScene) {
  source_.active = 0;
  fake::SetWaitMessageAdvance(50);
  const auto before = std::make_unique<Scene>(*scene_);
  int waits = 0;
  fake::SetCallHook([&waits](const std::string& entry) {
    if (Starts(entry, "WaitMessage") && ++waits == 20) {
      PostQuitMessage(0);
    }
  });
  RunMainLoop(&source_);
  EXPECT_EQ(waits, 20);
  EXPECT_TRUE(source_.frameTicks.empty());
  EXPECT_TRUE(fake::WaitCalls().empty()) << "no timed waits while inactive";
  EXPECT_EQ(fake::SwapBuffersCalls(), 0);
  EXPECT_EQ(std::memcmp(before.get(), scene_.get(), sizeof(Scene)), 0) << "the scene moved";
}

TEST_F(MainLoopTest, QuitEndsTheLoopWhileInactive) {
  source_.active = 0;
  PostQuitMessage(0);
  RunMainLoop(&source_);
  EXPECT_TRUE(source_.frameTicks.empty());
  EXPECT_EQ(fake::CountCallsNamed("WaitMessage"), 0);
  EXPECT_TRUE(fake::Dispatched().empty()) << "WM_QUIT is not dispatched";
}

TEST_F(MainLoopTest, InactiveLoopEmptiesTheQueueBeforeItSleeps) {
  source_.active = 0;
  fake::Post(nullptr, WM_USER, 0, 0);
  fake::Post(nullptr, WM_USER + 1, 0, 0);
  fake::SetCallHook([](const std::string& entry) {
    if (Starts(entry, "WaitMessage")) {
      PostQuitMessage(0);
    }
  });
  RunMainLoop(&source_);
  ASSERT_EQ(fake::Dispatched().size(), 2u) << "both messages before the first sleep";
  EXPECT_EQ(fake::CountCallsNamed("WaitMessage"), 1);
}

TEST_F(MainLoopTest, ActivationStartsFramesAndDeactivationStopsThem) {
  // Inactive at first; a message makes the window active, another later
  // makes it inactive again, and no frame runs after that.
  source_.active = 0;
  int waits = 0;
  fake::SetCallHook([this, &waits](const std::string& entry) {
    if (Starts(entry, "WaitMessage") && ++waits == 3) {
      source_.active = 1;
    }
    if (Starts(entry, "SwapBuffers") && source_.frameTicks.size() == 3) {
      source_.active = 0;
    }
    if (waits == 6) {
      waits = 7;
      PostQuitMessage(0);
    }
  });
  RunMainLoop(&source_);
  EXPECT_EQ(source_.frameTicks.size(), 3u);
  EXPECT_GE(waits, 6);
}

}  // namespace
