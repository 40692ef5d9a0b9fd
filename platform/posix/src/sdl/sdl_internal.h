// Shared state of the SDL2 window layer (not a public header).
//
// Supports: what only SDL needs lives in one record, `g_sdl`, owned by
//   sdl_state.cpp; windows, classes, the queue and timers are the shared
//   bookkeeping's (`g_wm`, wm_state.h), each window this layer's `Window`.
// Lacks:    thread safety. Windows, the queue and GL contexts belong to the
//   one thread that uses them, as the program has only one.
// Depends on: SDL2 (video), the Win32 subset header, the shared bookkeeping.
#pragma once

#include <SDL.h>

#include <vector>

#include "win32.h"
#include "../wm/wm_state.h"

namespace sdl_layer {

using wm::g_wm;
using wm::WindowClass;
using wm::Timer;

// One application window: an SDL window whose drawable is the client area.
struct Window : wm::Window {
  SDL_Window* sdl;
  Uint32 sdlId;
  // An explicit client position from CreateWindowExA, applied again when the
  // window is first shown: only then does SDL know the frame to allow for.
  bool placePending;
  int placeX;
  int placeY;
  DWORD shownAt;  // GetTickCount when first shown
};

// Every window in g_wm.windows is this layer's record.
inline Window* Own(wm::Window* window) { return static_cast<Window*>(window); }

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
  std::vector<GlContext> contexts;
  std::vector<Icon> icons;
  int cursorCount;
  // The display mode set by ChangeDisplaySettingsA, in effect for WS_POPUP
  // windows until ChangeDisplaySettingsA(nullptr, 0).
  bool modeSet;
  SDL_DisplayMode mode;
  ULONG_PTR nextHandle;
};

extern State g_sdl;

// Initialises SDL video on first use. FALSE (last error set) when it fails.
bool EnsureVideo();
ULONG_PTR NewHandleValue();

inline Window* FindWindow(HWND handle) { return Own(wm::FindWindow(handle)); }
// Sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a window.
inline Window* RequireWindow(HWND handle) { return Own(wm::RequireWindow(handle)); }
Window* FindWindowBySdlId(Uint32 id);
Window* FindWindowByDc(HDC dc);

using wm::ChangeFocus;
using wm::FindClassIndex;
using wm::Post;
using wm::Send;

// Re-reads the drawable size and sends WM_SIZE when it changed (or always,
// when force is set, e.g. after a restore).
void SyncSize(Window* window, WPARAM kind, bool force);
// Puts the client areas of newly shown windows where they were asked for,
// once the window manager's frame is known (or after a second without one).
void ApplyPendingPlacement();

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

}  // namespace sdl_layer
