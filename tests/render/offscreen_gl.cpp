#include "offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

namespace {
std::string Describe(const char* step) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04X)", step,
                static_cast<unsigned>(eglGetError()));
  return text;
}
}  // namespace

OffscreenGL::~OffscreenGL() {
  if (display_ != nullptr) {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != nullptr) eglDestroyContext(display_, context_);
    if (surface_ != nullptr) eglDestroySurface(display_, surface_);
    // The display stays initialised for the process: Mesa's eglTerminate
    // loses track of a few of its own allocations, which LeakSanitizer then
    // reports against the test. The next Create reuses the same display.
  }
}

bool OffscreenGL::Create(int width, int height) {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    error_ = "eglGetPlatformDisplayEXT is not available";
    return false;
  }
  display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display_ == EGL_NO_DISPLAY) {
    display_ = nullptr;
    error_ = Describe("eglGetPlatformDisplayEXT(surfaceless)");
    return false;
  }
  if (!eglInitialize(display_, nullptr, nullptr)) {
    error_ = Describe("eglInitialize");
    return false;
  }
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                     EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                     EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 16, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display_, configAttributes, &config, 1, &count) || count < 1) {
    error_ = Describe("eglChooseConfig");
    return false;
  }
  const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  surface_ = eglCreatePbufferSurface(display_, config, surfaceAttributes);
  if (surface_ == EGL_NO_SURFACE) {
    surface_ = nullptr;
    error_ = Describe("eglCreatePbufferSurface");
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error_ = Describe("eglBindAPI(EGL_OPENGL_API)");
    return false;
  }
  context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, nullptr);
  if (context_ == EGL_NO_CONTEXT) {
    context_ = nullptr;
    error_ = Describe("eglCreateContext");
    return false;
  }
  if (!eglMakeCurrent(display_, surface_, surface_, context_)) {
    error_ = Describe("eglMakeCurrent");
    return false;
  }
  return true;
}

void SetWindowProjection(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 2000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}
