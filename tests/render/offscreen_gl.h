// An offscreen GL context for tests and benchmarks: Mesa's software renderer
// through EGL's surfaceless platform, so no X server, display or GPU is
// needed. Rendering goes to a pbuffer that glReadPixels reads back.
#pragma once

#include <string>

#include "framework/gl_initial_state.h"

class OffscreenGL {
 public:
  OffscreenGL() = default;
  ~OffscreenGL();
  OffscreenGL(const OffscreenGL&) = delete;
  OffscreenGL& operator=(const OffscreenGL&) = delete;

  // Makes a compatibility-profile context with a width x height pbuffer
  // (8-bit RGBA, 16-bit depth) current. On failure returns false and says
  // why in error().
  bool Create(int width, int height);
  const std::string& error() const { return error_; }

 private:
  void* display_ = nullptr;
  void* surface_ = nullptr;
  void* context_ = nullptr;
  std::string error_;
};

// The projection the OpenGL window sets for a client area of width x height
// (near 0.1, far 2000). Its initial state is ApplyInitialGLState().
void SetWindowProjection(int width, int height);
