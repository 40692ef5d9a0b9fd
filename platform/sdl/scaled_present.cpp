// A full-screen window's default framebuffer, kept offscreen and scaled.
//
// Supports: while a window is full screen (display.cpp), every context made
//   current on it draws into a framebuffer object of the mode's size with
//   the depth buffer of its pixel format, as it would into a default
//   framebuffer of that size: glViewport, glScissor and glReadPixels act on
//   it, and a context's first wglMakeCurrent sets the viewport and scissor
//   box to it. SwapBuffers scales the picture to the whole window with
//   linear filtering, the mode's aspect kept and black bars around it, then
//   swaps; the GL state the program set (bindings, scissor test, colour
//   mask, clear colour) is as before. Leaving full screen gives the
//   context the window's own framebuffer again.
// Lacks:    a front buffer of its own (gl_buffer_selection.cpp points
//   GL_FRONT and GL_BACK at the one picture), and a single-buffered
//   format's picture shows only on SwapBuffers. Needs OpenGL 3.0
//   (framebuffer objects and blits); without it no full-screen mode is
//   offered.
// Depends on: SDL2 with OpenGL.
#include <cstdlib>

#include "sdl_internal.h"
// After the layer's headers: Windows' GL headers need WINGDIAPI first.
#include "opengl.h"
#include <GL/glext.h>

namespace {

using sdl_layer::g_sdl;

struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
  PFNGLCLEARBUFFERFVPROC clearBufferfv;
};

FramebufferCalls gl = {};

template <typename Call>
bool Load(Call* call, const char* name) {
  *call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
  return *call != nullptr;
}

// With a context current: OpenGL 3.0 or later, and its calls found.
bool CurrentContextHasFramebuffers() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version == nullptr || std::atoi(version) < 3) {
    return false;
  }
  return Load(&gl.genFramebuffers, "glGenFramebuffers") &&
         Load(&gl.deleteFramebuffers, "glDeleteFramebuffers") &&
         Load(&gl.bindFramebuffer, "glBindFramebuffer") &&
         Load(&gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
         Load(&gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
         Load(&gl.genRenderbuffers, "glGenRenderbuffers") &&
         Load(&gl.deleteRenderbuffers, "glDeleteRenderbuffers") &&
         Load(&gl.bindRenderbuffer, "glBindRenderbuffer") &&
         Load(&gl.renderbufferStorage, "glRenderbufferStorage") &&
         Load(&gl.blitFramebuffer, "glBlitFramebuffer") &&
         Load(&gl.clearBufferfv, "glClearBufferfv");
}

int DepthBits(int pixelFormat) {
  const int depths[] = {16, 24, 0};
  return depths[(pixelFormat - 1) % 3];
}

void DeleteOffscreen(sdl_layer::OffscreenTarget* target) {
  if (target->framebuffer == 0) {
    return;
  }
  gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.deleteFramebuffers(1, &target->framebuffer);
  gl.deleteRenderbuffers(1, &target->colour);
  if (target->depth != 0) {
    gl.deleteRenderbuffers(1, &target->depth);
  }
  *target = sdl_layer::OffscreenTarget{};
}

// Makes the current context's framebuffer object of the mode's size.
bool MakeOffscreen(sdl_layer::GlContext* context) {
  sdl_layer::OffscreenTarget* target = &context->offscreen;
  const int width = g_sdl.modeWidth;
  const int height = g_sdl.modeHeight;
  if (target->framebuffer != 0 && target->width == width && target->height == height) {
    return true;
  }
  DeleteOffscreen(target);
  GLint previousRenderbuffer = 0;
  glGetIntegerv(GL_RENDERBUFFER_BINDING, &previousRenderbuffer);
  gl.genFramebuffers(1, &target->framebuffer);
  gl.bindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
  gl.genRenderbuffers(1, &target->colour);
  gl.bindRenderbuffer(GL_RENDERBUFFER, target->colour);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                             target->colour);
  const int depthBits = DepthBits(context->pixelFormat);
  if (depthBits != 0) {
    gl.genRenderbuffers(1, &target->depth);
    gl.bindRenderbuffer(GL_RENDERBUFFER, target->depth);
    gl.renderbufferStorage(GL_RENDERBUFFER,
                           depthBits == 16 ? GL_DEPTH_COMPONENT16 : GL_DEPTH_COMPONENT24, width,
                           height);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                               target->depth);
  }
  gl.bindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previousRenderbuffer));
  target->width = width;
  target->height = height;
  if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    DeleteOffscreen(target);
    return false;
  }
  return true;
}

}  // namespace

namespace sdl_layer {

GlContext* CurrentContext() {
  SDL_GLContext current = SDL_GL_GetCurrentContext();
  if (current == nullptr) {
    return nullptr;
  }
  for (GlContext& context : g_sdl.contexts) {
    if (context.sdl == current) {
      return &context;
    }
  }
  return nullptr;
}

bool FramebuffersAvailable() {
  if (g_sdl.framebuffers != 0) {
    return g_sdl.framebuffers > 0;
  }
  if (SDL_GL_GetCurrentContext() != nullptr) {
    g_sdl.framebuffers = CurrentContextHasFramebuffers() ? 1 : -1;
    return g_sdl.framebuffers > 0;
  }
  // No context to ask: one made on the spare window, or on a hidden one
  // that then becomes the spare.
  SDL_Window* probe = g_sdl.spareFormat == 1 ? g_sdl.spare : nullptr;
  const bool made = probe == nullptr;
  SetWindowGlAttributes(1);
  if (made) {
    probe = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 64, 64,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe == nullptr) {
      return false;
    }
  }
  SDL_GLContext context = SDL_GL_CreateContext(probe);
  if (context != nullptr) {
    g_sdl.framebuffers = CurrentContextHasFramebuffers() ? 1 : -1;
    SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(context);
  }
  if (made) {
    ReleaseSdlWindow(probe, 1);
  }
  return g_sdl.framebuffers > 0;
}

void BindDrawTarget() {
  GlContext* context = CurrentContext();
  if (context == nullptr || g_sdl.framebuffers <= 0) {
    return;
  }
  Window* window = FindWindowBySdlId(SDL_GetWindowID(SDL_GL_GetCurrentWindow()));
  if (window != nullptr && window->fullscreen && g_sdl.modeSet) {
    if (MakeOffscreen(context)) {
      gl.bindFramebuffer(GL_FRAMEBUFFER, context->offscreen.framebuffer);
    }
    return;
  }
  DeleteOffscreen(&context->offscreen);
}

void PresentScaled(Window* window, GlContext* context) {
  const OffscreenTarget& target = context->offscreen;
  int outWidth = 0;
  int outHeight = 0;
  SDL_GL_GetDrawableSize(window->sdl, &outWidth, &outHeight);
  const SDL_Rect picture = PictureRect(target.width, target.height, outWidth, outHeight);
  // What the clear and the blit depend on, as the program left it.
  const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  GLboolean mask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  if (scissor) {
    glDisable(GL_SCISSOR_TEST);
  }
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
  const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  if (picture.w < outWidth || picture.h < outHeight) {
    gl.clearBufferfv(GL_COLOR, 0, black);
  }
  // GL counts rows from the bottom.
  const int bottom = outHeight - picture.y - picture.h;
  const bool sameSize = picture.w == target.width && picture.h == target.height;
  gl.blitFramebuffer(0, 0, target.width, target.height, picture.x, bottom, picture.x + picture.w,
                     bottom + picture.h, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
  SDL_GL_SwapWindow(window->sdl);

  gl.bindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glColorMask(mask[0], mask[1], mask[2], mask[3]);
  if (scissor) {
    glEnable(GL_SCISSOR_TEST);
  }
}

}  // namespace sdl_layer
