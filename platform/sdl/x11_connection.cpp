// The X11 connection under SDL: its descriptor for the waits, and a clean
// end when the server goes away.
//
// Supports: the connection SDL opened, found through the first window's
//   system information and kept (SDL keeps one connection until SDL_Quit);
//   an I/O error handler that ends the process at once with exit code
//   0x80070037 (the display is a device that is no longer there). Xlib's
//   default handler would exit through the atexit handlers, whose SDL_Quit
//   talks to the dead server again and aborts inside xcb. An error handler
//   in place of SDL's, which makes no request: SDL's puts the display mode
//   back from inside the handler, and a request there waits for ever for a
//   reply (SDL starts Xlib's threads, so the display is locked), as when a
//   dying server answers Mesa's XSync with an error. Errors are reported on
//   stderr and the program carries on; a dead server then ends it through
//   the I/O error handler.
// Lacks:    nothing of other video drivers.
// Depends on: SDL2's system window information, Xlib.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

#include "display_connection.h"
#include "sdl_internal.h"

namespace {

Display* g_display = nullptr;

int OnDisplayLost(Display*) {
  // No exit(): the atexit handlers would use the lost connection. Nothing
  // is left to give back on a display that no longer exists.
  sdl_layer::ExitDisplayLost();
}

int OnProtocolError(Display*, XErrorEvent* error) {
  // Only what is in hand: no Xlib call, which could make a request.
  static int reported = 0;
  if (reported < 8) {
    ++reported;
    std::fprintf(stderr, "X error %u on request %u.%u (resource 0x%lx); carrying on\n",
                 error->error_code, error->request_code, error->minor_code, error->resourceid);
  }
  return 0;
}

Display* FindDisplay() {
  if (g_display != nullptr) {
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

void InstallX11ErrorHandlers() {
  XSetIOErrorHandler(OnDisplayLost);
  XSetErrorHandler(OnProtocolError);
}

int X11Fd() {
  Display* display = FindDisplay();
  return display != nullptr ? ConnectionNumber(display) : -1;
}

bool X11MapWindow(SDL_Window* window, unsigned milliseconds) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return true;
  }
  Display* const display = info.info.x11.display;
  const ::Window xwindow = info.info.x11.window;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, xwindow, &attributes) == 0) {
    return false;
  }
  if (attributes.map_state != IsUnmapped) {
    return true;
  }
  XMapRaised(display, xwindow);
  // Each look is a round trip, which also sends the map request.
  const Uint64 end = SDL_GetTicks64() + milliseconds;
  for (;;) {
    if (XGetWindowAttributes(display, xwindow, &attributes) == 0) {
      return false;
    }
    if (attributes.map_state != IsUnmapped) {
      return true;
    }
    if (SDL_GetTicks64() >= end) {
      return false;
    }
    SDL_Delay(5);
  }
}

bool X11EventsPending() {
  Display* display = FindDisplay();
  return display != nullptr && XEventsQueued(display, QueuedAfterFlush) > 0;
}

}  // namespace sdl_layer
