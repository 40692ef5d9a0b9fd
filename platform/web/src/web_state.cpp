// The web layer's one state record and the helpers every file uses.
#include "web_state.h"

#include <emscripten.h>

namespace web_layer {

State g_web{};

ULONG_PTR NewHandleValue() {
  // Even, non-zero and never reused, so a destroyed window's handle stays
  // invalid.
  g_web.nextHandle += 2;
  return 0x10000 + g_web.nextHandle;
}

Window* FindWindow(HWND handle) {
  if (handle == nullptr) {
    return nullptr;
  }
  for (Window* window : g_web.windows) {
    if (window->handle == handle) {
      return window;
    }
  }
  return nullptr;
}

Window* RequireWindow(HWND handle) {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  }
  return window;
}

Window* FocusWindow() {
  if (Window* window = FindWindow(g_web.focus)) {
    return window;
  }
  for (auto it = g_web.windows.rbegin(); it != g_web.windows.rend(); ++it) {
    if (((*it)->style & WS_VISIBLE) && !(*it)->destroying) {
      return *it;
    }
  }
  return nullptr;
}

LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
  return window->procedure(window->handle, message, wParam, lParam);
}

void SyncSize(Window* window, bool force) {
  const int width = window->minimised ? 0 : window->width;
  const int height = window->minimised ? 0 : window->height;
  if (!force && width == window->reportedWidth && height == window->reportedHeight) {
    return;
  }
  window->reportedWidth = width;
  window->reportedHeight = height;
  window->invalid = true;
  Send(window, WM_SIZE, window->minimised ? SIZE_MINIMIZED : SIZE_RESTORED,
       MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
}

void ChangeFocus(HWND newFocus) {
  HWND const old = g_web.focus;
  if (old == newFocus) {
    return;
  }
  g_web.focus = newFocus;
  if (Window* window = FindWindow(old)) {
    Send(window, WM_KILLFOCUS, reinterpret_cast<WPARAM>(newFocus), 0);
  }
  if (Window* window = FindWindow(newFocus)) {
    Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
}

// A hidden page is a minimised window; a page without the keyboard is an
// inactive one. Both stop the program's frames, as on the desktop.
void PageActivation() {
  Window* window = nullptr;
  for (auto it = g_web.windows.rbegin(); it != g_web.windows.rend(); ++it) {
    if (((*it)->style & WS_VISIBLE) && !(*it)->destroying) {
      window = *it;
      break;
    }
  }
  if (window == nullptr) {
    return;
  }
  HWND const handle = window->handle;
  if (window->minimised != g_web.pageHidden) {
    window->minimised = g_web.pageHidden;
    SyncSize(window, true);
    if ((window = FindWindow(handle)) == nullptr) {
      return;
    }
  }
  const bool active = g_web.pageFocused && !g_web.pageHidden;
  if (active && g_web.focus != handle) {
    Send(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    if (FindWindow(handle) != nullptr) {
      ChangeFocus(handle);
    }
  } else if (!active && g_web.focus == handle) {
    Send(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, window->minimised ? 1 : 0), 0);
    ChangeFocus(nullptr);
  }
}

}  // namespace web_layer
