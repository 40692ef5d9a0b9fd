// Classes, creation and destruction on the SDL layer, checked against what
// Windows does and against the real X window.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gmock/gmock.h>

#include "platform_resources.h"
#include "sdl_test_support.h"

namespace sdl_test {
namespace {

using ::testing::ElementsAre;

TEST_F(SdlTest, ClassRegistrationRulesMatchWindows) {
  WNDCLASSEXA again{};
  again.cbSize = sizeof(again);
  again.lpfnWndProc = RecordingProc;
  again.lpszClassName = "sdllayertestclass";  // names compare without case
  SetLastError(0);
  EXPECT_EQ(RegisterClassExA(&again), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  again.cbSize = 0;
  again.lpszClassName = "Other";
  EXPECT_EQ(RegisterClassExA(&again), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "x", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                            nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  // A class with windows cannot go; once they are gone it can.
  HWND window = MakeWindow("class rules", false);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(UnregisterClassA(kClassName, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  char name[8];
  EXPECT_EQ(GetClassNameA(window, name, sizeof(name)), 7);  // cut to fit, terminated
  EXPECT_STREQ(name, "SdlLaye");
}

TEST_F(SdlTest, CreationSendsMessagesInWindowsOrderAndStaysHiddenUntilShown) {
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, kClassName, "order", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  windows_.push_back(window);
  // An overlapped window's first WM_SIZE comes when it is shown.
  EXPECT_THAT(MessageOrder(), ElementsAre(WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE));
  for (const Recorded& r : g_log) {
    EXPECT_EQ(r.window, window);
  }

  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(Shell("xdotool search --onlyvisible --name '^order$' | wc -l"), "0\n");
  g_log.clear();
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));  // was hidden
  ASSERT_EQ(Seen(WM_SIZE).size(), 1u);
  EXPECT_EQ(Seen(WM_SIZE)[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(LOWORD(Seen(WM_SIZE)[0].lParam), 640);
  EXPECT_EQ(HIWORD(Seen(WM_SIZE)[0].lParam), 480);
  EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
  ASSERT_TRUE(PumpUntil([] {
    return Shell("xdotool search --onlyvisible --name '^order$' | wc -l") == "1\n";
  }));

  // The client area is exactly the size asked for, for us and for X.
  RECT client{};
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  const std::string geometry = Shell(
      "xdotool search --onlyvisible --name '^order$' getwindowgeometry | grep Geometry");
  EXPECT_EQ(geometry, "  Geometry: 640x480\n");
}

TEST_F(SdlTest, CreateParameterReachesNcCreateAndCreate) {
  int marker = 0;
  std::vector<LPVOID> params;
  g_answer = [&params](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
    if (message == WM_NCCREATE || message == WM_CREATE) {
      params.push_back(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    }
    return false;
  };
  HWND window = CreateWindowExA(0, kClassName, "param", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200,
                                nullptr, nullptr, nullptr, &marker);
  ASSERT_NE(window, nullptr);
  windows_.push_back(window);
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0], &marker);
  EXPECT_EQ(params[1], &marker);
}

TEST_F(SdlTest, RefusalInCreateDestroysTheHalfMadeWindow) {
  HWND seen = nullptr;
  g_answer = [&seen](HWND window, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message == WM_CREATE) {
      seen = window;
      SetLastError(ERROR_INVALID_PIXEL_FORMAT);
      *result = -1;
      return true;
    }
    return false;
  };
  SetLastError(0);
  EXPECT_EQ(MakeWindow("refused", false), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PIXEL_FORMAT));
  EXPECT_THAT(MessageOrder(), ElementsAre(WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_NCDESTROY));
  ASSERT_NE(seen, nullptr);
  EXPECT_FALSE(IsWindow(seen));
}

TEST_F(SdlTest, RefusalInNcCreateFailsToo) {
  g_answer = [](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message == WM_NCCREATE) {
      *result = FALSE;
      return true;
    }
    return false;
  };
  EXPECT_EQ(MakeWindow("refused early", false), nullptr);
  EXPECT_THAT(MessageOrder(), ElementsAre(WM_GETMINMAXINFO, WM_NCCREATE, WM_NCDESTROY));
}

TEST_F(SdlTest, DestroyWindowSendsDestroyThenNcDestroyOnce) {
  HWND window = MakeWindow("destroy", true);
  ASSERT_NE(window, nullptr);
  SetTimer(window, 1, 10, nullptr);
  PostMessageA(window, WM_USER + 5, 0, 0);
  g_log.clear();
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_THAT(MessageOrder(), ElementsAre(WM_DESTROY, WM_NCDESTROY));
  EXPECT_FALSE(IsWindow(window));
  SetLastError(0);
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  // Its posted message and timer went with it.
  PumpFor(60);
  EXPECT_TRUE(Seen(WM_USER + 5).empty());
  EXPECT_TRUE(Seen(WM_TIMER).empty());
}

// A mode switch: the active window destroyed, the next one made at once (from
// the same SDL window, which keeps the focus) is activated when shown.
TEST_F(SdlTest, WindowMadeRightAfterTheActiveOneIsDestroyedIsActivated) {
  HWND first = MakeWindow("first", false);
  ASSERT_TRUE(ShowAndActivate(first));
  EXPECT_TRUE(DestroyWindow(first));
  HWND second = MakeWindow("second", false);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(ShowAndActivate(second));
  EXPECT_EQ(GetFocus(), second);
}

TEST_F(SdlTest, ProcedureAndUserDataCanBeReplaced) {
  HWND window = MakeWindow("subclass", false);
  ASSERT_NE(window, nullptr);
  static std::vector<UINT> replaced;
  replaced.clear();
  WNDPROC replacement = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    replaced.push_back(m);
    return m == WM_USER ? 42 : CallWindowProcA(RecordingProc, w, m, wp, lp);
  };
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(RecordingProc));
  EXPECT_EQ(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement)),
            reinterpret_cast<LONG_PTR>(RecordingProc));
  g_log.clear();
  EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 42);
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(replaced, (std::vector<UINT>{WM_USER, WM_USER + 1}));
  EXPECT_THAT(MessageOrder(), ElementsAre(WM_USER + 1));  // passed on by CallWindowProcA

  // User data keeps all 64 bits of a pointer.
  const LONG_PTR value = static_cast<LONG_PTR>(0x123456789ABCDEF0ll);
  EXPECT_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, value), 0);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), value);
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
}

TEST_F(SdlTest, WindowManagerCloseBecomesWmCloseAndDefaultProcessingDestroys) {
  HWND window = MakeWindow("close me", false);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ShowAndActivate(window));
  EXPECT_EQ(GetFocus(), window);
  Shell("wmctrl -c 'close me'");
  ASSERT_TRUE(PumpUntil([window] { return !IsWindow(window); }));
  const std::vector<UINT> order = MessageOrder();
  std::vector<UINT> tail;
  for (UINT m : order) {
    if (m == WM_CLOSE || m == WM_DESTROY || m == WM_NCDESTROY) {
      tail.push_back(m);
    }
  }
  EXPECT_EQ(tail, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_EQ(GetFocus(), nullptr);
  // SDL's own quit event does not become WM_QUIT.
  MSG msg{};
  PumpFor(100);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(SdlTest, TitleAndPlacementFollowTheFrameModel) {
  HWND window = MakeWindow("first title", false, 320, 200);
  ASSERT_NE(window, nullptr);
  char text[256];
  EXPECT_EQ(GetWindowTextA(window, text, sizeof(text)), 11);
  EXPECT_STREQ(text, "first title");
  EXPECT_TRUE(SetWindowTextA(window, "second"));
  EXPECT_EQ(GetWindowTextA(window, text, 4), 3);
  EXPECT_STREQ(text, "sec");

  // The frame is the window manager's: no frame is added to a rectangle.
  RECT rect{100, 50, 740, 530};
  EXPECT_TRUE(AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW));
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.bottom, 530);

  ASSERT_TRUE(ShowAndActivate(window));
  g_log.clear();
  EXPECT_TRUE(MoveWindow(window, 200, 150, 400, 300, TRUE));
  ASSERT_TRUE(PumpUntil([window] {
    RECT r{};
    GetWindowRect(window, &r);
    return r.left == 200 && r.top == 150;
  }));
  RECT placed{};
  GetWindowRect(window, &placed);
  EXPECT_EQ(placed.right - placed.left, 400);
  EXPECT_EQ(placed.bottom - placed.top, 300);
  const std::vector<Recorded> sizes = Seen(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(LOWORD(sizes.back().lParam), 400);
  EXPECT_EQ(HIWORD(sizes.back().lParam), 300);
  // X agrees on where the client area is (xwininfo: xdotool adds the frame).
  const std::string where =
      Shell("xwininfo -name second | grep -E 'Absolute upper-left' | tr -s ' '");
  EXPECT_EQ(where, " Absolute upper-left X: 200\n Absolute upper-left Y: 150\n");
}

TEST_F(SdlTest, ExplicitPositionPlacesTheClientAreaNotTheFrame) {
  HWND window = CreateWindowExA(0, kClassName, "placed", WS_OVERLAPPEDWINDOW, 320, 272, 640, 480,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  windows_.push_back(window);
  ASSERT_TRUE(ShowAndActivate(window));
  ASSERT_TRUE(PumpUntil([] {
    return Shell("xwininfo -name placed | grep -E 'Absolute upper-left' | tr -s ' '") ==
           " Absolute upper-left X: 320\n Absolute upper-left Y: 272\n";
  }));
  RECT rect{};
  ASSERT_TRUE(PumpUntil([&] {
    GetWindowRect(window, &rect);
    return rect.left == 320 && rect.top == 272;
  }));
  EXPECT_EQ(rect.right, 960);
  EXPECT_EQ(rect.bottom, 752);
}

TEST_F(SdlTest, RegisteredIconBecomesTheWindowIcon) {
  // 2x2: red, green / blue, white.
  const unsigned char pixels[16] = {255, 0, 0, 255, 0, 255, 0, 255,
                                    0, 0, 255, 255, 255, 255, 255, 255};
  // Sizes come one by one; the window shows the largest, not the last.
  PlatformRegisterIcon(101, pixels, 2, 2);
  PlatformRegisterIcon(101, pixels + 4, 1, 1);
  HINSTANCE module = GetModuleHandleA(nullptr);
  HICON icon = LoadIconA(module, MAKEINTRESOURCE(101));
  ASSERT_NE(icon, nullptr);
  SetLastError(0);
  EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCE(102)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);

  WNDCLASSEXA iconClass{};
  iconClass.cbSize = sizeof(iconClass);
  iconClass.lpfnWndProc = RecordingProc;
  iconClass.hInstance = module;
  iconClass.hIcon = icon;
  iconClass.lpszClassName = "IconClass";
  ASSERT_NE(RegisterClassExA(&iconClass), 0);
  HWND window = CreateWindowExA(0, "IconClass", "iconic", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 200, 100, nullptr, nullptr, module, nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  PumpFor(100);
  // _NET_WM_ICON: width, height, then ARGB pixels.
  const std::string property = Shell("xprop -name iconic -f _NET_WM_ICON 32c _NET_WM_ICON");
  EXPECT_NE(property.find("= 2, 2, 4294901760, 4278255360, 4278190335, 4294967295"),
            std::string::npos)
      << property;
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA("IconClass", module));
}

// A window manager that does not get round to mapping the window (stopped
// here) must not hold ShowWindow for good; the window appears when it does.
TEST_F(SdlTest, ShowWindowReturnsWhileTheWindowManagerIsNotMapping) {
  const std::string manager = Shell("pgrep -P " + std::to_string(getppid()) + " openbox");
  const std::string openbox = std::to_string(std::atoi(manager.c_str()));
  ASSERT_NE(openbox, "0") << "no openbox beside the test";
  HWND window = MakeWindow("unmapped", false);
  ASSERT_NE(window, nullptr);
  // Resumed in any case, later than ShowWindow may take.
  Shell("kill -STOP " + openbox + "; (sleep 15; kill -CONT " + openbox + ") >/dev/null 2>&1 &");
  ShowWindow(window, SW_SHOW);
  const std::string state = Shell("ps -o state= -p " + openbox);
  Shell("kill -CONT " + openbox);
  EXPECT_EQ(state.substr(0, 1), "T") << "ShowWindow waited for the window manager";
  EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_TRUE(ShowAndActivate(window));
}

TEST_F(SdlTest, MetricsComeFromTheDesktopMode) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 1024);
}

TEST_F(SdlTest, CursorCounterShowsAtZeroAndAbove) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(ShowCursor(TRUE), 1);
  EXPECT_EQ(ShowCursor(FALSE), 0);
}

}  // namespace
}  // namespace sdl_test
