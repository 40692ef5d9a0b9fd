// Shared state of the web window layer (not a public header).
//
// The page has one canvas: every window the program makes draws into it in
// turn (the program keeps one at a time; a mode switch destroys the old one
// before it makes the new). Handles are numbers looked up in these tables,
// so a stale handle is refused instead of followed.
// Lacks: thread safety (the page's program has one thread).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "win32.h"

namespace web_layer {

struct WindowClass {
  std::string name;
  ATOM atom;
  WNDPROC procedure;
  HINSTANCE instance;
};

struct Window {
  HWND handle;
  size_t classIndex;
  WNDPROC procedure;
  LONG_PTR userData;
  DWORD style;
  DWORD exStyle;
  std::string title;
  int width;           // client size: the canvas's drawing buffer
  int height;
  int reportedWidth;   // last WM_SIZE (-1: none yet)
  int reportedHeight;
  bool invalid;
  bool destroying;
  bool minimised;      // the page is hidden
  bool fullscreen;     // made while the full-screen mode was in effect
  int pixelFormat;
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT elapse;
  DWORD due;
  TIMERPROC procedure;
};

struct State {
  std::vector<WindowClass> classes;
  std::vector<Window*> windows;
  std::deque<MSG> posted;
  std::vector<Timer> timers;
  bool quitPosted;
  int quitCode;
  HWND focus;
  bool pageFocused;  // the page has the keyboard (window focus / blur)
  bool pageHidden;   // document.visibilityState is "hidden"
  int cursorCount;
  bool modeSet;      // ChangeDisplaySettingsA put the page in full screen
  int modeWidth;
  int modeHeight;
  ULONG_PTR nextHandle;
  UINT_PTR nextTimerId;
};

extern State g_web;

ULONG_PTR NewHandleValue();
Window* FindWindow(HWND handle);
// Sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a window.
Window* RequireWindow(HWND handle);
long FindClassIndex(LPCSTR name);  // -1 when not registered
Window* FocusWindow();  // the focused window, else the newest visible one

LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SyncSize(Window* window, bool force);
void ChangeFocus(HWND newFocus);
// The page gained or lost the keyboard, or was hidden or shown again.
void PageActivation();

// Installs the page's event handlers (keys, wheel, focus, visibility).
void InstallInput();
// Sizes the canvas's drawing buffer; full screen scales it to fit.
void SizeCanvas(int width, int height);

}  // namespace web_layer
