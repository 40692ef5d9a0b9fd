// Display modes and screen metrics on SDL2.
//
// Supports: ChangeDisplaySettingsA with a width, height and depth the first
//   display really offers: the mode is then in effect for the WS_POPUP
//   windows made afterwards, which become SDL exclusive full-screen windows
//   (SDL_WINDOW_FULLSCREEN with SDL_SetWindowDisplayMode); the screen
//   switches when such a window is shown. ChangeDisplaySettingsA(nullptr, 0)
//   ends that: full-screen windows leave full screen and the desktop mode
//   comes back (SDL restores it). A mode the display lacks is refused with
//   DISP_CHANGE_BADMODE, as Windows does; nothing is emulated or rounded.
//   32 bits per pixel is taken to be the 24-bit depth X11 reports.
//   GetSystemMetrics for the screen and full-screen sizes, read from the
//   desktop display mode (the frame model of window_state.cpp has no caption
//   to subtract, and panels are not subtracted).
// Lacks:    displays other than the first, refresh-rate selection, CDS_TEST
//   and registry updates.
// Depends on: SDL2 video.
#include "sdl_internal.h"

namespace {

using sdl_layer::g_sdl;

bool DepthMatches(DWORD wanted, const SDL_DisplayMode& mode) {
  const DWORD bits = SDL_BITSPERPIXEL(mode.format);
  return bits == wanted || (wanted == 32 && bits == 24) || (wanted == 24 && bits == 32);
}

}  // namespace

namespace sdl_layer {

void ApplyDisplayMode(Window* window) {
  if (!g_sdl.modeSet) {
    return;
  }
  // The window is still hidden: SDL switches the screen when it is shown.
  SDL_DisplayMode mode = g_sdl.mode;
  if (SDL_SetWindowDisplayMode(window->sdl, &mode) == 0 &&
      SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN) == 0) {
    window->fullscreen = true;
  }
}

}  // namespace sdl_layer

extern "C" LONG ChangeDisplaySettingsA(DEVMODEA* request, DWORD) {
  if (!sdl_layer::EnsureVideo()) {
    return DISP_CHANGE_FAILED;
  }
  if (request == nullptr) {
    g_sdl.modeSet = false;
    for (wm::Window* each : wm::g_wm.windows) {
      sdl_layer::Window* window = sdl_layer::Own(each);
      if (window->fullscreen) {
        SDL_SetWindowFullscreen(window->sdl, 0);
        window->fullscreen = false;
      }
    }
    return DISP_CHANGE_SUCCESSFUL;
  }
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    return DISP_CHANGE_FAILED;
  }
  const DWORD fields = request->dmFields;
  const int width =
      (fields & DM_PELSWIDTH) ? static_cast<int>(request->dmPelsWidth) : desktop.w;
  const int height =
      (fields & DM_PELSHEIGHT) ? static_cast<int>(request->dmPelsHeight) : desktop.h;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, i, &mode) != 0) {
      continue;
    }
    if (mode.w != width || mode.h != height) {
      continue;
    }
    if ((fields & DM_BITSPERPEL) && !DepthMatches(request->dmBitsPerPel, mode)) {
      continue;
    }
    g_sdl.mode = mode;
    g_sdl.modeSet = true;
    return DISP_CHANGE_SUCCESSFUL;
  }
  return DISP_CHANGE_BADMODE;
}

extern "C" int GetSystemMetrics(int index) {
  if (!sdl_layer::EnsureVideo()) {
    return 0;
  }
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    return 0;
  }
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return desktop.w;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
      return desktop.h;
    default:
      return 0;
  }
}
