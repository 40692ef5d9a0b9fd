// Window classes, icons and cursors on SDL2.
//
// Supports: RegisterClassExA into the shared class table (wm_state.cpp
//   finds and unregisters classes, wm_window.cpp loads the arrow cursor),
//   LoadIconA for images registered with PlatformRegisterIcon and for
//   IDI_APPLICATION. A class icon becomes the SDL window icon: the largest
//   size registered, which the window manager scales down (SDL hands it
//   one image only).
// Lacks:    class and window extra bytes, menus, background brushes (GL
//   paints the whole client area).
// Depends on: SDL2 (surfaces for icons).
#include <cstring>

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

extern "C" ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
      windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
      IsAtom(windowClass->lpszClassName) || windowClass->lpszClassName[0] == '\0' ||
      std::strlen(windowClass->lpszClassName) > 255) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (wm::FindClassIndex(windowClass->lpszClassName) >= 0) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  // Atoms are never reused, like handles.
  static WORD nextAtom = 0xC000;
  if (nextAtom == 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  const ATOM atom = nextAtom++;
  wm::g_wm.classes.push_back(wm::WindowClass{windowClass->lpszClassName, atom,
                                              windowClass->style, windowClass->lpfnWndProc,
                                              windowClass->hInstance, windowClass->hIcon});
  return atom;
}
