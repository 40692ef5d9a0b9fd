// The Win32 window bookkeeping every backend shares (the SDL and web layers
// and the tests' fake; not a public header): window and class records,
// handle lookup, the posted-message queue and timers, all in one record,
// `g_wm`, owned by wm_state.cpp.
//
// Supports: the parts of the window manager that touch no system: what
//   wm_state.cpp, wm_class.cpp, wm_paint.cpp, wm_queue.cpp and
//   wm_window.cpp implement on these tables.
// Lacks:    thread safety (windows, queue and timers belong to the one
//   thread that uses them), and anything a system must do: each layer
//   may derive its own window record from `Window` and implements the seam
//   at the end of this header.
// Depends on: the Win32 subset header only.
//
// Handles are numbers looked up in these tables, never pointers to records,
// so a stale handle is refused (IsWindow FALSE) instead of read after free.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "win32.h"

namespace wm {

struct WindowClass {
  std::string name;
  ATOM atom;  // 0: unregistered (the slot stays: windows refer to it by index)
  UINT style;
  WNDPROC procedure;
  HINSTANCE instance;
  HICON icon;
};

// What every window has; a layer's record derives from it and adds its own.
struct Window {
  HWND handle;
  size_t classIndex;
  WNDPROC procedure;
  LONG_PTR userData;
  DWORD style;
  DWORD exStyle;
  std::string title;
  // Client size last reported with WM_SIZE (-1: none yet).
  int reportedWidth;
  int reportedHeight;
  bool invalid;     // needs WM_PAINT once visible
  bool destroying;  // WM_DESTROY already sent
  bool fullscreen;
  int pixelFormat;  // 0 until SetPixelFormat
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT elapse;
  DWORD due;  // GetTickCount at which the next WM_TIMER is owed
  TIMERPROC procedure;
};

struct State {
  std::vector<WindowClass> classes;
  std::vector<Window*> windows;  // in creation order, each the layer's record
  std::deque<MSG> posted;
  std::vector<Timer> timers;
  bool quitPosted;
  int quitCode;
  HWND focus;
  UINT_PTR nextTimerId;
};

extern State g_wm;

Window* FindWindow(HWND handle);
// Sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a window.
Window* RequireWindow(HWND handle);
// Index of a registered class (by name or atom), or -1.
long FindClassIndex(LPCSTR name);

// Sends a message straight to the window's current procedure.
LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Moves the keyboard focus record, sending WM_KILLFOCUS / WM_SETFOCUS.
void ChangeFocus(HWND newFocus);
// Removes every trace of the window from the queue, the timers, the focus
// and the window table; the layer then frees its record.
void Unlink(Window* window);
// Unlinks the window, then lets the layer release it (ReleaseWindow).
void Forget(Window* window);

// CreateWindowExA in steps both layers take, around making the system's
// window. First the checks: the class's index, or -1 (last error set) for
// an unknown class or a child window; a missing size becomes the default.
long CheckCreation(LPCSTR className, DWORD style, HWND parent, int* width, int* height);
// Fills the shared part of a new record (hidden, invalid, no size reported).
void InitWindow(Window* window, HWND handle, size_t classIndex, DWORD style, DWORD exStyle,
                LPCSTR title);
// CreateWindowExA's arguments as WM_NCCREATE and WM_CREATE carry them.
CREATESTRUCTA CreationRecord(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                             int y, int width, int height, HWND parent, HMENU menu,
                             HINSTANCE instance, LPVOID param);
// Sends WM_GETMINMAXINFO, WM_NCCREATE and WM_CREATE in Windows' order. A
// refusal destroys the half-made window: it hears only WM_NCDESTROY, then
// it is forgotten. FALSE when the window is gone.
bool SendCreation(Window* window, CREATESTRUCTA* create, MINMAXINFO* limits);
// Shows the window when made WS_VISIBLE; its handle, or null if it is gone.
HWND FinishCreation(HWND handle, DWORD style);

bool TimerDue(const Timer& timer, DWORD now);
// Whether a message could be retrieved now (posted, quit, paint or timer).
bool HasMessage();

// The seam: each window layer implements these for its system.
//
// Where the pointer is, for a message's pt.
POINT CursorPosition();
// Whether a visible invalid window gets no WM_PAINT for now (minimised).
bool PaintHeld(const Window& window);
// Turns the system's pending events into messages before the queue is read.
void PumpInput();
// Waits until a message can be retrieved or the time-out (from the call)
// has passed; FALSE on time-out.
bool WaitForInput(DWORD milliseconds);
// Releases the system's side of a window the core has forgotten (its
// messages, timers and focus are gone) and frees the layer's record.
void ReleaseWindow(Window* window);
// Shows the window's new title wherever the system shows one.
void ShowTitle(const Window& window);
// How far the system's frame reaches beyond the client area for these
// styles (left, top, right, bottom); all 0 where the frame lies outside
// every rectangle the program sees.
RECT FrameMargins(DWORD style, DWORD exStyle);

}  // namespace wm
