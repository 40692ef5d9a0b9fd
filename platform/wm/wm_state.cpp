// The shared window bookkeeping's one state record and its lookups.
//
// Supports: finding windows by handle and classes by name (without case, as
//   Windows compares them) or atom; sending; focus moves; forgetting a
//   destroyed window everywhere it is referred to.
// Lacks:    nothing a layer needs beyond the seam in wm_state.h.
// Depends on: the Win32 subset header only.
#include "wm_state.h"

#include <strings.h>

#include <algorithm>

namespace wm {

State g_wm = {};

namespace {

bool IsAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }

WORD ResourceId(LPCSTR name) { return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)); }

}  // namespace

Window* FindWindow(HWND handle) {
  if (handle == nullptr) {
    return nullptr;
  }
  for (Window* window : g_wm.windows) {
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

long FindClassIndex(LPCSTR name) {
  if (name == nullptr) {
    return -1;
  }
  for (size_t i = 0; i < g_wm.classes.size(); ++i) {
    const WindowClass& entry = g_wm.classes[i];
    if (entry.atom == 0) {
      continue;  // unregistered
    }
    if (IsAtom(name) ? entry.atom == ResourceId(name)
                     : strcasecmp(entry.name.c_str(), name) == 0) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
  return window->procedure(window->handle, message, wParam, lParam);
}

void ChangeFocus(HWND newFocus) {
  HWND const old = g_wm.focus;
  if (old == newFocus) {
    return;
  }
  g_wm.focus = newFocus;
  if (Window* window = FindWindow(old)) {
    Send(window, WM_KILLFOCUS, reinterpret_cast<WPARAM>(newFocus), 0);
  }
  if (Window* window = FindWindow(newFocus)) {
    Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
}

void Unlink(Window* window) {
  HWND const handle = window->handle;
  g_wm.posted.erase(std::remove_if(g_wm.posted.begin(), g_wm.posted.end(),
                                   [handle](const MSG& msg) { return msg.hwnd == handle; }),
                    g_wm.posted.end());
  g_wm.timers.erase(std::remove_if(g_wm.timers.begin(), g_wm.timers.end(),
                                   [handle](const Timer& t) { return t.window == handle; }),
                    g_wm.timers.end());
  if (g_wm.focus == handle) {
    g_wm.focus = nullptr;
  }
  g_wm.windows.erase(std::remove(g_wm.windows.begin(), g_wm.windows.end(), window),
                     g_wm.windows.end());
}

void Forget(Window* window) {
  Unlink(window);
  ReleaseWindow(window);
}

}  // namespace wm
