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
#include "wm_state.h"

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
  // The pixel format the SDL window's visual was made for (1: the default).
  int sdlFormat;
};

// Every window in g_wm.windows is this layer's record.
inline Window* Own(wm::Window* window) { return static_cast<Window*>(window); }

// A full-screen window's default framebuffer: a framebuffer object of the
// mode's size, scaled to the screen on SwapBuffers (scaled_present.cpp).
struct OffscreenTarget {
  unsigned framebuffer;  // 0: none
  unsigned colour;
  unsigned depth;
  int width;
  int height;
};

struct GlContext {
  HGLRC handle;
  SDL_GLContext sdl;
  int pixelFormat;
  bool everCurrent;
  OffscreenTarget offscreen;
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
  // windows until ChangeDisplaySettingsA(nullptr, 0). The screen keeps its
  // own mode: such windows cover it and show a picture of the mode's size.
  bool modeSet;
  int modeWidth;
  int modeHeight;
  // Whether the GL offers framebuffer objects (0: not asked yet, 1, -1).
  int framebuffers;
  // An SDL window kept hidden for the next CreateWindowExA instead of being
  // destroyed: SDL's Wayland driver with libdecor may crash when a shown GL
  // window is destroyed while the program runs on (a mode switch).
  SDL_Window* spare;
  int spareFormat;
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

// Full screen: makes a WS_POPUP window cover the screen while a mode is held.
void ApplyDisplayMode(Window* window);
// The client size the program sees: the mode's for a full-screen window,
// otherwise the drawable's.
void ClientSize(Window* window, int* width, int* height);
// Where the mode's picture lies in an output of outWidth x outHeight: as
// large as fits, the mode's aspect kept, centred (black bars around it).
SDL_Rect PictureRect(int modeWidth, int modeHeight, int outWidth, int outHeight);
// A screen position in the mode's coordinates while a full-screen window
// shows it (unchanged otherwise).
SDL_Point ScreenToMode(int x, int y);

// Framebuffer objects for full screen (scaled_present.cpp).
// TRUE when the GL offers them; asked once, with a hidden window if no
// context is current.
bool FramebuffersAvailable();
// Points the current context's drawing at what the current window shows:
// the offscreen framebuffer of a full-screen window, else the window.
void BindDrawTarget();
// SwapBuffers for a full-screen window: scales the offscreen picture to
// the window, swaps, and leaves the program's GL state as it was.
void PresentScaled(Window* window, GlContext* context);
GlContext* CurrentContext();

// The SDL window for a new application window: the spare one when there is
// one made for `format`, else a new one (hidden either way).
SDL_Window* TakeSdlWindow(int format, const char* title, int x, int y, int width, int height,
                          Uint32 flags);
// Keeps an SDL window that is done with as the spare (shown or not), or
// destroys it when there is one already.
void ReleaseSdlWindow(SDL_Window* window, int format);
// SDL_ShowWindow that cannot hang: on X11 the window is mapped first and
// SDL is asked to show it once it is (window_state.cpp).
void ShowSdlWindow(SDL_Window* window);
// Hides the spare, and any window the program has not shown, when on screen.
void SettleVisibility();
void SetWindowGlAttributes(int format);

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
