// Device contexts, pixel formats and WGL contexts on SDL2's GL support.
//
// Supports: one device context per window (GetDC always gives the same one,
//   as with CS_OWNDC); six pixel formats, all RGBA with 8 bits per colour
//   channel: double-buffered or not, with a 16-bit, 24-bit or no depth
//   buffer (ChoosePixelFormat rounds the depth asked for up to 16 or 24);
//   compatibility-profile contexts (fixed-function GL and immediate mode);
//   wglCreateContext leaves the current context as it was, as WGL does;
//   deleting the current context makes none current; SwapBuffers swaps the
//   window whose context is current.
// X11 picks a window's visual when the window is made, so SetPixelFormat
//   makes the (still hidden) SDL window again when its format differs from
//   the one the window was made with (format 1, the default). While a
//   window is full screen its contexts draw offscreen and SwapBuffers
//   scales the picture to the screen (scaled_present.cpp).
// Lacks:    sharing lists between contexts, stencil, accumulation and
//   auxiliary buffers, layer planes, DescribePixelFormat.
// Depends on: SDL2 video with OpenGL.
#include <algorithm>

#include "opengl.h"
#include "sdl_internal.h"

namespace {

using sdl_layer::g_sdl;
using sdl_layer::Window;

struct PixelFormat {
  bool doubleBuffer;
  int depthBits;
};

// Index + 1 is the format number; format 1 is what windows are made with.
const PixelFormat kFormats[] = {
    {true, 16},   // 1: double-buffered, 16-bit depth (the program's request)
    {true, 24},   // 2: double-buffered, 24-bit depth
    {true, 0},    // 3: double-buffered, no depth buffer
    {false, 16},  // 4: single-buffered, 16-bit depth
    {false, 24},  // 5: single-buffered, 24-bit depth
    {false, 0},   // 6: single-buffered, no depth buffer
};
constexpr int kFormatCount = static_cast<int>(sizeof(kFormats) / sizeof(kFormats[0]));
HDC const kScreenDc = reinterpret_cast<HDC>(static_cast<ULONG_PTR>(0x10));

// Makes the window's SDL window again with the visual of `format`.
bool Remake(Window* window, int format) {
  SDL_Window* old = window->sdl;
  const Uint32 flags = SDL_GetWindowFlags(old);
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  SDL_GetWindowPosition(old, &x, &y);
  SDL_GetWindowSize(old, &width, &height);
  const Uint32 keep = SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE;
  SDL_Window* fresh = sdl_layer::TakeSdlWindow(format, window->title.c_str(), x, y, width, height,
                                               flags & keep);
  if (fresh == nullptr) {
    return false;
  }
  if (SDL_Surface* icon = sdl_layer::IconSurface(wm::g_wm.classes[window->classIndex].icon)) {
    SDL_SetWindowIcon(fresh, icon);
    SDL_FreeSurface(icon);
  }
  sdl_layer::ReleaseSdlWindow(old, window->sdlFormat);
  window->sdlFormat = format;
  window->sdl = fresh;
  window->sdlId = SDL_GetWindowID(fresh);
  window->fullscreen = false;
  if (window->style & WS_POPUP) {
    sdl_layer::ApplyDisplayMode(window);
  }
  if (flags & SDL_WINDOW_SHOWN) {
    sdl_layer::ShowSdlWindow(fresh);
  }
  return true;
}

sdl_layer::GlContext* FindContext(HGLRC handle) {
  for (sdl_layer::GlContext& context : g_sdl.contexts) {
    if (context.handle == handle) {
      return &context;
    }
  }
  return nullptr;
}

Window* RequireDc(HDC dc) {
  Window* window = sdl_layer::FindWindowByDc(dc);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
  }
  return window;
}

}  // namespace

extern "C" HDC GetDC(HWND handle) {
  if (handle == nullptr) {
    return kScreenDc;
  }
  Window* window = sdl_layer::RequireWindow(handle);
  return window != nullptr ? reinterpret_cast<HDC>(window->handle) : nullptr;
}

extern "C" int ReleaseDC(HWND handle, HDC dc) {
  if (handle == nullptr) {
    return dc == kScreenDc ? 1 : 0;
  }
  Window* window = sdl_layer::FindWindow(handle);
  return window != nullptr && dc == reinterpret_cast<HDC>(window->handle) ? 1 : 0;
}

extern "C" int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  if (RequireDc(dc) == nullptr) {
    return 0;
  }
  if (descriptor == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if ((descriptor->dwFlags & needed) != needed || descriptor->iPixelType != PFD_TYPE_RGBA) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  const bool doubleBuffer = (descriptor->dwFlags & PFD_DOUBLEBUFFER) != 0;
  const int depth = descriptor->cDepthBits == 0 ? 0 : (descriptor->cDepthBits <= 16 ? 16 : 24);
  for (int i = 0; i < kFormatCount; ++i) {
    if (kFormats[i].doubleBuffer == doubleBuffer && kFormats[i].depthBits == depth) {
      return i + 1;
    }
  }
  SetLastError(ERROR_INVALID_PIXEL_FORMAT);
  return 0;
}

extern "C" BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  Window* window = RequireDc(dc);
  if (window == nullptr) {
    return FALSE;
  }
  if (format < 1 || format > kFormatCount) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  if (window->pixelFormat != 0) {
    // A window's pixel format is set once.
    if (window->pixelFormat == format) {
      return TRUE;
    }
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  if (format != window->sdlFormat && !Remake(window, format)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  window->pixelFormat = format;
  return TRUE;
}

extern "C" HGLRC wglCreateContext(HDC dc) {
  Window* window = RequireDc(dc);
  if (window == nullptr) {
    return nullptr;
  }
  if (window->pixelFormat == 0) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
  sdl_layer::SetWindowGlAttributes(window->pixelFormat);
  // SDL makes the new context current; WGL does not, so the previous one
  // comes back.
  SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
  SDL_GL_MakeCurrent(previousWindow, previousContext);
  if (context == nullptr) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  HGLRC handle = reinterpret_cast<HGLRC>(sdl_layer::NewHandleValue());
  g_sdl.contexts.push_back(
      sdl_layer::GlContext{handle, context, window->pixelFormat, false, sdl_layer::OffscreenTarget{}});
  return handle;
}

extern "C" BOOL wglMakeCurrent(HDC dc, HGLRC handle) {
  if (handle == nullptr) {
    if (SDL_GL_GetCurrentContext() != nullptr) {
      SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    }
    return TRUE;
  }
  sdl_layer::GlContext* context = FindContext(handle);
  if (context == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Window* window = RequireDc(dc);
  if (window == nullptr) {
    return FALSE;
  }
  if (window->pixelFormat != context->pixelFormat) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  if (SDL_GL_MakeCurrent(window->sdl, context->sdl) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  sdl_layer::FramebuffersAvailable();  // asked once, of the first context
  sdl_layer::BindDrawTarget();
  if (!context->everCurrent) {
    // A new context's viewport and scissor box are its default
    // framebuffer's size: for a full-screen window, the mode's.
    context->everCurrent = true;
    if (window->fullscreen) {
      glViewport(0, 0, g_sdl.modeWidth, g_sdl.modeHeight);
      glScissor(0, 0, g_sdl.modeWidth, g_sdl.modeHeight);
    }
  }
  return TRUE;
}

extern "C" BOOL wglDeleteContext(HGLRC handle) {
  sdl_layer::GlContext* context = FindContext(handle);
  if (context == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (SDL_GL_GetCurrentContext() == context->sdl) {
    SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
  }
  SDL_GL_DeleteContext(context->sdl);
  g_sdl.contexts.erase(g_sdl.contexts.begin() + (context - g_sdl.contexts.data()));
  return TRUE;
}

extern "C" BOOL SwapBuffers(HDC dc) {
  Window* window = RequireDc(dc);
  if (window == nullptr) {
    return FALSE;
  }
  if (SDL_GL_GetCurrentWindow() != window->sdl || SDL_GL_GetCurrentContext() == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  sdl_layer::GlContext* context = sdl_layer::CurrentContext();
  if (window->fullscreen && context != nullptr && context->offscreen.framebuffer != 0) {
    sdl_layer::PresentScaled(window, context);
  } else {
    SDL_GL_SwapWindow(window->sdl);
  }
  return TRUE;
}

BOOL PlatformSetSwapInterval(int interval) {
  return SDL_GL_GetCurrentContext() != nullptr && SDL_GL_SetSwapInterval(interval) == 0;
}
