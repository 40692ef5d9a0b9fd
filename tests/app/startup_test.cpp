// Start-up and shutdown: a whole run on the fake platform, and every way
// start-up can fail, with the exit code each one gives.
#include "app/startup.h"

#include <gtest/gtest.h>

#include "app_fixture.h"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    fake::SetTickCount(500000);
  }

  // Activates the window once it exists and closes it after `frames`
  // frames, as a user would.
  void CloseAfterFrames(int frames) {
    frames_ = 0;
    fake::SetCallHook([this, frames](const std::string& entry) {
      if (StartsWith(entry, "ShowWindow") && !activated_) {
        activated_ = true;
        fake::Post(fake::LastCreatedWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
      }
      if (StartsWith(entry, "SwapBuffers") && ++frames_ == frames) {
        window_ = fake::Window(fake::LastCreatedWindow());
        fake::Post(fake::LastCreatedWindow(), WM_CLOSE);
      }
      if (StartsWith(entry, "PeekMessageA") && ++peeks_ == 100000) {
        PostQuitMessage(0);  // a hung loop fails the test instead of hanging it
      }
    });
  }

  HRESULT Run() { return RunDrovane(fake::ModuleHandle(), SW_SHOWNORMAL); }

  int frames_ = 0;
  int peeks_ = 0;
  bool activated_ = false;
  fake::WindowState window_ = {};
};

TEST_F(StartupTest, NormalRunDrawsAndEndsWithZero) {
  CloseAfterFrames(3);
  EXPECT_EQ(Run(), S_OK);
  EXPECT_EQ(frames_, 3);
  EXPECT_EQ(fake::QuitExitCode(), 0);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_EQ(fake::LiveBlocks(), 0) << "object or Scene not freed";
  EXPECT_EQ(fake::LiveGLContexts(), 0);

  const fake::WindowState& state = window_;
  EXPECT_TRUE(state.exists);
  EXPECT_EQ(state.className, "Drovane3DCls");
  EXPECT_EQ(state.title, "Drovane 3D");
  EXPECT_EQ(state.clientWidth, 640);
  EXPECT_EQ(state.clientHeight, 480);
  EXPECT_EQ(state.instance, fake::ModuleHandle());
  EXPECT_EQ(state.style & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(state.lastShowCommand, SW_SHOWNORMAL);
}

TEST_F(StartupTest, NullModuleHandleIsRefusedAfterLoadingIconAndCursor) {
  EXPECT_EQ(RunDrovane(nullptr, SW_SHOW), E_INVALIDARG);
  EXPECT_EQ(fake::CountCallsNamed("LoadIconA"), 1);
  EXPECT_EQ(fake::CountCallsNamed("LoadCursorA"), 1);
  EXPECT_EQ(fake::CountCallsNamed("RegisterClassExA"), 0);
  EXPECT_EQ(fake::AllocationCalls(), 0);
}

TEST_F(StartupTest, RegistrationFailureWithACodeIsTheExitCode) {
  fake::Inject(fake::Fault::RegisterClass, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(Run(), static_cast<HRESULT>(0x80070008));
  EXPECT_EQ(fake::AllocationCalls(), 0);
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 0);
}

TEST_F(StartupTest, RegistrationFailureWithoutACodeCarriesOn) {
  fake::Inject(fake::Fault::RegisterClass, 0);
  // The class was not registered, so creating the window fails: what counts
  // is that start-up went on to try.
  const HRESULT result = Run();
  EXPECT_GE(fake::CountCallsNamed("CreateWindowExA"), 1);
  EXPECT_LT(result, 0);
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

TEST_F(StartupTest, NoMemoryForTheObject) {
  fake::FailAllocation(1);
  EXPECT_EQ(Run(), E_OUTOFMEMORY);
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 0);
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

TEST_F(StartupTest, NoMemoryForTheSceneReleasesTheObject) {
  fake::FailAllocation(2);
  EXPECT_EQ(Run(), E_OUTOFMEMORY);
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 0);
  EXPECT_EQ(fake::LiveBlocks(), 0) << "the object was not released";
}

TEST_F(StartupTest, WindowCreationFailureIsTheExitCode) {
  fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(Run(), static_cast<HRESULT>(0x80070008));
  EXPECT_EQ(fake::CountCallsNamed("PeekMessageA"), 0) << "the loop ran";
  EXPECT_EQ(fake::LiveBlocks(), 0);

  fake::Reset();
  fake::Inject(fake::Fault::CreateWindow, 0);
  EXPECT_EQ(Run(), E_ABORT) << "no error code";
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

TEST_F(StartupTest, ContextFailureOnCreateIsTheExitCode) {
  fake::Inject(fake::Fault::CreateContext, ERROR_INVALID_PIXEL_FORMAT);
  EXPECT_EQ(Run(), static_cast<HRESULT>(0x800707D0));
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_EQ(fake::LiveDeviceContexts(), 0);
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

TEST_F(StartupTest, GLResourceFailureKeepsWindowAndObjectAlive) {
  // Under the fake no GL context is current, so the render library's GL
  // calls are no-ops; the one failure it can report here is the floor
  // image's scratch memory, which is the first allocation after the window
  // is shown.
  fake::SetCallHook([](const std::string& entry) {
    if (StartsWith(entry, "ShowWindow")) {
      fake::FailAllocation(1);
    }
  });
  EXPECT_EQ(Run(), E_OUTOFMEMORY);
  EXPECT_EQ(fake::CountCallsNamed("PeekMessageA"), 0) << "the loop ran";
  ASSERT_EQ(fake::LiveWindows(), 1) << "the window keeps its reference";
  EXPECT_EQ(fake::LiveBlocks(), 2) << "object and Scene live on until the process ends";
  // Nothing is left of start-up's reference: the window's is the last.
  DestroyWindow(fake::LastCreatedWindow());
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

TEST_F(StartupTest, SwitchThatLeavesNoWindowEndsTheRunWithItsFailure) {
  // After the first frame the user presses Alt+Enter, but the display mode
  // is refused and no window can be made any more.
  fake::SetCallHook([this](const std::string& entry) {
    if (StartsWith(entry, "ShowWindow") && !activated_) {
      activated_ = true;
      fake::Post(fake::LastCreatedWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
    }
    if (StartsWith(entry, "SwapBuffers") && ++frames_ == 1) {
      fake::RefuseDisplayChange(DISP_CHANGE_BADMODE);
      fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY);
      fake::Post(fake::LastCreatedWindow(), WM_SYSKEYDOWN, VK_RETURN, 0);
    }
    if (StartsWith(entry, "PeekMessageA") && ++peeks_ == 100000) {
      PostQuitMessage(0);
    }
  });
  EXPECT_EQ(Run(), E_FAIL);
  EXPECT_LT(peeks_, 100000);
  EXPECT_EQ(frames_, 1);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

TEST_F(StartupTest, SwitchThatFallsBackToAWindowKeepsRunning) {
  fake::SetCallHook([this](const std::string& entry) {
    if (StartsWith(entry, "ShowWindow") && !activated_) {
      activated_ = true;
      fake::Post(fake::LastCreatedWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
    }
    if (StartsWith(entry, "SwapBuffers")) {
      ++frames_;
      if (frames_ == 1) {
        fake::RefuseDisplayChange(DISP_CHANGE_BADMODE);
        fake::Post(fake::LastCreatedWindow(), WM_SYSKEYDOWN, VK_RETURN, 0);
      } else if (frames_ == 4) {
        fake::Post(fake::LastCreatedWindow(), WM_CLOSE);
      }
    }
    if (StartsWith(entry, "PeekMessageA") && ++peeks_ == 100000) {
      PostQuitMessage(0);
    }
  });
  EXPECT_EQ(Run(), S_OK);
  EXPECT_GE(frames_, 4) << "frames go on in the replacement window";
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 2);
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

}  // namespace
