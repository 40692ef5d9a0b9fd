// glDrawBuffer and glReadBuffer as on a default framebuffer while full screen.
//
// Supports: while the current context draws into a full-screen window's
//   offscreen framebuffer (scaled_present.cpp), the default framebuffer's
//   colour buffers (GL_BACK, GL_FRONT, GL_LEFT, GL_FRONT_AND_BACK and their
//   left variants) name its one picture, GL_COLOR_ATTACHMENT0, as a
//   framebuffer object accepts no other; otherwise the call goes to the GL
//   unchanged. These definitions take the place of the GL library's in the
//   program (an executable's symbols come first), which they then call.
// Lacks:    glGetIntegerv(GL_DRAW_BUFFER / GL_READ_BUFFER) still reports
//   GL_COLOR_ATTACHMENT0 while full screen; right buffers (stereo).
// Depends on: the GL library (dlsym RTLD_NEXT), scaled_present.cpp.
#include <dlfcn.h>

#include "sdl_internal.h"
// After the layer's headers: Windows' GL headers need WINGDIAPI first.
#include "opengl.h"
#include <GL/glext.h>

namespace {

using BufferCall = void (*)(GLenum);

GLenum ForOffscreen(GLenum buffer) {
  const sdl_layer::GlContext* context = sdl_layer::CurrentContext();
  if (context == nullptr || context->offscreen.framebuffer == 0) {
    return buffer;
  }
  switch (buffer) {
    case GL_BACK:
    case GL_BACK_LEFT:
    case GL_FRONT:
    case GL_FRONT_LEFT:
    case GL_LEFT:
    case GL_FRONT_AND_BACK:
      return GL_COLOR_ATTACHMENT0;
    default:
      return buffer;
  }
}

BufferCall Next(const char* name) {
  return reinterpret_cast<BufferCall>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" void glDrawBuffer(GLenum buffer) {
  static const BufferCall next = Next("glDrawBuffer");
  if (next != nullptr) {
    next(ForOffscreen(buffer));
  }
}

extern "C" void glReadBuffer(GLenum buffer) {
  static const BufferCall next = Next("glReadBuffer");
  if (next != nullptr) {
    next(ForOffscreen(buffer));
  }
}
