// The video drivers' connections behind display_connection.cpp (not a
// public header): one set of functions per driver the layer can sleep on.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace sdl_layer {

// Exit code for a display that went away: HRESULT_FROM_WIN32(
// ERROR_DEV_NOT_EXIST), of which Linux keeps the low byte, 55.
[[noreturn]] void ExitDisplayLost();

// x11_connection.cpp
void InstallX11ErrorHandlers();
int X11Fd();
bool X11EventsPending();
// Maps an X11 window and waits up to `milliseconds` until the X server has
// it mapped. TRUE also when it was mapped already or is not an X11 window.
bool X11MapWindow(SDL_Window* window, unsigned milliseconds);

// wayland_connection.cpp
int WaylandFd();
bool WaylandBeginWait();
void WaylandEndWait();
bool WaylandEventsPending();
bool WaylandLost();

}  // namespace sdl_layer
