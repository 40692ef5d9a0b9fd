// CBaseGLWindow: pixel format, context, projection and the window's messages.
#include "framework/gl_window.h"

#include "framework/gl_frame.h"
#include "framework/gl_initial_state.h"
#include "framework/hresult.h"
#include "opengl.h"

CBaseGLWindow::CBaseGLWindow()
    : m_fullscreen(0),
      m_colorBits(32),
      m_depthBits(16),
      m_nearPlane(0.1),
      m_farPlane(1000.0),
      m_deviceContext(nullptr),
      m_glContext(nullptr),
      m_desktopWidth(0),
      m_desktopHeight(0) {}

void CBaseGLWindow::LeaveFullScreen() {
  if (m_fullscreen) {
    RestoreDisplayMode();
    ShowCursor(TRUE);
    m_fullscreen = 0;
  }
}

void CBaseGLWindow::OnNcDestroy() {
  LeaveFullScreen();
  if (m_glContext != nullptr) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(m_glContext);
    m_glContext = nullptr;
  }
  if (m_deviceContext != nullptr) {
    ReleaseDC(m_window, m_deviceContext);
    m_deviceContext = nullptr;
  }
}

HRESULT CBaseGLWindow::OnCreated(DWORD, int showCommand) {
  ShowWindow(m_window, showCommand);
  if (m_fullscreen) {
    // A new full-screen window must own the keyboard, or Alt+Enter would go
    // to whatever had the focus before.
    SetForegroundWindow(m_window);
    SetFocus(m_window);
  }
  InitGLState();
  return S_OK;
}

int CBaseGLWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_CREATE:
      if (SetupPixelFormat() < 0) {
        *result = -1;  // CreateWindowExA fails
        return 1;
      }
      return 0;
    case WM_SIZE:
      SetProjection(static_cast<int>(LOWORD(lParam)), static_cast<int>(HIWORD(lParam)));
      return 0;
    case WM_PAINT:
      if (!ValidateRect(m_window, nullptr)) {
        return 0;
      }
      DrawGLFrame(*this);
      return 1;
    case WM_SYSKEYDOWN:
      if (wParam != VK_RETURN) {
        return 0;
      }
      // Auto-repeats switch too: the previous-key-state bit is not looked at.
      if (static_cast<DWORD>(GetWindowLongA(m_window, GWL_STYLE)) &
          static_cast<DWORD>(WS_CHILD)) {
        return 0;
      }
      SetFullscreen(m_fullscreen ? FALSE : TRUE);
      return 1;
    default:
      return 0;
  }
}

HRESULT CBaseGLWindow::SetupPixelFormat() {
  PIXELFORMATDESCRIPTOR descriptor = {};
  descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  descriptor.nVersion = 1;
  descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  descriptor.iPixelType = PFD_TYPE_RGBA;
  descriptor.cColorBits = static_cast<BYTE>(m_colorBits & 0xFF);
  descriptor.cDepthBits = static_cast<BYTE>(m_depthBits & 0xFF);
  descriptor.iLayerType = PFD_MAIN_PLANE;

  // Whatever is obtained stays in the fields for OnNcDestroy to give back.
  m_deviceContext = ::GetDC(m_window);
  if (m_deviceContext == nullptr) {
    return HResultFromFailedCall();
  }
  const int format = ChoosePixelFormat(m_deviceContext, &descriptor);
  if (format == 0) {
    return HResultFromFailedCall();
  }
  if (!SetPixelFormat(m_deviceContext, format, &descriptor)) {
    return HResultFromFailedCall();
  }
  m_glContext = wglCreateContext(m_deviceContext);
  if (m_glContext == nullptr) {
    return HResultFromFailedCall();
  }
  if (!wglMakeCurrent(m_deviceContext, m_glContext)) {
    return HResultFromFailedCall();
  }
  // The main loop paces frames itself every 17 ms; waiting for a 60 Hz
  // vertical blank as well would halve the frame rate. Not every driver can.
  PlatformSetSwapInterval(0);
  return S_OK;
}

void CBaseGLWindow::SetProjection(int width, int height) {
  if (height == 0) {
    height = 1;  // minimised
  }
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), m_nearPlane,
                 m_farPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void CBaseGLWindow::InitGLState() { ApplyInitialGLState(); }
