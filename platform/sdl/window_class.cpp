// Class and window icons on SDL2 (the class table itself is the core's,
// wm_class.cpp).
//
// Supports: LoadIconA for images registered with PlatformRegisterIcon and
//   for IDI_APPLICATION. A class icon becomes the SDL window icon: the
//   largest size registered, which the window manager scales down (SDL
//   hands it one image only).
// Lacks:    icons in other sizes for other places (taskbar, Alt+Tab).
// Depends on: SDL2 (surfaces for icons).
#include "platform_resources.h"
#include "sdl_internal.h"

namespace {

using sdl_layer::g_sdl;

// Stock handle: a value no table entry ever takes.
HICON const kApplicationIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x7F00));
constexpr ULONG_PTR kIconBase = 0x20000;

bool IsAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }

WORD ResourceId(LPCSTR name) { return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)); }

}  // namespace

namespace sdl_layer {

SDL_Surface* IconSurface(HICON icon) {
  const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(icon);
  if (value <= kIconBase || value > kIconBase + g_sdl.icons.size()) {
    return nullptr;
  }
  const int id = g_sdl.icons[value - kIconBase - 1].resourceId;
  Icon* largest = nullptr;
  for (Icon& image : g_sdl.icons) {
    if (image.resourceId == id && (largest == nullptr || image.width > largest->width)) {
      largest = &image;
    }
  }
  return SDL_CreateRGBSurfaceWithFormatFrom(largest->rgba.data(), largest->width,
                                            largest->height, 32, largest->width * 4,
                                            SDL_PIXELFORMAT_RGBA32);
}

}  // namespace sdl_layer

void PlatformRegisterIcon(int id, const unsigned char* rgba, int width, int height) {
  if (rgba == nullptr || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
    return;
  }
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4u;
  for (sdl_layer::Icon& icon : g_sdl.icons) {
    if (icon.resourceId == id && icon.width == width) {
      icon.rgba.assign(rgba, rgba + bytes);
      icon.width = width;
      icon.height = height;
      return;
    }
  }
  g_sdl.icons.push_back(sdl_layer::Icon{id, std::vector<unsigned char>(rgba, rgba + bytes),
                                        width, height});
}

extern "C" HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (name == nullptr || !IsAtom(name)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  if (instance == nullptr) {
    // Stock icons come from the system, not the module.
    if (name == IDI_APPLICATION) {
      return kApplicationIcon;
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  for (size_t i = 0; i < g_sdl.icons.size(); ++i) {
    if (g_sdl.icons[i].resourceId == ResourceId(name)) {
      return reinterpret_cast<HICON>(kIconBase + i + 1);
    }
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}
