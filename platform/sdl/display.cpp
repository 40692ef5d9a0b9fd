// Display modes and screen metrics on SDL2.
//
// Supports: ChangeDisplaySettingsA with the modes of display_modes.cpp (the
//   common sizes that fit the desktop, and the desktop's own size, at 32
//   bits per pixel). The screen's real mode is never changed, so nothing is
//   left behind when the process dies: while a mode is held, the WS_POPUP
//   windows made afterwards cover the screen (SDL_WINDOW_FULLSCREEN_DESKTOP)
//   with a client area and default framebuffer of the mode's size, which
//   SwapBuffers scales to the screen with black bars (scaled_present.cpp).
//   GetSystemMetrics gives the mode's size for the screen and full-screen
//   metrics, and pointer positions are given in the mode's coordinates.
//   ChangeDisplaySettingsA(nullptr, 0) ends that: full-screen windows leave
//   full screen and the metrics are the desktop's again. A mode the display
//   lacks, or any full-screen mode when the GL offers no framebuffer
//   objects, is refused with DISP_CHANGE_BADMODE.
//   GetSystemMetrics otherwise reads the desktop display mode (the frame
//   model of window_state.cpp has no caption to subtract, and panels are not
//   subtracted).
// Lacks:    displays other than the first, refresh-rate selection, CDS_TEST
//   and registry updates.
// Depends on: SDL2 video, display_modes.cpp, scaled_present.cpp.
#include <algorithm>

#include "display_modes.h"
#include "sdl_internal.h"

namespace {

using sdl_layer::g_sdl;

sdl_layer::Window* FullScreenWindow() {
  for (wm::Window* each : wm::g_wm.windows) {
    if (each->fullscreen) {
      return sdl_layer::Own(each);
    }
  }
  return nullptr;
}

}  // namespace

namespace sdl_layer {

void ApplyDisplayMode(Window* window) {
  if (!g_sdl.modeSet) {
    return;
  }
  // The window is still hidden: it covers the screen when it is shown.
  if (SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
    window->fullscreen = true;
  }
}

void ClientSize(Window* window, int* width, int* height) {
  if (window->fullscreen) {
    *width = g_sdl.modeWidth;
    *height = g_sdl.modeHeight;
    return;
  }
  SDL_GL_GetDrawableSize(window->sdl, width, height);
}

SDL_Rect PictureRect(int modeWidth, int modeHeight, int outWidth, int outHeight) {
  if (modeWidth <= 0 || modeHeight <= 0 || outWidth <= 0 || outHeight <= 0) {
    return SDL_Rect{0, 0, outWidth, outHeight};
  }
  // Whichever side fills the output first sets the scale.
  const long long across = static_cast<long long>(outWidth) * modeHeight;
  const long long down = static_cast<long long>(outHeight) * modeWidth;
  int width = outWidth;
  int height = outHeight;
  if (across > down) {
    width = static_cast<int>((static_cast<long long>(outHeight) * modeWidth + modeHeight / 2) /
                             modeHeight);
  } else {
    height = static_cast<int>((static_cast<long long>(outWidth) * modeHeight + modeWidth / 2) /
                              modeWidth);
  }
  return SDL_Rect{(outWidth - width) / 2, (outHeight - height) / 2, width, height};
}

SDL_Point ScreenToMode(int x, int y) {
  Window* window = FullScreenWindow();
  if (window == nullptr) {
    return SDL_Point{x, y};
  }
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  SDL_GetWindowPosition(window->sdl, &left, &top);
  SDL_GetWindowSize(window->sdl, &width, &height);
  const SDL_Rect picture = PictureRect(g_sdl.modeWidth, g_sdl.modeHeight, width, height);
  if (picture.w <= 0 || picture.h <= 0) {
    return SDL_Point{0, 0};
  }
  const long long px = static_cast<long long>(x - left - picture.x) * g_sdl.modeWidth / picture.w;
  const long long py = static_cast<long long>(y - top - picture.y) * g_sdl.modeHeight / picture.h;
  return SDL_Point{static_cast<int>(std::clamp<long long>(px, 0, g_sdl.modeWidth - 1)),
                   static_cast<int>(std::clamp<long long>(py, 0, g_sdl.modeHeight - 1))};
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
    sdl_layer::BindDrawTarget();
    return DISP_CHANGE_SUCCESSFUL;
  }
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    return DISP_CHANGE_FAILED;
  }
  wm::ModeSize size{};
  if (!wm::OfferedMode(*request, desktop.w, desktop.h, &size) ||
      !sdl_layer::FramebuffersAvailable()) {
    return DISP_CHANGE_BADMODE;
  }
  g_sdl.modeWidth = size.width;
  g_sdl.modeHeight = size.height;
  g_sdl.modeSet = true;
  return DISP_CHANGE_SUCCESSFUL;
}

extern "C" int GetSystemMetrics(int index) {
  if (!sdl_layer::EnsureVideo()) {
    return 0;
  }
  SDL_DisplayMode desktop{};
  if (g_sdl.modeSet) {
    desktop.w = g_sdl.modeWidth;
    desktop.h = g_sdl.modeHeight;
  } else if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
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
