// The X11 connection under SDL: its descriptor for the waits, and a clean
// end when the server goes away.
//
// Supports: the connection SDL opened, found through the first window's
//   system information and kept (SDL keeps one connection until SDL_Quit);
//   an I/O error handler that ends the process at once with exit code
//   0x80070037 (HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST): the display is a
//   device that is no longer there; Linux keeps the low byte, 55). Xlib's
//   default handler would exit through the atexit handlers, whose SDL_Quit
//   talks to the dead server again and aborts inside xcb.
// Lacks:    other video drivers' connections (Wayland): DisplayFd is -1.
// Depends on: SDL2's system window information, Xlib.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstring>

#include "sdl_internal.h"
#include "wait.h"

namespace {

using sdl_layer::g_sdl;

constexpr long kErrorDevNotExist = 55L;
constexpr HRESULT kDisplayLost = HRESULT_FROM_WIN32(kErrorDevNotExist);

Display* g_display = nullptr;

bool DisplayIsX11() {
  const char* driver = g_sdl.videoReady ? SDL_GetCurrentVideoDriver() : nullptr;
  return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

int OnDisplayLost(Display*) {
  // No exit(): the atexit handlers would use the lost connection. Nothing
  // is left to give back on a display that no longer exists.
  _exit(static_cast<int>(kDisplayLost));
}

Display* FindDisplay() {
  if (g_display != nullptr || !DisplayIsX11()) {
    return g_display;
  }
  for (wm::Window* window : wm::g_wm.windows) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdl_layer::Own(window)->sdl, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
      g_display = info.info.x11.display;
      break;
    }
  }
  return g_display;
}

}  // namespace

namespace sdl_layer {

void InstallDisplayLossHandler() {
  if (DisplayIsX11()) {
    XSetIOErrorHandler(OnDisplayLost);
  }
}

int DisplayFd() {
  Display* display = FindDisplay();
  return display != nullptr ? ConnectionNumber(display) : -1;
}

bool DisplayEventsPending() {
  Display* display = FindDisplay();
  return display != nullptr && XEventsQueued(display, QueuedAfterFlush) > 0;
}

}  // namespace sdl_layer
