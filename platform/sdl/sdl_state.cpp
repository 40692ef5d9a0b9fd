// The SDL layer's one state record, lazy SDL start-up and handle lookups.
//
// Supports: SDL_Init(SDL_INIT_VIDEO) on first use, with the hints that make
//   activation behave alike everywhere; the layer's own stop-signal and
//   lost-display handlers in place of SDL's; SDL is shut down at exit, which
//   also gives back a changed display mode if the program ends while full
//   screen.
// Lacks:    re-initialisation after a failed start (the failure sticks).
// Depends on: SDL2.
#include <cstdlib>

#include "sdl_internal.h"
#include "wait.h"

namespace sdl_layer {

State g_sdl = {};

bool EnsureVideo() {
  if (g_sdl.videoReady) {
    return true;
  }
  if (g_sdl.videoFailed) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  // A window that loses the focus stays as it is (Windows does not minimise
  // a full-screen window either), and closing the last window is left to
  // the program: SDL_QUIT is ignored in favour of WM_CLOSE.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // SDL's signal handlers would only make an SDL_QUIT; ours close the window.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  InstallStopSignals();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    g_sdl.videoFailed = true;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  g_sdl.videoReady = true;
  InstallDisplayLossHandler();
  std::atexit(SDL_Quit);
  return true;
}

ULONG_PTR NewHandleValue() {
  // Multiples of 16 from 0x10010, never reused: a stale handle stays stale.
  if (g_sdl.nextHandle == 0) {
    g_sdl.nextHandle = 0x10000;
  }
  g_sdl.nextHandle += 0x10;
  return g_sdl.nextHandle;
}

Window* FindWindowBySdlId(Uint32 id) {
  for (wm::Window* each : g_wm.windows) {
    if (Own(each)->sdlId == id) {
      return Own(each);
    }
  }
  return nullptr;
}

Window* FindWindowByDc(HDC dc) {
  // A window's device context carries the window's own handle value.
  return FindWindow(reinterpret_cast<HWND>(dc));
}

}  // namespace sdl_layer
