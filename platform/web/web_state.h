// Shared state of the web window layer (not a public header).
//
// The page has one canvas: every window the program makes draws into it in
// turn (the program keeps one at a time; a mode switch destroys the old one
// before it makes the new). Handles are numbers looked up in these tables,
// so a stale handle is refused instead of followed.
// Supports: what only the page needs lives in `g_web`; windows, classes,
//   the queue and timers are the shared bookkeeping's (`g_wm`,
//   wm_state.h), each window this layer's `Window`.
// Lacks: thread safety (the page's program has one thread).
// Depends on: the Win32 subset header, the shared bookkeeping.
#pragma once

#include "wm_state.h"
#include "win32.h"

namespace web_layer {

using wm::g_wm;
using wm::Timer;
using wm::WindowClass;

// A window: its client area is the canvas's drawing buffer.
struct Window : wm::Window {
  int width;  // client size: the canvas's drawing buffer
  int height;
  bool minimised;  // the page is hidden
};

// Every window in g_wm.windows is this layer's record.
inline Window* Own(wm::Window* window) { return static_cast<Window*>(window); }

struct State {
  bool pageFocused;  // the page has the keyboard (window focus / blur)
  bool pageHidden;   // document.visibilityState is "hidden"
  // An event handler sent the program a message (WM_ACTIVATE, WM_SIZE):
  // the wait it interrupted ends, as on Windows, so the program can act on
  // it (start drawing again once activated).
  bool messageSent;
  int cursorCount;
  bool modeSet;      // ChangeDisplaySettingsA put the page in full screen
  int modeWidth;
  int modeHeight;
  ULONG_PTR nextHandle;
};

extern State g_web;

ULONG_PTR NewHandleValue();
inline Window* FindWindow(HWND handle) { return Own(wm::FindWindow(handle)); }
// Sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a window.
inline Window* RequireWindow(HWND handle) { return Own(wm::RequireWindow(handle)); }
Window* FocusWindow();  // the focused window, else the newest visible one

using wm::ChangeFocus;
using wm::FindClassIndex;
using wm::Post;
using wm::Send;
void SyncSize(Window* window, bool force);
// The page gained or lost the keyboard, or was hidden or shown again.
void PageActivation();

// Installs the page's event handlers (keys, wheel, focus, visibility).
void InstallInput();
// Installs the canvas's touch handlers (touch.cpp).
void InstallTouch();
// Sizes the canvas's drawing buffer; full screen scales it to fit.
void SizeCanvas(int width, int height);

}  // namespace web_layer
