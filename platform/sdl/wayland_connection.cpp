// The Wayland connection under SDL: its descriptor for the waits, following
// libwayland's read protocol, and telling a lost compositor apart.
//
// Supports: the wl_display SDL opened, found through the first window's
//   system information and kept. Before a sleep the layer announces its
//   read intent (wl_display_prepare_read), which fails while events already
//   read wait in the queue: SDL must dispatch those first, the descriptor
//   no longer shows them. Requests are flushed so the compositor sees them
//   before the thread sleeps; after the sleep the intent is withdrawn and
//   SDL's pump reads. A connection in error (wl_display_get_error) is a
//   lost compositor: SDL sends SDL_QUIT for it, as for the last window
//   closed.
// Lacks:    SDL's other event queues (frame callbacks), which SDL waits on
//   itself while swapping.
// Depends on: SDL2's system window information, libwayland-client.
#include <SDL_syswm.h>
#include <wayland-client.h>

#include "display_connection.h"
#include "sdl_internal.h"

namespace {

wl_display* g_display = nullptr;

wl_display* FindDisplay() {
  if (g_display != nullptr) {
    return g_display;
  }
  for (wm::Window* window : wm::g_wm.windows) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdl_layer::Own(window)->sdl, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_WAYLAND) {
      g_display = info.info.wl.display;
      break;
    }
  }
  return g_display;
}

}  // namespace

namespace sdl_layer {

int WaylandFd() {
  wl_display* display = FindDisplay();
  return display != nullptr ? wl_display_get_fd(display) : -1;
}

bool WaylandBeginWait() {
  wl_display* display = FindDisplay();
  if (display == nullptr) {
    return true;
  }
  if (wl_display_prepare_read(display) != 0) {
    return false;  // events queued, or the connection failed: pump
  }
  // A full socket (EAGAIN) sends the rest with the next flush; a failed
  // connection shows as readable and is found by the next pump.
  wl_display_flush(display);
  return true;
}

void WaylandEndWait() {
  if (wl_display* display = FindDisplay()) {
    wl_display_cancel_read(display);
  }
}

bool WaylandEventsPending() {
  if (!WaylandBeginWait()) {
    return true;
  }
  WaylandEndWait();
  return false;
}

bool WaylandLost() {
  wl_display* display = FindDisplay();
  return display != nullptr && wl_display_get_error(display) != 0;
}

}  // namespace sdl_layer
