#include "test_windows.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

const char kTestClass[] = "FrameworkTestCls";
std::vector<std::string> g_events;

int EventIndex(const std::string& event) {
  for (std::size_t i = 0; i < g_events.size(); ++i) {
    if (g_events[i] == event) return static_cast<int>(i);
  }
  return -1;
}

namespace {

HRESULT WindowInterface(IBaseWindow* window, REFIID iid, void** object) {
  if (IidEquals(iid, IID_IOleWindow) || IidEquals(iid, IID_IBaseWindow)) {
    *object = window;
    window->AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

}  // namespace

TestBaseWindow::~TestBaseWindow() {
  g_events.push_back("TestBaseWindow destroyed");
  if (m_destroyed != nullptr) *m_destroyed = true;
}

HRESULT TestBaseWindow::PrivateQueryInterface(REFIID iid, void** object) {
  return WindowInterface(this, iid, object);
}

void TestBaseWindow::OnNcDestroy() {
  handleAtNcDestroy = GetHandle();
  g_events.push_back(GetHandle() != nullptr ? "OnNcDestroy bound" : "OnNcDestroy unbound");
}

HRESULT TestBaseWindow::OnCreated(DWORD style, int showCommand) {
  g_events.push_back("OnCreated");
  const HRESULT hr = CBaseWindow::OnCreated(style, showCommand);
  return hr < 0 ? hr : onCreatedResult;
}

int TestBaseWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  g_events.push_back("OnMessage " + std::to_string(message));
  if (message == handledMessage) {
    if (writeResult) *result = handledResult;
    return handledValue;
  }
  return CBaseWindow::OnMessage(message, wParam, lParam, result);
}

TestGLWindow::~TestGLWindow() {
  g_events.push_back("TestGLWindow destroyed");
  if (m_destroyed != nullptr) *m_destroyed = true;
}

HRESULT TestGLWindow::PrivateQueryInterface(REFIID iid, void** object) {
  return WindowInterface(this, iid, object);
}

void TestGLWindow::OnNcDestroy() {
  g_events.push_back(GetHandle() != nullptr ? "OnNcDestroy bound" : "OnNcDestroy unbound");
  CBaseGLWindow::OnNcDestroy();
}

int TestGLWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  g_events.push_back("OnMessage " + std::to_string(message));
  return CBaseGLWindow::OnMessage(message, wParam, lParam, result);
}

HRESULT TestGLWindow::CreateGLResources() {
  ++glResourcesCalls;
  flagAtGLResources = m_fullscreen;
  g_events.push_back("CreateGLResources");
  return glResourcesResult;
}

void TestGLWindow::Render() {
  ++renderCalls;
  g_events.push_back("Render");
}

HRESULT TestGLWindow::SetFullscreen(BOOL fullscreen) {
  setFullscreenCalls.push_back(fullscreen);
  if (!m_fullscreen) {
    RECT client = {};
    GetClientRect(GetHandle(), &client);
    savedWidth = client.right - client.left;
    savedHeight = client.bottom - client.top;
  }
  lastSwitchResult = fullscreen ? SwitchScreenMode(TRUE, 1024, 768)
                                : SwitchScreenMode(FALSE, savedWidth, savedHeight);
  return lastSwitchResult;
}

void TestHandler::OnAttach(CBaseWindow* window) {
  attachedTo = window;
  g_events.push_back(m_name + " OnAttach");
}

void TestHandler::OnDetach(CBaseWindow* window) {
  if (attachedTo == window) attachedTo = nullptr;
  g_events.push_back(m_name + " OnDetach");
}

int TestHandler::OnWindowMessage(CBaseWindow*, UINT message, WPARAM, LPARAM, LRESULT* result) {
  g_events.push_back(m_name + " OnWindowMessage " + std::to_string(message));
  if (message == m_handles) {
    *result = 7;
    return 1;
  }
  return 0;
}

void FakePlatformTest::SetUp() {
  fake::Reset();
  g_events.clear();
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &CBaseWindow::ClassWndProc;
  windowClass.hInstance = fake::ModuleHandle();
  windowClass.lpszClassName = kTestClass;
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  fake::ClearCalls();
}

HRESULT FakePlatformTest::CreateGL(TestGLWindow* window, BOOL fullscreen, int width, int height,
                                   DWORD style, int x, int y, const char* title) {
  GLWindowCreateRecord record = {window, style, fullscreen, kTestClass, x,
                                 y,      width, height,     SW_SHOWNORMAL};
  return CBaseGLWindow::Create(title, &record);
}

ULONG FakePlatformTest::RefCount(CPrivateUnknown* object) {
  object->AddRef();
  return object->Release();
}

bool MakeOffscreenGLCurrent() {
  static int state = 0;  // 0 not tried, 1 current, -1 unavailable
  if (state != 0) return state > 0;
  state = -1;
  auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getDisplay == nullptr) return false;
  EGLDisplay display = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return false;
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                               EGL_OPENGL_BIT,   EGL_RED_SIZE,    8,
                               EGL_GREEN_SIZE,   8,               EGL_BLUE_SIZE,
                               8,                EGL_DEPTH_SIZE,  16,
                               EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglChooseConfig(display, attributes, &config, 1, &configs) || configs < 1) return false;
  const EGLint size[] = {EGL_WIDTH, 64, EGL_HEIGHT, 64, EGL_NONE};
  EGLSurface surface = eglCreatePbufferSurface(display, config, size);
  if (surface == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API)) return false;
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, surface, surface, context)) {
    return false;
  }
  state = 1;
  return true;
}
