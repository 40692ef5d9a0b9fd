// Shared state of the SDL2 window layer (not a public header).
//
// Supports: everything below lives in one record, `g_sdl`, owned by
//   sdl_state.cpp; the other files of this directory read and change it.
// Lacks:    thread safety. Windows, the queue and GL contexts belong to the
//   one thread that uses them, as the program has only one.
// Depends on: SDL2 (video), the Win32 subset header.
//
// Handles are numbers looked up in these tables, never pointers to records,
// so a stale handle is refused (IsWindow FALSE) instead of read after free.
#pragma once

#include <SDL.h>

#include <deque>
#include <string>
#include <vector>

#include "win32.h"

namespace sdl_layer {

struct WindowClass {
  std::string name;
  ATOM atom;
  UINT style;
  WNDPROC procedure;
  HINSTANCE instance;
  HICON icon;
};

// One application window: an SDL window whose drawable is the client area.
struct Window {
  HWND handle;
  SDL_Window* sdl;
  Uint32 sdlId;
  size_t classIndex;
  WNDPROC procedure;
  LONG_PTR userData;
  DWORD style;
  DWORD exStyle;
  std::string title;
  // Client size last reported with WM_SIZE (-1: none yet).
  int reportedWidth;
  int reportedHeight;
  bool invalid;      // needs WM_PAINT once visible
  bool destroying;   // WM_DESTROY already sent
  bool fullscreen;   // shown in SDL's exclusive full-screen mode
  int pixelFormat;   // 0 until SetPixelFormat
  // An explicit client position from CreateWindowExA, applied again when the
  // window is first shown: only then does SDL know the frame to allow for.
  bool placePending;
  int placeX;
  int placeY;
  DWORD shownAt;  // GetTickCount when first shown
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT elapse;
  Uint32 due;  // SDL tick at which the next WM_TIMER is owed
  TIMERPROC procedure;
};

struct GlContext {
  HGLRC handle;
  SDL_GLContext sdl;
  int pixelFormat;
};

struct Icon {
  int resourceId;
  std::vector<unsigned char> rgba;
  int width;
  int height;
};

struct State {
  bool videoReady;
  bool videoFailed;
  std::vector<WindowClass> classes;
  std::vector<Window*> windows;
  std::deque<MSG> posted;
  std::vector<Timer> timers;
  std::vector<GlContext> contexts;
  std::vector<Icon> icons;
  bool quitPosted;
  int quitCode;
  HWND focus;
  int cursorCount;
  // The display mode set by ChangeDisplaySettingsA, in effect for WS_POPUP
  // windows until ChangeDisplaySettingsA(nullptr, 0).
  bool modeSet;
  SDL_DisplayMode mode;
  ULONG_PTR nextHandle;
  UINT_PTR nextTimerId;
};

extern State g_sdl;

// Initialises SDL video on first use. FALSE (last error set) when it fails.
bool EnsureVideo();
ULONG_PTR NewHandleValue();

Window* FindWindow(HWND handle);
Window* FindWindowBySdlId(Uint32 id);
Window* FindWindowByDc(HDC dc);
// Sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a window.
Window* RequireWindow(HWND handle);

// Sends a message straight to the window's current procedure.
LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Re-reads the drawable size and sends WM_SIZE when it changed (or always,
// when force is set, e.g. after a restore).
void SyncSize(Window* window, WPARAM kind, bool force);
// Puts the client areas of newly shown windows where they were asked for,
// once the window manager's frame is known (or after a second without one).
void ApplyPendingPlacement();
// Moves the keyboard focus record, sending WM_KILLFOCUS / WM_SETFOCUS.
void ChangeFocus(HWND newFocus);

// Full screen: puts a WS_POPUP window into the display mode in effect.
void ApplyDisplayMode(Window* window);

// Translates every pending SDL event into messages (posted or sent) and
// acts on a stop signal. TRUE when a message may have been sent.
bool PumpEvents();
void TranslateEvent(const SDL_Event& event);

// Key mapping: SDL key event -> virtual key, scan code, extended flag.
struct KeyInfo {
  WPARAM virtualKey;  // 0: no Windows key
  unsigned scanCode;  // PC set-1 scan code
  bool extended;
};
KeyInfo MapKey(const SDL_Keysym& key);

SDL_Surface* IconSurface(HICON icon);
// Index of a registered class (by name or atom), or -1.
long FindClassIndex(LPCSTR name);

}  // namespace sdl_layer
