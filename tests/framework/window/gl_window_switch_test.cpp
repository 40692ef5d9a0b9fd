// SwitchScreenMode: placement, carried-over names, and the failures.
#include <string>

#include "test_windows.h"

namespace {

class GLWindowSwitchTest : public FakePlatformTest {
 protected:
  void SetUp() override {
    FakePlatformTest::SetUp();
    window = new TestGLWindow(&destroyed);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (window->GetHandle() != nullptr) DestroyWindow(window->GetHandle());
    window->Release();
  }
  fake::WindowState Current() { return fake::Window(window->GetHandle()); }
  // The client area's top-left corner on the screen.
  POINT ClientOrigin() {
    const fake::WindowState state = Current();
    return POINT{state.windowRect.left + fake::kFrameSide,
                 state.windowRect.top + fake::kFrameTop};
  }
  TestGLWindow* window = nullptr;
  bool destroyed = false;
};

TEST_F(GLWindowSwitchTest, AroundTripKeepsTheObjectAndBuildsResourcesAgain) {
  ASSERT_EQ(CreateGL(window, FALSE, 640, 480, 0, CW_USEDEFAULT, CW_USEDEFAULT, "Round Trip"),
            S_OK);
  HWND first = window->GetHandle();
  HDC firstDc = window->GetDeviceContext();
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), S_OK);
  HWND second = window->GetHandle();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_FALSE(fake::Window(first).exists);
  EXPECT_NE(window->GetDeviceContext(), firstDc);
  EXPECT_EQ(fake::LiveDeviceContexts(), 1);
  EXPECT_EQ(fake::LiveGLContexts(), 1);
  EXPECT_EQ(Current().className, kTestClass);
  EXPECT_EQ(Current().title, "Round Trip");
  EXPECT_EQ(Current().lastShowCommand, SW_SHOW);
  EXPECT_EQ(Current().clientWidth, 1024);
  EXPECT_EQ(window->FullscreenFlag(), 1);
  EXPECT_EQ(window->glResourcesCalls, 2);
  EXPECT_EQ(RefCount(window), 2u);  // start-up's and the new window's

  fake::SetFullscreenMetrics(1024, 738);
  EXPECT_EQ(window->SwitchScreenMode(FALSE, 640, 480), S_OK);
  EXPECT_EQ(window->FullscreenFlag(), 0);
  EXPECT_FALSE(fake::DisplayModeChanged());
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
  EXPECT_EQ(Current().style, static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                                                WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  EXPECT_EQ(window->glResourcesCalls, 3);
  EXPECT_FALSE(destroyed);
}

TEST_F(GLWindowSwitchTest, GoingWindowedCentresTheClientAreaInTheFullScreenArea) {
  ASSERT_EQ(CreateGL(window, TRUE, 1024, 768), S_OK);
  fake::SetFullscreenMetrics(1024, 738);
  fake::ClearCalls();
  ASSERT_EQ(window->SwitchScreenMode(FALSE, 640, 480), S_OK);
  const POINT origin = ClientOrigin();
  EXPECT_EQ(origin.x, 192);
  EXPECT_EQ(origin.y, 129);
  EXPECT_EQ(Current().clientWidth, 640);
  EXPECT_EQ(Current().clientHeight, 480);
  // The metrics are read once the display mode is back.
  EXPECT_LT(fake::FindCall("ChangeDisplaySettingsA null"),
            fake::FindCall("GetSystemMetrics 16"));
}

TEST_F(GLWindowSwitchTest, ARestoreThatChangesNothingSetsTheSizeFoundBeforeFullScreen) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  ASSERT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), S_OK);
  fake::ClearCalls();
  ASSERT_EQ(window->SwitchScreenMode(FALSE, 640, 480), S_OK);
  EXPECT_EQ(fake::CountCallsNamed("ChangeDisplaySettingsA"), 1);  // the screen has its size

  // As under Wine when a race made the full-screen mode the registry's own:
  // the screen keeps 1024 x 768 through the restore.
  ASSERT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), S_OK);
  fake::SetScreenMetrics(1024, 768);
  fake::ClearCalls();
  ASSERT_EQ(window->SwitchScreenMode(FALSE, 640, 480), S_OK);
  const int restore = fake::FindCall("ChangeDisplaySettingsA null");
  ASSERT_GE(restore, 0);
  EXPECT_GT(fake::FindCall("ChangeDisplaySettingsA 1920x1080x0", restore), restore);
}

TEST_F(GLWindowSwitchTest, EachHalvingTruncatesOnItsOwn) {
  ASSERT_EQ(CreateGL(window, TRUE, 1024, 768), S_OK);
  fake::SetFullscreenMetrics(1024, 738);
  ASSERT_EQ(window->SwitchScreenMode(FALSE, 641, 481), S_OK);
  const POINT origin = ClientOrigin();
  EXPECT_EQ(origin.x, 512 - 320);  // not (1024 - 641) / 2 = 191
  EXPECT_EQ(origin.y, 369 - 240);  // not (738 - 481) / 2 = 128
}

TEST_F(GLWindowSwitchTest, SwitchingToTheCurrentModeDoesNothing) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  HWND hwnd = window->GetHandle();
  fake::ClearCalls();
  EXPECT_EQ(window->SwitchScreenMode(FALSE, 800, 600), S_FALSE);
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(window->GetHandle(), hwnd);
  ASSERT_EQ(window->Destroy(), S_OK);
  ASSERT_EQ(CreateGL(window, TRUE, 1024, 768), S_OK);
  fake::ClearCalls();
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 800, 600), S_FALSE);
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(GLWindowSwitchTest, NoWindowOrAChildWindowFails) {
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), E_FAIL);
  EXPECT_TRUE(fake::Calls().empty());
  ASSERT_EQ(CreateGL(window, FALSE, 200, 100, WS_CHILD, 0, 0), S_OK);
  HWND hwnd = window->GetHandle();
  fake::ClearCalls();
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), E_FAIL);
  EXPECT_EQ(window->GetHandle(), hwnd);
  EXPECT_EQ(fake::CountCallsNamed("DestroyWindow"), 0);
  EXPECT_FALSE(fake::DisplayModeChanged());
}

TEST_F(GLWindowSwitchTest, UnreadableNamesFailWithTheErrorAndKeepTheWindow) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  HWND hwnd = window->GetHandle();
  fake::Inject(fake::Fault::GetClassName, ERROR_INVALID_WINDOW_HANDLE, true);
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), static_cast<HRESULT>(0x80070578));
  fake::Inject(fake::Fault::GetWindowText, ERROR_NOT_ENOUGH_MEMORY, true);
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), static_cast<HRESULT>(0x80070008));
  // A class name that cannot be read is a failure even with no error.
  fake::Inject(fake::Fault::GetClassName, 0, true);
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), E_FAIL);
  EXPECT_EQ(window->GetHandle(), hwnd);
  EXPECT_EQ(fake::CountCallsNamed("DestroyWindow"), 0);
  EXPECT_FALSE(fake::DisplayModeChanged());
}

TEST_F(GLWindowSwitchTest, AnEmptyTitleIsNoFailure) {
  ASSERT_EQ(CreateGL(window, FALSE, 640, 480, 0, CW_USEDEFAULT, CW_USEDEFAULT, ""), S_OK);
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), S_OK);
  EXPECT_EQ(Current().title, "");
}

TEST_F(GLWindowSwitchTest, NamesCarryOverUpTo255Characters) {
  const std::string title(300, 't');
  ASSERT_EQ(CreateGL(window, FALSE, 640, 480, 0, CW_USEDEFAULT, CW_USEDEFAULT, title.c_str()),
            S_OK);
  ASSERT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), S_OK);
  EXPECT_EQ(Current().title, std::string(255, 't'));
}

TEST_F(GLWindowSwitchTest, AWindowedSizeLargerThanTheDesktopLeavesNoWindow) {
  ASSERT_EQ(CreateGL(window, TRUE, 1024, 768), S_OK);
  fake::SetFullscreenMetrics(1024, 738);
  EXPECT_EQ(window->SwitchScreenMode(FALSE, 1024, 739), E_INVALIDARG);
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_FALSE(fake::DisplayModeChanged());
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
  EXPECT_EQ(RefCount(window), 1u);
}

TEST_F(GLWindowSwitchTest, ARefusedDestroyStopsTheSwitch) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  HWND hwnd = window->GetHandle();
  fake::Inject(fake::Fault::DestroyWindow, 5, true);
  // DestroyWindow's refusal (S_FALSE) is no failure on its own; creating
  // over the window that is still there is.
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), E_UNEXPECTED);
  EXPECT_EQ(window->GetHandle(), hwnd);
  EXPECT_EQ(window->FullscreenFlag(), 0);
  EXPECT_FALSE(fake::DisplayModeChanged());
}

TEST_F(GLWindowSwitchTest, AFailedNewWindowLeavesNoWindowAndGivesTheDisplayBack) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY, true);
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), static_cast<HRESULT>(0x80070008));
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_EQ(window->FullscreenFlag(), 0);
  EXPECT_FALSE(fake::DisplayModeChanged());
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
  EXPECT_EQ(fake::LiveGLContexts(), 0);
}

TEST_F(GLWindowSwitchTest, AFailedPixelFormatDuringASwitchAlsoGivesTheDisplayBack) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  fake::Inject(fake::Fault::SetPixelFormat, ERROR_INVALID_PIXEL_FORMAT, true);
  EXPECT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), static_cast<HRESULT>(0x800707D0));
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_FALSE(fake::DisplayModeChanged());
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
  EXPECT_EQ(fake::LiveDeviceContexts(), 0);
}

}  // namespace
