// Visibility, painting state, placement, focus and the cursor on SDL2.
//
// Supports: ShowWindow (hide, show, minimise, maximise, restore; a window is
//   invalid when made, shown, resized or exposed), MoveWindow, the client
//   and window rectangles, the frame's margins for AdjustWindowRectEx (none),
//   focus and foreground requests, and ShowCursor's display counter
//   (InvalidateRect, ValidateRect: wm_paint.cpp; UpdateWindow, GetFocus,
//   AdjustWindowRectEx: wm_window.cpp).
// Frame model: the frame belongs to the window manager and lies outside
//   every rectangle here. The window rectangle is the client area in screen
//   coordinates, AdjustWindowRectEx leaves a rectangle unchanged, and
//   MoveWindow places and sizes the client area. So "client area exactly
//   640 x 480" holds whatever decorations the window manager adds.
// Lacks:    update regions (one flag per window, wm_paint.cpp).
// Depends on: SDL2 video.
#include "display_connection.h"
#include "sdl_internal.h"

namespace {

using sdl_layer::g_sdl;
using wm::g_wm;
using sdl_layer::Window;

}  // namespace

namespace wm {

RECT FrameMargins(DWORD, DWORD) {
  return RECT{0, 0, 0, 0};  // the frame is outside every rectangle
}

}  // namespace wm

namespace sdl_layer {

void ApplyPendingPlacement() {
  for (wm::Window* each : g_wm.windows) {
    Window* window = Own(each);
    if (!window->placePending || !(window->style & WS_VISIBLE)) {
      continue;
    }
    // The window manager put its frame where the client area was asked for;
    // once SDL knows the frame (from the window manager's frame extents),
    // the client area goes there.
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    SDL_GetWindowBordersSize(window->sdl, &top, &left, &bottom, &right);
    if (top != 0 || left != 0) {
      window->placePending = false;
      SDL_SetWindowPosition(window->sdl, window->placeX, window->placeY);
    } else if (GetTickCount() - window->shownAt > 1000) {
      window->placePending = false;  // no frame: already in place
    }
  }
}

}  // namespace sdl_layer

namespace sdl_layer {

// SDL's X11 driver maps the window and then waits for its MapNotify with no
// limit: a window manager slow to map it (a loaded machine, one that is
// still starting) held ShowWindow for good. Mapped here first, SDL no longer
// waits; a window still unmapped after the wait is left to the manager, and
// SDL learns of its map from the MapNotify it pumps.
void ShowSdlWindow(SDL_Window* window) {
  constexpr unsigned kMapWaitMs = 2000;
  if (X11MapWindow(window, kMapWaitMs)) {
    SDL_ShowWindow(window);
  }
}

}  // namespace sdl_layer

extern "C" BOOL ShowWindow(HWND handle, int command) {
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
  switch (command) {
    case SW_HIDE:
      if (wasVisible) {
        SDL_HideWindow(window->sdl);
        window->style &= ~static_cast<DWORD>(WS_VISIBLE);
        sdl_layer::Send(window, WM_SHOWWINDOW, FALSE, 0);
      }
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      sdl_layer::ShowSdlWindow(window->sdl);
      SDL_MinimizeWindow(window->sdl);
      break;
    case SW_SHOWMAXIMIZED:
      sdl_layer::ShowSdlWindow(window->sdl);
      SDL_MaximizeWindow(window->sdl);
      break;
    case SW_RESTORE:
      sdl_layer::ShowSdlWindow(window->sdl);
      SDL_RestoreWindow(window->sdl);
      break;
    default:
      sdl_layer::ShowSdlWindow(window->sdl);
      break;
  }
  if (!wasVisible) {
    window->shownAt = GetTickCount();
    window->style |= WS_VISIBLE;
    window->invalid = true;
    sdl_layer::Send(window, WM_SHOWWINDOW, TRUE, 0);
    // A window made from the spare may hold the focus already, the one its
    // SDL window had before: no focus event comes for it, so it is
    // activated here, as Windows activates a window it shows.
    if (sdl_layer::FindWindow(handle) == window && g_wm.focus != handle &&
        (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_INPUT_FOCUS)) {
      sdl_layer::Send(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
      if (sdl_layer::FindWindow(handle) == window) {
        sdl_layer::ChangeFocus(handle);
      }
    }
  }
  // A full-screen window has its mode now; SDL may report no resize.
  if (sdl_layer::FindWindow(handle) == window) {
    sdl_layer::SyncSize(window, SIZE_RESTORED, false);
  }
  return wasVisible;
}

extern "C" BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  window->placePending = false;
  SDL_SetWindowPosition(window->sdl, x, y);
  SDL_SetWindowSize(window->sdl, width > 0 ? width : 1, height > 0 ? height : 1);
  sdl_layer::SyncSize(window, SIZE_RESTORED, false);
  if (repaint) {
    window->invalid = true;
  }
  return TRUE;
}

extern "C" BOOL GetClientRect(HWND handle, RECT* rect) {
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr || rect == nullptr) {
    return FALSE;
  }
  int width = 0;
  int height = 0;
  sdl_layer::ClientSize(window, &width, &height);
  *rect = RECT{0, 0, width, height};
  return TRUE;
}

extern "C" BOOL GetWindowRect(HWND handle, RECT* rect) {
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr || rect == nullptr) {
    return FALSE;
  }
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  if (window->fullscreen) {
    *rect = RECT{0, 0, g_sdl.modeWidth, g_sdl.modeHeight};  // the whole screen, in the mode
    return TRUE;
  }
  SDL_GetWindowPosition(window->sdl, &x, &y);
  SDL_GL_GetDrawableSize(window->sdl, &width, &height);
  *rect = RECT{x, y, x + width, y + height};
  return TRUE;
}

extern "C" BOOL SetForegroundWindow(HWND handle) {
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  SDL_RaiseWindow(window->sdl);
  return TRUE;
}

extern "C" HWND SetFocus(HWND handle) {
  HWND const previous = g_wm.focus;
  if (handle == nullptr) {
    sdl_layer::ChangeFocus(nullptr);
    return previous;
  }
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr) {
    return nullptr;
  }
  if (window->style & WS_VISIBLE) {
    SDL_SetWindowInputFocus(window->sdl);
  }
  sdl_layer::ChangeFocus(handle);
  return previous;
}

extern "C" int ShowCursor(BOOL show) {
  const int before = g_sdl.cursorCount;
  g_sdl.cursorCount += show ? 1 : -1;
  // The cursor is shown while the count is not negative.
  if ((before >= 0) != (g_sdl.cursorCount >= 0) && sdl_layer::EnsureVideo()) {
    SDL_ShowCursor(g_sdl.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
  }
  return g_sdl.cursorCount;
}
