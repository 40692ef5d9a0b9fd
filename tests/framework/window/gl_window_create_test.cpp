// CBaseGLWindow::Create in both modes, and each way it can fail.
#include "test_windows.h"

namespace {

const DWORD kClip = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

class GLWindowCreateTest : public FakePlatformTest {
 protected:
  void SetUp() override {
    FakePlatformTest::SetUp();
    window = new TestGLWindow(&destroyed);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (!destroyed) {
      if (window->GetHandle() != nullptr) DestroyWindow(window->GetHandle());
      window->Release();
    }
  }
  // Nothing of a window, its contexts or a display change is left.
  void ExpectNothingLeft() {
    EXPECT_EQ(window->GetHandle(), nullptr);
    EXPECT_EQ(fake::LiveWindows(), 0);
    EXPECT_EQ(fake::LiveDeviceContexts(), 0);
    EXPECT_EQ(fake::LiveGLContexts(), 0);
    EXPECT_EQ(window->FullscreenFlag(), 0);
    EXPECT_FALSE(fake::DisplayModeChanged());
    EXPECT_EQ(fake::CursorDisplayCount(), 0);
    EXPECT_EQ(RefCount(window), 1u);
  }

  TestGLWindow* window = nullptr;
  bool destroyed = false;
};

TEST_F(GLWindowCreateTest, ConstructionDefaults) {
  EXPECT_EQ(window->FullscreenFlag(), 0);
  EXPECT_EQ(window->ColorBits(), 32);
  EXPECT_EQ(window->DepthBits(), 16);
  EXPECT_EQ(window->NearPlane(), 0.1);
  EXPECT_EQ(window->FarPlane(), 1000.0);
  EXPECT_EQ(window->GetDeviceContext(), nullptr);
  EXPECT_EQ(window->GLContext(), nullptr);
  EXPECT_EQ(RefCount(window), 1u);
  void* itf = nullptr;
  ASSERT_EQ(window->QueryInterface(IID_IBaseWindow, &itf), S_OK);
  EXPECT_EQ(itf, static_cast<void*>(static_cast<IBaseWindow*>(window)));
  // A query through the window interface reaches the same identity.
  void* identity = nullptr;
  ASSERT_EQ(static_cast<IBaseWindow*>(itf)->QueryInterface(IID_IUnknown, &identity), S_OK);
  EXPECT_EQ(identity, static_cast<void*>(window->GetDefaultOuter()));
  EXPECT_EQ(RefCount(window), 3u);
  static_cast<IUnknown*>(identity)->Release();
  static_cast<IBaseWindow*>(itf)->Release();
}

TEST_F(GLWindowCreateTest, WindowedMakesAnOverlappedWindowWithTheExactClientSize) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  HWND hwnd = window->GetHandle();
  ASSERT_NE(hwnd, nullptr);
  const fake::WindowState state = fake::Window(hwnd);
  // Shown: the style reads back with WS_VISIBLE, as on Windows.
  EXPECT_EQ(state.style, static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_VISIBLE) | kClip);
  EXPECT_EQ(state.exStyle, 0x00040100u);
  EXPECT_EQ(state.clientWidth, 640);
  EXPECT_EQ(state.clientHeight, 480);
  // CW_USEDEFAULT stayed, so the system placed it.
  EXPECT_EQ(state.windowRect.left, 26);
  EXPECT_EQ(state.windowRect.top, 26);
  EXPECT_EQ(state.title, "Test Title");
  EXPECT_TRUE(state.visible);
  EXPECT_EQ(state.lastShowCommand, SW_SHOWNORMAL);
  EXPECT_EQ(window->FullscreenFlag(), 0);
  EXPECT_EQ(fake::CountCallsNamed("ChangeDisplaySettingsA"), 0);
  EXPECT_EQ(fake::CountCallsNamed("SetForegroundWindow"), 0);
  EXPECT_EQ(window->glResourcesCalls, 1);
  EXPECT_EQ(RefCount(window), 2u);
}

TEST_F(GLWindowCreateTest, AnExplicitPositionPlacesTheClientAreaNotTheFrame) {
  ASSERT_EQ(CreateGL(window, FALSE, 320, 200, 0, 100, 50), S_OK);
  const fake::WindowState state = fake::Window(window->GetHandle());
  EXPECT_EQ(state.windowRect.left, 100 - fake::kFrameSide);
  EXPECT_EQ(state.windowRect.top, 50 - fake::kFrameTop);
  EXPECT_EQ(state.clientWidth, 320);
  EXPECT_EQ(state.clientHeight, 200);
}

TEST_F(GLWindowCreateTest, AChildStyleIsKeptWithNoExtendedStyle) {
  ASSERT_EQ(CreateGL(window, FALSE, 200, 100, WS_CHILD | WS_VISIBLE, 0, 0), S_OK);
  const fake::WindowState state = fake::Window(window->GetHandle());
  EXPECT_EQ(state.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE) | kClip);
  EXPECT_EQ(state.exStyle, 0u);
  EXPECT_EQ(state.clientWidth, 200);
  // The GL window shows itself whatever the style.
  EXPECT_EQ(fake::CountCalls("ShowWindow 1"), 1);
}

TEST_F(GLWindowCreateTest, ContextIsMadeInOrderWithTheRequestedFormatAndNoVsync) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  const char* order[] = {"GetDC", "ChoosePixelFormat", "SetPixelFormat 7", "wglCreateContext",
                         "wglMakeCurrent", "PlatformSetSwapInterval 0", "ShowWindow 1"};
  int at = 0;
  for (const char* call : order) {
    const int next = fake::FindCall(call, at);
    EXPECT_NE(next, -1) << call;
    at = next;
  }
  EXPECT_LT(EventIndex("OnMessage 1"), EventIndex("CreateGLResources"));
  EXPECT_EQ(fake::SwapInterval(), 0);
  const PIXELFORMATDESCRIPTOR pfd = fake::LastPixelFormatRequest();
  EXPECT_EQ(pfd.nSize, 40);
  EXPECT_EQ(pfd.nVersion, 1);
  EXPECT_EQ(pfd.dwFlags, 0x25u);
  EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
  EXPECT_EQ(pfd.cColorBits, 32);
  EXPECT_EQ(pfd.cDepthBits, 16);
  EXPECT_EQ(pfd.cAlphaBits, 0);
  EXPECT_EQ(pfd.cStencilBits, 0);
  EXPECT_EQ(pfd.cAccumBits, 0);
  EXPECT_EQ(fake::LiveDeviceContexts(), 1);
  EXPECT_EQ(fake::CurrentGLContext(), window->GLContext());
  EXPECT_NE(window->GetDeviceContext(), nullptr);
}

TEST_F(GLWindowCreateTest, ADriverWithoutSwapControlIsNoFailure) {
  fake::Inject(fake::Fault::SwapInterval, 0);
  EXPECT_EQ(CreateGL(window, FALSE), S_OK);
}

TEST_F(GLWindowCreateTest, FullScreenChangesTheModeAndMakesAPopupOfTheResolution) {
  ASSERT_EQ(CreateGL(window, TRUE, 1024, 768, 0, 300, 400), S_OK);
  HWND hwnd = window->GetHandle();
  const DEVMODEA mode = fake::CurrentDisplayMode();
  EXPECT_TRUE(fake::DisplayModeChanged());
  EXPECT_EQ(fake::LastDisplayModeFlags(), static_cast<DWORD>(CDS_FULLSCREEN));
  EXPECT_EQ(mode.dmSize, 156);
  EXPECT_EQ(mode.dmFields, 0x001C0000u);
  EXPECT_EQ(mode.dmBitsPerPel, 32u);
  EXPECT_EQ(mode.dmPelsWidth, 1024u);
  EXPECT_EQ(mode.dmPelsHeight, 768u);
  EXPECT_EQ(mode.dmDisplayFrequency, 0u);
  EXPECT_EQ(fake::CursorDisplayCount(), -1);

  const fake::WindowState state = fake::Window(hwnd);
  EXPECT_EQ(state.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE) | kClip);
  EXPECT_EQ(state.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(state.windowRect.left, 0);
  EXPECT_EQ(state.windowRect.top, 0);
  EXPECT_EQ(state.clientWidth, 1024);
  EXPECT_EQ(state.clientHeight, 768);
  EXPECT_EQ(window->FullscreenFlag(), 1);
  EXPECT_EQ(window->flagAtGLResources, 1);
  // A new full-screen window takes the foreground and the focus.
  const int show = fake::FindCall("ShowWindow 1");
  ASSERT_NE(show, -1);
  EXPECT_GT(fake::FindCall("SetForegroundWindow", show), show);
  EXPECT_GT(fake::FindCall("SetFocus", show), fake::FindCall("SetForegroundWindow", show));
  EXPECT_EQ(fake::ForegroundWindow(), hwnd);
  EXPECT_EQ(fake::FocusWindow(), hwnd);
}

TEST_F(GLWindowCreateTest, NcDestroyGivesBackModeCursorContextAndDcInOrder) {
  ASSERT_EQ(CreateGL(window, TRUE, 1024, 768), S_OK);
  fake::ClearCalls();
  ASSERT_EQ(window->Destroy(), S_OK);
  const int mode = fake::FindCall("ChangeDisplaySettingsA null");
  const int cursor = fake::FindCall("ShowCursor 1");
  const int current = fake::FindCall("wglMakeCurrent null");
  const int context = fake::FindCall("wglDeleteContext");
  const int dc = fake::FindCall("ReleaseDC");
  EXPECT_NE(mode, -1);
  EXPECT_LT(mode, cursor);
  EXPECT_LT(cursor, current);
  EXPECT_LT(current, context);
  EXPECT_LT(context, dc);
  ExpectNothingLeft();
  EXPECT_EQ(window->GetDeviceContext(), nullptr);
  EXPECT_EQ(window->GLContext(), nullptr);
}

TEST_F(GLWindowCreateTest, CreateWhileAWindowExistsChangesNothing) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  HWND hwnd = window->GetHandle();
  fake::ClearCalls();
  EXPECT_EQ(CreateGL(window, TRUE, 1024, 768), E_UNEXPECTED);
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(window->GetHandle(), hwnd);
}

TEST_F(GLWindowCreateTest, FullScreenRefusesAChildStyleBeforeChangingAnything) {
  EXPECT_EQ(CreateGL(window, TRUE, 1024, 768, WS_CHILD), E_INVALIDARG);
  EXPECT_TRUE(fake::Calls().empty());
  ExpectNothingLeft();
}

TEST_F(GLWindowCreateTest, ARefusedDisplayModeLeavesDisplayAndCursorAlone) {
  fake::RefuseDisplayChange(DISP_CHANGE_BADMODE);
  EXPECT_EQ(CreateGL(window, TRUE, 1024, 768), E_FAIL);
  EXPECT_EQ(fake::CountCallsNamed("ShowCursor"), 0);
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 0);
  ExpectNothingLeft();
}

TEST_F(GLWindowCreateTest, AFailedAdjustWindowRectIsReturnedUnlessThereIsNoError) {
  fake::Inject(fake::Fault::AdjustWindowRect, ERROR_INVALID_PARAMETER, true);
  EXPECT_EQ(CreateGL(window, FALSE), E_INVALIDARG);
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 0);
  ExpectNothingLeft();
  // No error to report: the window is made with the client placement as is.
  fake::Inject(fake::Fault::AdjustWindowRect, 0, true);
  EXPECT_EQ(CreateGL(window, FALSE, 640, 480, 0, 100, 50), S_OK);
  const fake::WindowState state = fake::Window(window->GetHandle());
  EXPECT_EQ(state.windowRect.left, 100);
  EXPECT_EQ(state.clientWidth, 640 - 2 * fake::kFrameSide);
}

TEST_F(GLWindowCreateTest, WindowCreationFailuresAreReturnedAndLeaveNoWindow) {
  fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY, true);
  EXPECT_EQ(CreateGL(window, FALSE), static_cast<HRESULT>(0x80070008));
  ExpectNothingLeft();
  fake::Inject(fake::Fault::CreateWindow, 0, true);
  EXPECT_EQ(CreateGL(window, FALSE), E_ABORT);
  ExpectNothingLeft();
  EXPECT_EQ(window->glResourcesCalls, 0);
}

TEST_F(GLWindowCreateTest, AFailedFullScreenWindowGivesTheDisplayAndCursorBack) {
  fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY, true);
  EXPECT_EQ(CreateGL(window, TRUE, 1024, 768), static_cast<HRESULT>(0x80070008));
  EXPECT_EQ(fake::CountCalls("ChangeDisplaySettingsA null"), 1);
  EXPECT_EQ(fake::CountCalls("ShowCursor 1"), 1);
  ExpectNothingLeft();
}

struct GLStepCase {
  fake::Fault fault;
  const char* name;
  int deviceContexts;  // obtained before the failing step
  int glContexts;
};

void PrintTo(const GLStepCase& step, std::ostream* out) { *out << step.name; }

class GLStepFailureTest : public GLWindowCreateTest,
                          public ::testing::WithParamInterface<GLStepCase> {};

TEST_P(GLStepFailureTest, FailsCreationAndReleasesWhatWasObtained) {
  const GLStepCase step = GetParam();
  for (BOOL fullscreen : {FALSE, TRUE}) {
    SCOPED_TRACE(fullscreen ? "full screen" : "windowed");
    fake::Reset();
    fake::Inject(step.fault, ERROR_INVALID_PIXEL_FORMAT);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CBaseWindow::ClassWndProc;
    windowClass.lpszClassName = kTestClass;
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(CreateGL(window, fullscreen, 1024, 768), static_cast<HRESULT>(0x800707D0));
    EXPECT_EQ(fake::CountCalls("ReleaseDC"), step.deviceContexts);
    EXPECT_EQ(fake::CountCalls("wglDeleteContext"), step.glContexts);
    EXPECT_EQ(window->glResourcesCalls, 0);
    ExpectNothingLeft();
  }
}

TEST_P(GLStepFailureTest, FailsEvenWhenTheSystemLeavesNoError) {
  fake::Inject(GetParam().fault, 0);
  // The refusal in WM_CREATE carries no error, so creation reports E_ABORT.
  EXPECT_EQ(CreateGL(window, FALSE), E_ABORT);
  EXPECT_EQ(window->glResourcesCalls, 0);
  ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, GLStepFailureTest,
    ::testing::Values(GLStepCase{fake::Fault::GetDC, "GetDC", 0, 0},
                      GLStepCase{fake::Fault::ChoosePixelFormat, "ChoosePixelFormat", 1, 0},
                      GLStepCase{fake::Fault::SetPixelFormat, "SetPixelFormat", 1, 0},
                      GLStepCase{fake::Fault::CreateContext, "CreateContext", 1, 0},
                      GLStepCase{fake::Fault::MakeCurrent, "MakeCurrent", 1, 1}),
    [](const ::testing::TestParamInfo<GLStepCase>& info) { return std::string(info.param.name); });

TEST_F(GLWindowCreateTest, SetupPixelFormatWithNoLastErrorIsAFailure) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  fake::Inject(fake::Fault::ChoosePixelFormat, 0);
  SetLastError(0);
  EXPECT_EQ(window->CallSetupPixelFormat(), E_FAIL);
}

TEST_F(GLWindowCreateTest, AFailedGLResourceCreationKeepsTheShownWindow) {
  window->glResourcesResult = E_OUTOFMEMORY;
  EXPECT_EQ(CreateGL(window, FALSE), E_OUTOFMEMORY);
  HWND hwnd = window->GetHandle();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(fake::Window(hwnd).visible);
  EXPECT_EQ(window->FullscreenFlag(), 0);
}

TEST_F(GLWindowCreateTest, AFullScreenWindowWithFailedResourcesStillRestoresTheMode) {
  window->glResourcesResult = E_OUTOFMEMORY;
  EXPECT_EQ(CreateGL(window, TRUE, 1024, 768), E_OUTOFMEMORY);
  ASSERT_NE(window->GetHandle(), nullptr);
  EXPECT_EQ(window->FullscreenFlag(), 1);
  EXPECT_TRUE(fake::DisplayModeChanged());
  ASSERT_EQ(window->Destroy(), S_OK);
  ExpectNothingLeft();
}

TEST_F(GLWindowCreateTest, ANonNegativeResourceResultIsPassedOn) {
  window->glResourcesResult = S_FALSE;
  EXPECT_EQ(CreateGL(window, FALSE), S_FALSE);
  EXPECT_NE(window->GetHandle(), nullptr);
}

TEST_F(GLWindowCreateTest, ANullRecordIsRefused) {
  EXPECT_EQ(CBaseGLWindow::Create("x", nullptr), E_POINTER);
  GLWindowCreateRecord record = {nullptr, 0, FALSE, kTestClass, 0, 0, 10, 10, SW_SHOW};
  EXPECT_EQ(CBaseGLWindow::Create("x", &record), E_POINTER);
}

}  // namespace
