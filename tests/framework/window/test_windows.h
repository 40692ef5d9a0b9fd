// Window objects, a handler and a fixture for the tests against the fake
// platform.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "framework/gl_window.h"
#include "framework/interface_ids.h"
#include "framework/private_unknown.h"

extern const char kTestClass[];

// What the objects and handlers saw, in order: "OnMessage 129",
// "OnNcDestroy bound", "A OnAttach", "B OnWindowMessage 15", ...
extern std::vector<std::string> g_events;
int EventIndex(const std::string& event);  // -1 when absent

// A CBaseWindow used the way the application uses CBaseGLWindow.
class TestBaseWindow : public CPrivateUnknown, public CBaseWindow {
 public:
  explicit TestBaseWindow(bool* destroyed = nullptr) : m_destroyed(destroyed) {}
  ~TestBaseWindow() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return CPrivateUnknown::QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return CPrivateUnknown::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return CPrivateUnknown::Release(); }
  HRESULT PrivateQueryInterface(REFIID iid, void** object) override;
  HINSTANCE GetInstance() override { return fake::ModuleHandle(); }
  void OnNcDestroy() override;
  HRESULT OnCreated(DWORD style, int showCommand) override;
  int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  // OnMessage answers this message with `handledResult` (written only when
  // `writeResult`), returning `handledValue`; a WM_CREATE answer of -1
  // refuses the window.
  UINT handledMessage = 0xFFFFFFFFu;
  int handledValue = 1;
  bool writeResult = true;
  LRESULT handledResult = 0;
  HRESULT onCreatedResult = S_OK;
  // The window handle seen by OnNcDestroy.
  HWND handleAtNcDestroy = nullptr;

 private:
  bool* m_destroyed;
};

// A CBaseGLWindow with scripted GL resources and full-screen sizes.
class TestGLWindow : public CPrivateUnknown, public CBaseGLWindow {
 public:
  explicit TestGLWindow(bool* destroyed = nullptr) : m_destroyed(destroyed) {}
  ~TestGLWindow() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return CPrivateUnknown::QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return CPrivateUnknown::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return CPrivateUnknown::Release(); }
  HRESULT PrivateQueryInterface(REFIID iid, void** object) override;
  HINSTANCE GetInstance() override { return fake::ModuleHandle(); }
  void OnNcDestroy() override;
  int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  HRESULT CreateGLResources() override;
  void Render() override;
  // Like the application: remembers the windowed client size on the way to
  // full screen and goes back to it.
  HRESULT SetFullscreen(BOOL fullscreen) override;

  int FullscreenFlag() const { return m_fullscreen; }
  int ColorBits() const { return m_colorBits; }
  int DepthBits() const { return m_depthBits; }
  double NearPlane() const { return m_nearPlane; }
  double FarPlane() const { return m_farPlane; }
  void SetFarPlane(double value) { m_farPlane = value; }
  HGLRC GLContext() const { return m_glContext; }
  HRESULT CallSetupPixelFormat() { return SetupPixelFormat(); }

  HRESULT glResourcesResult = S_OK;
  int glResourcesCalls = 0;
  int flagAtGLResources = -1;
  int renderCalls = 0;
  std::vector<BOOL> setFullscreenCalls;
  HRESULT lastSwitchResult = S_OK;
  int savedWidth = 0;
  int savedHeight = 0;

 private:
  bool* m_destroyed;
};

class TestHandler : public IWindowHandler {
 public:
  TestHandler(const char* name, UINT handles) : m_name(name), m_handles(handles) {}
  void OnAttach(CBaseWindow* window) override;
  void OnDetach(CBaseWindow* window) override;
  int OnWindowMessage(CBaseWindow* window, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT* result) override;
  CBaseWindow* attachedTo = nullptr;

 private:
  std::string m_name;
  UINT m_handles;
};

// Resets the fake and registers kTestClass with ClassWndProc.
class FakePlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Creates a window for `window` through CBaseGLWindow::Create.
  static HRESULT CreateGL(TestGLWindow* window, BOOL fullscreen, int width = 640,
                          int height = 480, DWORD style = 0, int x = CW_USEDEFAULT,
                          int y = CW_USEDEFAULT, const char* title = "Test Title");
  // The count after one more AddRef/Release pair.
  static ULONG RefCount(CPrivateUnknown* object);
};

// Makes an offscreen GL context current (Mesa's EGL surfaceless platform),
// so GL state set by the framework can be read back. False when there is
// none to be had.
bool MakeOffscreenGLCurrent();
