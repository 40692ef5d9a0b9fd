// Display modes, the cursor, device contexts, pixel formats and WGL.
#include "fake_state.h"
#include "opengl.h"

using fake::Log;
using fake::S;

extern "C" LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
  if (mode == nullptr) {
    Log("ChangeDisplaySettingsA null");
    S().modeChanged = false;
    S().mode = DEVMODEA{};
    S().modeFlags = flags;
    return DISP_CHANGE_SUCCESSFUL;
  }
  Log("ChangeDisplaySettingsA " + std::to_string(mode->dmPelsWidth) + "x" +
      std::to_string(mode->dmPelsHeight) + "x" + std::to_string(mode->dmBitsPerPel));
  if (S().displayRefusal != DISP_CHANGE_SUCCESSFUL) {
    return S().displayRefusal;
  }
  // Only a mode the display has: the screen's own and 1024x768, 32 bits.
  const bool known = (mode->dmPelsWidth == static_cast<DWORD>(S().screenCx) &&
                      mode->dmPelsHeight == static_cast<DWORD>(S().screenCy)) ||
                     (mode->dmPelsWidth == 1024 && mode->dmPelsHeight == 768);
  if (!known || ((mode->dmFields & DM_BITSPERPEL) && mode->dmBitsPerPel != 32)) {
    return DISP_CHANGE_BADMODE;
  }
  S().modeChanged = true;
  S().mode = *mode;
  S().modeFlags = flags;
  return DISP_CHANGE_SUCCESSFUL;
}

extern "C" int ShowCursor(BOOL show) {
  Log("ShowCursor " + std::to_string(show));
  S().cursorCount += show ? 1 : -1;
  return S().cursorCount;
}

extern "C" HDC GetDC(HWND window) {
  Log("GetDC");
  if (fake::Faulted(fake::Fault::GetDC)) return nullptr;
  if (fake::FindWin(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HDC dc = static_cast<HDC>(fake::NewHandle());
  S().deviceContexts.insert(dc);
  return dc;
}

extern "C" int ReleaseDC(HWND, HDC dc) {
  Log("ReleaseDC");
  return S().deviceContexts.erase(dc) ? 1 : 0;
}

extern "C" int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  Log("ChoosePixelFormat");
  if (descriptor != nullptr) S().lastPixelFormat = *descriptor;
  if (fake::Faulted(fake::Fault::ChoosePixelFormat)) return 0;
  if (S().deviceContexts.count(dc) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return 7;
}

extern "C" BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  Log("SetPixelFormat " + std::to_string(format));
  if (fake::Faulted(fake::Fault::SetPixelFormat)) return FALSE;
  if (S().deviceContexts.count(dc) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL SwapBuffers(HDC) {
  Log("SwapBuffers");
  ++S().swapBuffers;
  return fake::Faulted(fake::Fault::SwapBuffers) ? FALSE : TRUE;
}

extern "C" HGLRC wglCreateContext(HDC dc) {
  Log("wglCreateContext");
  if (fake::Faulted(fake::Fault::CreateContext)) return nullptr;
  if (S().deviceContexts.count(dc) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HGLRC context = static_cast<HGLRC>(fake::NewHandle());
  S().glContexts.insert(context);
  return context;
}

extern "C" BOOL wglMakeCurrent(HDC, HGLRC context) {
  if (context == nullptr) {
    Log("wglMakeCurrent null");
    S().currentContext = nullptr;
    return TRUE;
  }
  Log("wglMakeCurrent");
  if (fake::Faulted(fake::Fault::MakeCurrent)) return FALSE;
  if (S().glContexts.count(context) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  S().currentContext = context;
  return TRUE;
}

extern "C" BOOL wglDeleteContext(HGLRC context) {
  Log("wglDeleteContext");
  if (S().currentContext == context) S().currentContext = nullptr;
  return S().glContexts.erase(context) ? TRUE : FALSE;
}

BOOL PlatformSetSwapInterval(int interval) {
  Log("PlatformSetSwapInterval " + std::to_string(interval));
  if (fake::Faulted(fake::Fault::SwapInterval)) return FALSE;
  S().swapInterval = interval;
  return TRUE;
}
