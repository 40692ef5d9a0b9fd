// The window framework on the real SDL layer: a CBaseGLWindow opens a
// 640x480 client area with a current GL context, paints, goes full screen
// and back on a real Alt+Enter, and is destroyed with its reference count
// back where it started.
#include <string>

#include "framework/gl_window.h"
#include "framework/private_unknown.h"
#include "opengl.h"
#include "sdl_test_support.h"

namespace sdl_test {
namespace {

const char kFrameworkClass[] = "SdlFrameworkTestClass";

class RedWindow : public CPrivateUnknown, public CBaseGLWindow {
 public:
  explicit RedWindow(bool* destroyed) : m_destroyed(destroyed) {}
  ~RedWindow() override { *m_destroyed = true; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return CPrivateUnknown::QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return CPrivateUnknown::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return CPrivateUnknown::Release(); }
  HRESULT PrivateQueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  HINSTANCE GetInstance() override { return GetModuleHandleA(nullptr); }
  void OnNcDestroy() override { CBaseGLWindow::OnNcDestroy(); }

  HRESULT CreateGLResources() override {
    ++resourceCalls;
    contextCurrent = glGetString(GL_VERSION) != nullptr;
    return S_OK;
  }
  void Render() override {
    ++renderCalls;
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  HRESULT SetFullscreen(BOOL fullscreen) override {
    ++switches;
    return fullscreen ? SwitchScreenMode(TRUE, 1024, 768) : SwitchScreenMode(FALSE, 640, 480);
  }

  int resourceCalls = 0;
  bool contextCurrent = false;
  int renderCalls = 0;
  int switches = 0;

 private:
  bool* m_destroyed;
};

ULONG RefCount(RedWindow* object) {
  object->AddRef();
  return object->Release();
}

std::string ScreenSize() { return Shell("xdpyinfo | awk '/dimensions:/ {print $2}'"); }

TEST(FrameworkOnSdl, GLWindowPaintsAndSwitchesScreenModesOnAltEnter) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = CBaseWindow::ClassWndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kFrameworkClass;
  ASSERT_NE(RegisterClassExA(&windowClass), 0);

  bool destroyed = false;
  RedWindow* window = new RedWindow(&destroyed);
  ASSERT_NE(window, nullptr);
  const ULONG startCount = RefCount(window);

  GLWindowCreateRecord record{window, 0, FALSE, kFrameworkClass, CW_USEDEFAULT, CW_USEDEFAULT,
                              640, 480, SW_SHOW};
  ASSERT_EQ(CBaseGLWindow::Create("Framework GL", &record), S_OK);
  HWND first = window->GetHandle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(RefCount(window), startCount + 1);  // the window's own reference
  EXPECT_TRUE(window->contextCurrent);
  EXPECT_NE(glGetString(GL_VERSION), nullptr);
  RECT client{};
  ASSERT_TRUE(GetClientRect(first, &client));
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(first, GWL_STYLE)) &
                (WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));

  // WM_PAINT draws through Render and swaps: X shows the red frame.
  ASSERT_TRUE(PumpUntil([&] { return window->renderCalls > 0 && GetFocus() == first; }));
  PumpFor(100);
  EXPECT_NE(WindowPixel("Framework GL", 320, 240).find("(65535,0,0)"), std::string::npos);

  // Alt+Enter: full screen at 1024x768 in a new window and a new context.
  Shell("xdotool key alt+Return");
  ASSERT_TRUE(PumpUntil([&] {
    return window->IsFullscreen() && GetSystemMetrics(SM_CXSCREEN) == 1024;
  }, 8000)) << ScreenSize();
  EXPECT_EQ(ScreenSize(), "1280x1024\n");  // scaled: the screen keeps its mode
  HWND full = window->GetHandle();
  ASSERT_NE(full, nullptr);
  EXPECT_NE(full, first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(window->resourceCalls, 2);
  EXPECT_TRUE(window->contextCurrent);
  ASSERT_TRUE(PumpUntil([&] {
    RECT r{};
    GetClientRect(full, &r);
    return r.right == 1024 && r.bottom == 768 && GetFocus() == full;
  }, 5000));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(full, GWL_STYLE)) & WS_POPUP,
            static_cast<DWORD>(WS_POPUP));
  const int paintsBefore = window->renderCalls;
  InvalidateRect(full, nullptr, FALSE);
  ASSERT_TRUE(PumpUntil([&] { return window->renderCalls > paintsBefore; }));
  EXPECT_EQ(RefCount(window), startCount + 1);

  // Alt+Enter again: back to a 640x480 window centred on the desktop.
  Shell("xdotool key alt+Return");
  ASSERT_TRUE(PumpUntil([&] {
    return !window->IsFullscreen() && window->GetHandle() != nullptr &&
           window->GetHandle() != full && GetSystemMetrics(SM_CXSCREEN) == 1280;
  }, 8000)) << ScreenSize();
  HWND back = window->GetHandle();
  EXPECT_EQ(window->switches, 2);
  EXPECT_EQ(window->resourceCalls, 3);
  ASSERT_TRUE(GetClientRect(back, &client));
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  RECT placed{};
  ASSERT_TRUE(PumpUntil([&] {
    GetWindowRect(back, &placed);
    return placed.left == 320 && placed.top == 272;
  }, 3000)) << placed.left << "," << placed.top;

  // Gone: the window's reference is given back.
  EXPECT_EQ(window->Destroy(), S_OK);
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_FALSE(IsWindow(back));
  EXPECT_EQ(glGetString(GL_VERSION), nullptr);  // OnNcDestroy released the context
  EXPECT_EQ(RefCount(window), startCount);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(window->Release(), 0u);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(ScreenSize(), "1280x1024\n");
  EXPECT_TRUE(UnregisterClassA(kFrameworkClass, GetModuleHandleA(nullptr)));
}

}  // namespace
}  // namespace sdl_test
