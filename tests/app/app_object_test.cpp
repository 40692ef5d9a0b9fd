// The application object: interfaces, activation, closing, full-screen
// switching and what happens when a switch cannot give a window back.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "framework/interface_ids.h"

namespace {

class AppObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    instance_ = fake::ModuleHandle();
    ASSERT_NE(RegisterDrovaneClass(instance_), 0);
    app_ = NewApp(instance_);
    ASSERT_EQ(CreateAppWindow(app_, 640, 480), S_OK);
    ASSERT_NE(app_->GetHandle(), nullptr);
  }

  void TearDown() override {
    if (app_ == nullptr) {
      return;
    }
    if (app_->GetHandle() != nullptr) {
      app_->Destroy();
    }
    EXPECT_EQ(static_cast<CPrivateUnknown*>(app_)->Release(), 0u);
    EXPECT_EQ(fake::LiveBlocks(), 0) << "object or Scene not freed";
    EXPECT_EQ(fake::LiveGLContexts(), 0);
    EXPECT_EQ(fake::LiveDeviceContexts(), 0);
  }

  HWND Window() const { return app_->GetHandle(); }
  fake::WindowState State() const { return fake::Window(app_->GetHandle()); }

  HINSTANCE instance_ = nullptr;
  CDrovaneApp3D* app_ = nullptr;
};

TEST_F(AppObjectTest, AnswersTheWindowInterfacesAndNothingElse) {
  void* out = nullptr;
  EXPECT_EQ(app_->PrivateQueryInterface(IID_IBaseWindow, nullptr), E_POINTER);
  EXPECT_EQ(app_->PrivateQueryInterface(IID_IOleWindow, nullptr), E_POINTER);

  ASSERT_EQ(app_->QueryInterface(IID_IBaseWindow, &out), S_OK);
  IBaseWindow* window = static_cast<IBaseWindow*>(app_);
  EXPECT_EQ(out, window);
  out = nullptr;
  ASSERT_EQ(app_->QueryInterface(IID_IOleWindow, &out), S_OK);
  EXPECT_EQ(out, window);
  // Start-up's reference, the window's and the two just handed out.
  EXPECT_EQ(app_->AddRef(), 5u);
  EXPECT_EQ(app_->Release(), 4u);
  EXPECT_EQ(window->Release(), 3u);
  EXPECT_EQ(window->Release(), 2u);

  IID other = IID_IBaseWindow;
  other.Data4[7] ^= 1;
  void* untouched = &out;
  EXPECT_EQ(app_->QueryInterface(other, &untouched), E_NOINTERFACE);
  EXPECT_EQ(untouched, &out);
  EXPECT_EQ(app_->AddRef(), 3u) << "a refused query added a reference";
  app_->Release();
}

int DefaultActivations() {
  int count = 0;
  for (UINT message : fake::DefWindowProcMessages()) {
    count += message == WM_ACTIVATE ? 1 : 0;
  }
  return count;
}

TEST_F(AppObjectTest, ActivationFollowsTheLowWordOnly) {
  const int defaultsBefore = DefaultActivations();
  EXPECT_EQ(SendMessageA(Window(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0), 0);
  EXPECT_EQ(app_->IsActive(), 1);
  SendMessageA(Window(), WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
  EXPECT_EQ(app_->IsActive(), 0) << "minimised and inactive";
  SendMessageA(Window(), WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0);
  EXPECT_EQ(app_->IsActive(), 1) << "activated while minimised";
  SendMessageA(Window(), WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  EXPECT_EQ(app_->IsActive(), 0);
  SendMessageA(Window(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
  EXPECT_EQ(app_->IsActive(), 1);
  EXPECT_EQ(DefaultActivations() - defaultsBefore, 5) << "activation still gets default processing";
}

TEST_F(AppObjectTest, CloseQuitsAndDefaultProcessingDestroysTheWindow) {
  HWND window = Window();
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(fake::QuitPosted());
  EXPECT_EQ(fake::QuitExitCode(), 0);
  EXPECT_FALSE(fake::Window(window).exists);
  EXPECT_EQ(app_->GetHandle(), nullptr);
  // Only start-up's reference is left: the window gave its own back.
  EXPECT_EQ(app_->AddRef(), 2u);
  app_->Release();
}

TEST_F(AppObjectTest, KeysReachTheScene) {
  SendMessageA(Window(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_NE(app_->GetScene()->keys.held[kKeyUp], 0);
  SendMessageA(Window(), WM_KEYUP, VK_UP, 0);
  EXPECT_EQ(app_->GetScene()->keys.held[kKeyUp], 0);
}

TEST_F(AppObjectTest, AltEnterGoesFullScreenAndBackToTheSizeFromBefore) {
  ASSERT_EQ(app_->Destroy(), S_OK);
  ASSERT_EQ(CreateAppWindow(app_, 720, 500), S_OK);

  SendMessageA(Window(), WM_SYSKEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(app_->IsFullscreen());
  EXPECT_EQ(State().clientWidth, 1024);
  EXPECT_EQ(State().clientHeight, 768);
  EXPECT_EQ(fake::CurrentDisplayMode().dmPelsWidth, 1024u);

  SendMessageA(Window(), WM_SYSKEYDOWN, VK_RETURN, 0);
  ASSERT_FALSE(app_->IsFullscreen());
  EXPECT_EQ(State().clientWidth, 720) << "not the start-up 640";
  EXPECT_EQ(State().clientHeight, 500);
  EXPECT_FALSE(fake::DisplayModeChanged());
  EXPECT_NE(app_->GetScene()->quadric, nullptr) << "GL resources made again";
}

TEST_F(AppObjectTest, AskingForFullScreenTwiceKeepsTheSavedSize) {
  ASSERT_EQ(app_->SetFullscreen(TRUE), S_OK);
  EXPECT_EQ(app_->SetFullscreen(TRUE), S_FALSE);
  ASSERT_EQ(app_->SetFullscreen(FALSE), S_OK);
  EXPECT_EQ(State().clientWidth, 640);
  EXPECT_EQ(State().clientHeight, 480);
}

// --- A switch that fails after the old window is gone -----------------------

TEST_F(AppObjectTest, RefusedDisplayModeFallsBackToAWindow) {
  fake::RefuseDisplayChange(DISP_CHANGE_BADMODE);
  HWND old = Window();
  EXPECT_EQ(app_->SetFullscreen(TRUE), E_FAIL);
  EXPECT_FALSE(fake::Window(old).exists);
  ASSERT_NE(Window(), nullptr) << "left without a window";
  EXPECT_TRUE(State().visible);
  EXPECT_FALSE(app_->IsFullscreen());
  EXPECT_EQ(State().clientWidth, 640);
  EXPECT_EQ(State().clientHeight, 480);
  EXPECT_FALSE(fake::QuitPosted());
  EXPECT_EQ(app_->GetFatalResult(), S_OK);
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
}

TEST_F(AppObjectTest, WindowedSizeThatNoLongerFitsIsShrunkToTheDesktop) {
  ASSERT_EQ(app_->SetFullscreen(TRUE), S_OK);
  fake::SetFullscreenMetrics(600, 400);  // the desktop shrank meanwhile
  EXPECT_EQ(app_->SetFullscreen(FALSE), E_INVALIDARG);
  ASSERT_NE(Window(), nullptr) << "left without a window";
  EXPECT_FALSE(app_->IsFullscreen());
  EXPECT_FALSE(fake::DisplayModeChanged());
  EXPECT_EQ(fake::CursorDisplayCount(), 0) << "cursor hidden after leaving full screen";
  EXPECT_EQ(State().clientWidth, 600);
  EXPECT_EQ(State().clientHeight, 400);
  EXPECT_FALSE(fake::QuitPosted());
  EXPECT_NE(app_->GetScene()->quadric, nullptr);
}

TEST_F(AppObjectTest, NoWindowPossibleEndsTheProgramWithTheFailure) {
  fake::RefuseDisplayChange(DISP_CHANGE_BADMODE);
  SendMessageA(Window(), WM_ACTIVATE, WA_ACTIVE, 0);
  fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(app_->SetFullscreen(TRUE), E_FAIL);
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_TRUE(fake::QuitPosted());
  EXPECT_EQ(app_->GetFatalResult(), E_FAIL);
  EXPECT_EQ(app_->IsActive(), 0) << "the loop must not draw without a window";
  EXPECT_FALSE(fake::DisplayModeChanged());
}

TEST_F(AppObjectTest, NewWindowWithoutGLResourcesIsNotKept) {
  // Going full screen makes the window, but its GL resources cannot be
  // made (no memory for the floor image); so does the windowed retry.
  fake::SetCallHook([](const std::string& entry) {
    if (StartsWith(entry, "ShowWindow")) {
      fake::FailAllocation(1, true);
    }
  });
  HWND old = Window();
  EXPECT_EQ(app_->SetFullscreen(TRUE), E_OUTOFMEMORY);
  fake::SetCallHook(nullptr);
  fake::FailAllocation(0);
  EXPECT_FALSE(fake::Window(old).exists);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_TRUE(fake::QuitPosted());
  EXPECT_EQ(app_->GetFatalResult(), E_OUTOFMEMORY);
  EXPECT_FALSE(fake::DisplayModeChanged()) << "the full-screen mode was left in force";
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
}

}  // namespace
