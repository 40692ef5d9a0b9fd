// Windows on SDL2: creation, destruction, procedures and window data.
//
// Supports: top-level windows, each one SDL window with an OpenGL drawable;
//   the creation messages in Windows' order, synchronously
//   (WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, then for a pop-up WM_SIZE and
//   WM_MOVE; an overlapped window gets its first WM_SIZE from ShowWindow);
//   a refusal in WM_NCCREATE or WM_CREATE (-1) destroys the half-made window
//   with WM_NCDESTROY and makes CreateWindowExA return null; the SDL side of
//   DestroyWindow and SetWindowTextA (the core's, wm_window.cpp, as are
//   window data and DefWindowProcA).
// Lacks:    child windows (WS_CHILD fails with ERROR_TLW_WITH_WSCHILD, or
//   ERROR_NOT_SUPPORTED when a parent is given), menus, extra window bytes,
//   non-client messages other than WM_NCCREATE / WM_NCDESTROY.
// Depends on: SDL2 video; display.cpp for full screen; wm_state.cpp for the
//   tables and queue that destroyed windows are purged from.
#include "sdl_internal.h"

namespace {

using sdl_layer::Window;

LPARAM PackPoint(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

}  // namespace

namespace wm {

// The SDL window stays on screen until the queue is next looked at: a mode
// switch makes the next window of it at once (spare_window.cpp).
void ReleaseWindow(wm::Window* record) {
  sdl_layer::Window* window = sdl_layer::Own(record);
  sdl_layer::ReleaseSdlWindow(window->sdl, window->sdlFormat);
  delete window;
}

void ShowTitle(const wm::Window& record) {
  SDL_SetWindowTitle(static_cast<const sdl_layer::Window&>(record).sdl, record.title.c_str());
}

}  // namespace wm

namespace sdl_layer {

void SyncSize(Window* window, WPARAM kind, bool force) {
  int width = 0;
  int height = 0;
  if (kind != SIZE_MINIMIZED) {
    ClientSize(window, &width, &height);
  }
  if (!force && width == window->reportedWidth && height == window->reportedHeight) {
    return;
  }
  window->reportedWidth = width;
  window->reportedHeight = height;
  window->invalid = true;
  Send(window, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
}

}  // namespace sdl_layer

extern "C" HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
  const long classIndex = wm::CheckCreation(className, style, parent, &width, &height);
  if (classIndex < 0) {
    return nullptr;
  }
  if (!sdl_layer::EnsureVideo()) {
    return nullptr;
  }
  const sdl_layer::WindowClass& windowClass = wm::g_wm.classes[static_cast<size_t>(classIndex)];
  // The frame belongs to the window manager: x, y, width and height are the
  // client area's, and SDL places the client area there.
  const int sdlX = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : x;
  const int sdlY = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : y;
  Uint32 flags = SDL_WINDOW_OPENGL;
  if (style & WS_POPUP) {
    flags |= SDL_WINDOW_BORDERLESS;
  }
  if (style & WS_THICKFRAME) {
    flags |= SDL_WINDOW_RESIZABLE;
  }
  SDL_Window* sdlWindow =
      sdl_layer::TakeSdlWindow(1, title != nullptr ? title : "", sdlX, sdlY, width, height, flags);
  if (sdlWindow == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (SDL_Surface* icon = sdl_layer::IconSurface(windowClass.icon)) {
    SDL_SetWindowIcon(sdlWindow, icon);
    SDL_FreeSurface(icon);
  }

  Window* window = new Window{};
  wm::InitWindow(window, reinterpret_cast<HWND>(sdl_layer::NewHandleValue()),
                 static_cast<size_t>(classIndex), style, exStyle, title);
  window->sdl = sdlWindow;
  window->sdlId = SDL_GetWindowID(sdlWindow);
  window->sdlFormat = 1;
  window->placePending = x != CW_USEDEFAULT && !(style & WS_POPUP);
  window->placeX = x;
  window->placeY = y;
  wm::g_wm.windows.push_back(window);
  if (style & WS_POPUP) {
    sdl_layer::ApplyDisplayMode(window);
  }

  CREATESTRUCTA create = wm::CreationRecord(exStyle, className, title, style, x, y, width, height,
                                            parent, menu, instance, param);
  HWND const handle = window->handle;
  MINMAXINFO limits{};
  limits.ptMaxSize = POINT{width, height};
  limits.ptMaxTrackSize = POINT{width, height};
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
    limits.ptMaxSize = POINT{desktop.w, desktop.h};
    limits.ptMaxTrackSize = POINT{desktop.w, desktop.h};
  }
  if (!wm::SendCreation(window, &create, &limits)) {
    return nullptr;
  }
  // As on Windows, an overlapped window hears of its size and place when it
  // is first shown (ShowWindow); a pop-up at once.
  if (style & WS_POPUP) {
    sdl_layer::SyncSize(window, SIZE_RESTORED, true);
    if (sdl_layer::FindWindow(handle) == nullptr) {
      return nullptr;
    }
    int clientX = 0;
    int clientY = 0;
    SDL_GetWindowPosition(window->sdl, &clientX, &clientY);
    sdl_layer::Send(window, WM_MOVE, 0, PackPoint(clientX, clientY));
  }
  return wm::FinishCreation(handle, style);
}

