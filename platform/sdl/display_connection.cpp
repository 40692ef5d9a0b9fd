// The display connection a wait sleeps on, whichever video driver SDL
// chose: X11 (x11_connection.cpp) or Wayland (wayland_connection.cpp).
//
// Supports: the descriptor, events already read but not yet pumped, the
//   steps around a sleep, a lost server or compositor ending the process
//   at once with 0x80070037 (HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST), 55
//   after Linux keeps the low byte). On Wayland SDL repeats held keys
//   itself when pumped, so a wait then looks again at the repeat's pace.
// Lacks:    other drivers' descriptors: the queue looks at SDL's events
//   every few milliseconds there instead.
// Depends on: SDL2; the two drivers' files.
#include <unistd.h>

#include <cstring>

#include "display_connection.h"
#include "sdl_internal.h"
#include "wait.h"

namespace {

using sdl_layer::g_sdl;

constexpr long kErrorDevNotExist = 55L;
constexpr HRESULT kDisplayLost = HRESULT_FROM_WIN32(kErrorDevNotExist);
// SDL's Wayland key repeat runs when SDL is pumped; 10 ms keeps it on time
// at any usual repeat rate.
constexpr uint64_t kKeyRepeatLookMs = 10;

enum class Driver { kNone, kX11, kWayland, kOther };

Driver CurrentDriver() {
  const char* driver = g_sdl.videoReady ? SDL_GetCurrentVideoDriver() : nullptr;
  if (driver == nullptr) {
    return Driver::kNone;
  }
  if (std::strcmp(driver, "x11") == 0) {
    return Driver::kX11;
  }
  return std::strcmp(driver, "wayland") == 0 ? Driver::kWayland : Driver::kOther;
}

bool AnyKeyHeld() {
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  for (int i = 0; i < count; ++i) {
    if (keys[i] != 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

namespace sdl_layer {

void ExitDisplayLost() { _exit(static_cast<int>(kDisplayLost)); }

void InstallDisplayLossHandler() {
  if (CurrentDriver() == Driver::kX11) {
    InstallX11ErrorHandlers();
  }
}

int DisplayFd() {
  switch (CurrentDriver()) {
    case Driver::kX11:
      return X11Fd();
    case Driver::kWayland:
      return WaylandFd();
    default:
      return -1;
  }
}

bool DisplayEventsPending() {
  switch (CurrentDriver()) {
    case Driver::kX11:
      return X11EventsPending();
    case Driver::kWayland:
      return WaylandEventsPending();
    default:
      return false;
  }
}

bool BeginDisplayWait() { return CurrentDriver() != Driver::kWayland || WaylandBeginWait(); }

void EndDisplayWait() {
  if (CurrentDriver() == Driver::kWayland) {
    WaylandEndWait();
  }
}

uint64_t DisplayLookAgainMs() {
  return CurrentDriver() == Driver::kWayland && AnyKeyHeld() ? kKeyRepeatLookMs : 0;
}

void EndIfDisplayLost() {
  if (CurrentDriver() == Driver::kWayland && WaylandLost()) {
    // As on X11: no exit handler talks to the lost connection again.
    ExitDisplayLost();
  }
}

}  // namespace sdl_layer
