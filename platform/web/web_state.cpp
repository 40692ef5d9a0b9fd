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

Window* FocusWindow() {
  if (Window* window = FindWindow(g_wm.focus)) {
    return window;
  }
  for (auto it = g_wm.windows.rbegin(); it != g_wm.windows.rend(); ++it) {
    if (((*it)->style & WS_VISIBLE) && !(*it)->destroying) {
      return Own(*it);
    }
  }
  return nullptr;
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
  g_web.messageSent = true;
  Send(window, WM_SIZE, window->minimised ? SIZE_MINIMIZED : SIZE_RESTORED,
       MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
}

// A hidden page is a minimised window; a page without the keyboard is an
// inactive one. Both stop the program's frames, as on the desktop.
void PageActivation() {
  Window* window = nullptr;
  for (auto it = g_wm.windows.rbegin(); it != g_wm.windows.rend(); ++it) {
    if (((*it)->style & WS_VISIBLE) && !(*it)->destroying) {
      window = Own(*it);
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
  if (active && g_wm.focus != handle) {
    g_web.messageSent = true;
    Send(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    if (FindWindow(handle) != nullptr) {
      ChangeFocus(handle);
    }
  } else if (!active && g_wm.focus == handle) {
    g_web.messageSent = true;
    Send(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, window->minimised ? 1 : 0), 0);
    ChangeFocus(nullptr);
  }
}

}  // namespace web_layer
