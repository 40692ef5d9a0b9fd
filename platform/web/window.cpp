// Windows in the page: the canvas is the client area of whichever window
// is alive.
//
// Supports: top-level windows with Windows' creation messages in order,
//   synchronously (WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_MOVE), and
//   WM_SIZE when the window is first shown, after its activation, as
//   Windows sends it for an overlapped window; a refusal in WM_NCCREATE /
//   WM_CREATE destroys the half-made window with WM_NCDESTROY; the page's
//   side of DestroyWindow and SetWindowTextA (the window's title is the
//   page's); showing, focus. Window data, DefWindowProcA and the paint
//   state: the core's (wm/).
// Frame model: there is no frame. The window rectangle is the client area,
//   at the canvas's place in the page; AdjustWindowRectEx changes nothing.
// Lacks: child windows, menus, moving the canvas (MoveWindow only resizes).
#include <emscripten.h>

#include <algorithm>
#include <cstring>

#include "web_state.h"

namespace {

using web_layer::g_web;
using wm::g_wm;
using web_layer::Window;

// The canvas's place in the page, in CSS pixels.
EM_JS(int, web_canvas_left, (void), {
  var c = document.getElementById("canvas");
  return c ? Math.round(c.getBoundingClientRect().left) : 0;
});
EM_JS(int, web_canvas_top, (void), {
  var c = document.getElementById("canvas");
  return c ? Math.round(c.getBoundingClientRect().top) : 0;
});
EM_JS(void, web_set_title, (const char* text), { document.title = UTF8ToString(text); });
EM_JS(void, web_show_cursor, (int show), {
  var c = document.getElementById("canvas");
  if (c) c.style.cursor = show ? "auto" : "none";
});

}  // namespace

namespace wm {

void ReleaseWindow(wm::Window* window) { delete web_layer::Own(window); }

void ShowTitle(const wm::Window& window) { web_set_title(window.title.c_str()); }

RECT FrameMargins(DWORD, DWORD) {
  return RECT{0, 0, 0, 0};  // no frame: the window rectangle is the canvas
}

}  // namespace wm

extern "C" HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
  const long classIndex = wm::CheckCreation(className, style, parent, &width, &height);
  if (classIndex < 0) {
    return nullptr;
  }
  Window* window = new Window{};
  wm::InitWindow(window, reinterpret_cast<HWND>(web_layer::NewHandleValue()),
                 static_cast<size_t>(classIndex), style, exStyle, title);
  window->fullscreen = (style & WS_POPUP) && g_web.modeSet;
  window->width = window->fullscreen ? g_web.modeWidth : width;
  window->height = window->fullscreen ? g_web.modeHeight : height;
  window->minimised = g_web.pageHidden;
  g_wm.windows.push_back(window);
  web_layer::SizeCanvas(window->width, window->height);
  web_set_title(window->title.c_str());

  CREATESTRUCTA create = wm::CreationRecord(exStyle, className, title, style, x, y, width, height,
                                            parent, menu, instance, param);
  HWND const handle = window->handle;
  MINMAXINFO limits{};
  limits.ptMaxSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  limits.ptMaxTrackSize = limits.ptMaxSize;
  if (!wm::SendCreation(window, &create, &limits)) {
    return nullptr;
  }
  web_layer::Send(window, WM_MOVE, 0,
                  MAKELPARAM(static_cast<WORD>(web_canvas_left()), static_cast<WORD>(web_canvas_top())));
  return wm::FinishCreation(handle, style);
}

extern "C" BOOL ShowWindow(HWND handle, int command) {
  Window* window = web_layer::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    if (wasVisible) {
      window->style &= ~static_cast<DWORD>(WS_VISIBLE);
      web_layer::Send(window, WM_SHOWWINDOW, FALSE, 0);
    }
    return wasVisible;
  }
  if (!wasVisible) {
    window->style |= WS_VISIBLE;
    window->invalid = true;
    web_layer::Send(window, WM_SHOWWINDOW, TRUE, 0);
    // A window shown in the page the user looks at gets the keyboard, as a
    // new desktop window does.
    if (web_layer::FindWindow(handle) == window) {
      web_layer::PageActivation();
    }
    if (web_layer::FindWindow(handle) == window) {
      web_layer::SyncSize(window, false);
    }
  }
  return wasVisible;
}

extern "C" BOOL MoveWindow(HWND handle, int, int, int width, int height, BOOL repaint) {
  Window* window = web_layer::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!window->fullscreen) {
    window->width = width;
    window->height = height;
    web_layer::SizeCanvas(width, height);
    web_layer::SyncSize(window, false);
  }
  if (repaint) {
    window->invalid = true;
  }
  return TRUE;
}

extern "C" BOOL GetClientRect(HWND handle, RECT* rect) {
  Window* window = web_layer::RequireWindow(handle);
  if (window == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{0, 0, window->minimised ? 0 : window->width, window->minimised ? 0 : window->height};
  return TRUE;
}

extern "C" BOOL GetWindowRect(HWND handle, RECT* rect) {
  Window* window = web_layer::RequireWindow(handle);
  if (window == nullptr || rect == nullptr) {
    return FALSE;
  }
  const LONG left = web_canvas_left();
  const LONG top = web_canvas_top();
  *rect = RECT{left, top, left + window->width, top + window->height};
  return TRUE;
}

extern "C" BOOL SetForegroundWindow(HWND handle) {
  return web_layer::RequireWindow(handle) != nullptr;
}

extern "C" HWND SetFocus(HWND handle) {
  HWND const previous = g_wm.focus;
  if (handle != nullptr && web_layer::RequireWindow(handle) == nullptr) {
    return nullptr;
  }
  web_layer::ChangeFocus(handle);
  return previous;
}

extern "C" int ShowCursor(BOOL show) {
  const int before = g_web.cursorCount;
  g_web.cursorCount += show ? 1 : -1;
  if ((before >= 0) != (g_web.cursorCount >= 0)) {
    web_show_cursor(g_web.cursorCount >= 0 ? 1 : 0);
  }
  return g_web.cursorCount;
}
