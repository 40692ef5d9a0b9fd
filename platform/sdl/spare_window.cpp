// SDL windows for application windows, one kept back across a mode switch.
//
// Supports: a window the program destroys is kept as the spare (one at
//   most) instead of being destroyed; the next CreateWindowExA, or
//   SetPixelFormat's remake, with the same pixel format takes it again with
//   the new title, size, place and border. A mode switch (DestroyWindow then
//   CreateWindowExA, with no message pumped between) so never destroys an
//   SDL window, and never hides one either: SDL 2's Wayland driver crashes
//   in a libdecor callback when a decorated GL window is destroyed and the
//   program runs on, and shows nothing when a hidden decorated window that
//   was full screen is shown again. What the program sees is unchanged: the
//   next look at the queue hides a spare, and a window the program has not
//   shown, that are still on screen. SDL_Quit destroys the spare at exit.
// Lacks:    more than one spare (a second one is destroyed).
// Depends on: SDL2 video.
#include "sdl_internal.h"

namespace sdl_layer {

void SetWindowGlAttributes(int format) {
  // The visual is chosen when the SDL window is made; SetPixelFormat makes
  // the window again if it asks for another format than the default (1).
  const bool doubleBuffer = format <= 3;
  const int depths[] = {16, 24, 0};
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, doubleBuffer ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depths[(format - 1) % 3]);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

SDL_Window* TakeSdlWindow(int format, const char* title, int x, int y, int width, int height,
                          Uint32 flags) {
  SDL_Window* window = g_sdl.spare;
  if (window == nullptr || g_sdl.spareFormat != format) {
    SetWindowGlAttributes(format);
    return SDL_CreateWindow(title, x, y, width, height, flags | SDL_WINDOW_HIDDEN);
  }
  g_sdl.spare = nullptr;
  SDL_SetWindowTitle(window, title);
  SDL_SetWindowBordered(window, (flags & SDL_WINDOW_BORDERLESS) ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(window, (flags & SDL_WINDOW_RESIZABLE) ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowSize(window, width, height);
  if (x != static_cast<int>(SDL_WINDOWPOS_UNDEFINED)) {
    SDL_SetWindowPosition(window, x, y);
  }
  return window;
}

void ReleaseSdlWindow(SDL_Window* window, int format) {
  if (window == nullptr) {
    return;
  }
  if (g_sdl.spare != nullptr) {
    SDL_DestroyWindow(window);
    return;
  }
  if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) {
    SDL_SetWindowFullscreen(window, 0);
  }
  g_sdl.spare = window;
  g_sdl.spareFormat = format;
}

void SettleVisibility() {
  if (g_sdl.spare != nullptr && (SDL_GetWindowFlags(g_sdl.spare) & SDL_WINDOW_SHOWN)) {
    SDL_HideWindow(g_sdl.spare);
  }
  for (wm::Window* each : g_wm.windows) {
    Window* window = Own(each);
    if (!(window->style & WS_VISIBLE) && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN)) {
      SDL_HideWindow(window->sdl);
    }
  }
}

}  // namespace sdl_layer
