// CBaseGLWindow: creating the window in either mode, and switching modes.
#include <cstring>

#include "framework/gl_window.h"
#include "framework/hresult.h"

static_assert(sizeof(DEVMODEA) == 156, "DEVMODEA has the SDK's size");

namespace {

const int kNameLength = 256;

}  // namespace

void CBaseGLWindow::RestoreDisplayMode() {
  // Back to the mode in the registry, as Windows restores it. Wine can lose
  // its registry copy in a race while switching and take the full-screen
  // mode for it; the restore then changes nothing, and the size found before
  // full screen is set instead, so the user's screen is never left changed.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ChangeDisplaySettingsA(nullptr, 0);
  const bool unchanged =
      GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
  if (unchanged && m_desktopWidth > 0 &&
      (width != m_desktopWidth || height != m_desktopHeight)) {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof(mode));
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = static_cast<DWORD>(m_desktopWidth);
    mode.dmPelsHeight = static_cast<DWORD>(m_desktopHeight);
    ChangeDisplaySettingsA(&mode, 0);
  }
}

HRESULT CBaseGLWindow::Create(LPCSTR title, const GLWindowCreateRecord* record) {
  if (record == nullptr || record->window == nullptr) {
    return E_POINTER;
  }
  CBaseGLWindow* window = record->window;
  if (window->m_window != nullptr) {
    return E_UNEXPECTED;
  }
  DWORD style = record->style;
  DWORD exStyle = 0;
  int x = record->x;
  int y = record->y;
  int width = record->width;
  int height = record->height;

  if (record->fullscreen) {
    if (style & static_cast<DWORD>(WS_CHILD)) {
      return E_INVALIDARG;
    }
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof(mode));
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = static_cast<DWORD>(window->m_colorBits);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    window->m_desktopWidth = GetSystemMetrics(SM_CXSCREEN);
    window->m_desktopHeight = GetSystemMetrics(SM_CYSCREEN);
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
      return E_FAIL;
    }
    ShowCursor(FALSE);
    // From here the window owns the changed mode and the hidden cursor:
    // whichever way the window goes, OnNcDestroy gives them back, and
    // OnCreated sees a full-screen window.
    window->m_fullscreen = 1;
    style = static_cast<DWORD>(WS_POPUP);
    exStyle = WS_EX_APPWINDOW;
    x = 0;
    y = 0;
  } else {
    if ((style & static_cast<DWORD>(WS_CHILD)) == 0) {
      style = WS_OVERLAPPEDWINDOW;
      exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    }
    const HRESULT hr = AdjustClientRect(&x, &y, &width, &height, style, exStyle);
    if (hr < 0) {
      return hr;
    }
  }

  const HRESULT hr = window->CreateBaseWindow(
      record->className, style | static_cast<DWORD>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN), exStyle,
      title, x, y, width, height, record->showCommand);
  if (hr < 0) {
    window->LeaveFullScreen();  // no window reached WM_NCDESTROY to do it
    return hr;
  }
  return window->CreateGLResources();
}

HRESULT CBaseGLWindow::AdjustClientRect(int* x, int* y, int* width, int* height, DWORD style,
                                        DWORD exStyle) {
  if (x == nullptr || y == nullptr || width == nullptr || height == nullptr) {
    return E_POINTER;
  }
  const LONG left = *x == CW_USEDEFAULT ? 0 : *x;
  const LONG top = *y == CW_USEDEFAULT ? 0 : *y;
  RECT rect = {left, top, left + *width, top + *height};
  if (!AdjustWindowRectEx(&rect, style, FALSE, exStyle)) {
    return FoldWin32Error(GetLastError());
  }
  if (*x != CW_USEDEFAULT) {
    *x = rect.left;
  }
  if (*y != CW_USEDEFAULT) {
    *y = rect.top;
  }
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

HRESULT CBaseGLWindow::SwitchScreenMode(BOOL fullscreen, int width, int height) {
  if ((fullscreen != 0) == (m_fullscreen != 0)) {
    return S_FALSE;
  }
  if (m_window == nullptr) {
    return E_FAIL;
  }
  const DWORD style = static_cast<DWORD>(GetWindowLongA(m_window, GWL_STYLE));
  if (style & static_cast<DWORD>(WS_CHILD)) {
    return E_FAIL;
  }
  char className[kNameLength];
  char title[kNameLength];
  if (GetClassNameA(m_window, className, kNameLength) == 0) {
    return HResultFromFailedCall();
  }
  // An empty title also reads as 0 characters; only a set last error is a
  // failure.
  SetLastError(ERROR_SUCCESS);
  if (GetWindowTextA(m_window, title, kNameLength) == 0) {
    if (GetLastError() != ERROR_SUCCESS) {
      return FoldWin32Error(GetLastError());
    }
    title[0] = '\0';
  }

  const HRESULT hr = Destroy();
  if (hr < 0) {
    return hr;
  }
  // The window is gone: OnNcDestroy has given back the display mode, the
  // context and the device context.
  int x = 0;
  int y = 0;
  if (!fullscreen) {
    const int cx = GetSystemMetrics(SM_CXFULLSCREEN);  // read after the mode is back
    const int cy = GetSystemMetrics(SM_CYFULLSCREEN);
    if (width > cx || height > cy) {
      return E_INVALIDARG;
    }
    x = cx / 2 - width / 2;
    y = cy / 2 - height / 2;
  }
  GLWindowCreateRecord record = {this, style, fullscreen, className, x, y, width, height,
                                 SW_SHOW};
  return Create(title, &record);
}
