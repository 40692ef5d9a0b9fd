// Device contexts, pixel formats and GL contexts in the page.
//
// Supports: one device context per window (its handle derived from the
//   window's), one RGBA double-buffered pixel format with a depth buffer,
//   GL contexts made on the canvas's WebGL 2 context (made once, kept for
//   the page's life; each new GL context starts from GL's initial state),
//   SwapBuffers (the frame reaches the canvas when the program next hands
//   the thread to the browser; see yield.cpp). A lost WebGL context (GPU
//   reset, driver update, evicted tab) is survived as a Windows program
//   survives a driver recovering: it never learns of it. While lost its GL
//   calls are absorbed and the status line says so; once the browser
//   restores the context the GL layer makes its objects again and every
//   window is repainted at once, paused or not.
// Lacks: sharing between contexts, more than one current context.
#include <emscripten/html5.h>

#include "webgl_context.h"
#include "web_state.h"
#include "web_yield.h"

namespace {

using web_layer::g_web;

constexpr int kOnlyFormat = 1;

struct Context {
  HGLRC handle;
};

std::vector<Context> g_contexts;
HGLRC g_current = nullptr;

HDC DcOf(HWND window) { return reinterpret_cast<HDC>(reinterpret_cast<ULONG_PTR>(window) + 1); }

web_layer::Window* WindowOfDc(HDC dc) {
  const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(dc);
  if (value == 0 || (value & 1) == 0) return nullptr;
  return web_layer::FindWindow(reinterpret_cast<HWND>(value - 1));
}

EM_JS(void, web_show_context_lost, (int lost), {
  var line = document.getElementById("status");
  if (!line) return;
  var note = "The graphics were lost. The game goes on and shows again when the browser " +
             "restores them.";
  if (lost) {
    line.textContent = note;
  } else if (line.textContent == note) {
    line.textContent = "";
  }
});

EM_BOOL OnContextLost(int, const void*, void*) {
  WebGlContextLost();
  web_show_context_lost(1);
  return EM_TRUE;  // else the browser never restores it
}

EM_BOOL OnContextRestored(int, const void*, void*) {
  if (!WebGlContextRestored()) return EM_FALSE;  // stays lost: absorbed as before
  web_show_context_lost(0);
  for (wm::Window* window : web_layer::g_wm.windows) window->invalid = true;
  return EM_TRUE;
}

void WatchContext() {
  static bool watching = false;
  if (watching) return;
  watching = true;
  emscripten_set_webglcontextlost_callback("#canvas", nullptr, EM_TRUE, OnContextLost);
  emscripten_set_webglcontextrestored_callback("#canvas", nullptr, EM_TRUE, OnContextRestored);
}

bool IsContext(HGLRC handle) {
  for (const Context& context : g_contexts) {
    if (context.handle == handle) return true;
  }
  return false;
}

}  // namespace

extern "C" HDC GetDC(HWND handle) {
  if (web_layer::RequireWindow(handle) == nullptr) return nullptr;
  return DcOf(handle);
}

extern "C" int ReleaseDC(HWND handle, HDC dc) {
  return web_layer::FindWindow(handle) != nullptr && DcOf(handle) == dc ? 1 : 0;
}

extern "C" int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  if (WindowOfDc(dc) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (descriptor == nullptr || descriptor->nSize != sizeof(PIXELFORMATDESCRIPTOR) ||
      !(descriptor->dwFlags & PFD_SUPPORT_OPENGL) || descriptor->iPixelType != PFD_TYPE_RGBA) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return kOnlyFormat;
}

extern "C" BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  web_layer::Window* window = WindowOfDc(dc);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (format != kOnlyFormat || (window->pixelFormat != 0 && window->pixelFormat != format)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  window->pixelFormat = format;
  return TRUE;
}

extern "C" HGLRC wglCreateContext(HDC dc) {
  web_layer::Window* window = WindowOfDc(dc);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (window->pixelFormat == 0) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  if (!WebGlCreateContext()) {
    SetLastError(ERROR_NOT_SUPPORTED);  // no WebGL 2 in this browser
    return nullptr;
  }
  WatchContext();
  HGLRC const handle = reinterpret_cast<HGLRC>(web_layer::NewHandleValue());
  g_contexts.push_back(Context{handle});
  return handle;
}

extern "C" BOOL wglMakeCurrent(HDC dc, HGLRC handle) {
  if (handle == nullptr) {
    if (g_current != nullptr) WebGlFlushFrame();
    g_current = nullptr;
    return TRUE;
  }
  if (!IsContext(handle) || WindowOfDc(dc) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (g_current != handle) {
    // One WebGL context serves every GL context in turn: the new one starts
    // from GL's initial state, as a new desktop context would.
    WebGlResetContext();
    g_current = handle;
  }
  return TRUE;
}

extern "C" BOOL wglDeleteContext(HGLRC handle) {
  for (auto it = g_contexts.begin(); it != g_contexts.end(); ++it) {
    if (it->handle == handle) {
      g_contexts.erase(it);
      if (g_current == handle) g_current = nullptr;
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

extern "C" BOOL SwapBuffers(HDC dc) {
  if (WindowOfDc(dc) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  WebGlFlushFrame();
  web_layer::FramePresented();
  return TRUE;
}

// The browser presents at its own pace; SwapBuffers never waits for it.
BOOL PlatformSetSwapInterval(int interval) { return interval == 0 ? TRUE : FALSE; }
