// Stand-ins for glBindTexture, glGetError and gluNewQuadric, linked into the
// GL test executable: the render library is a static library in it, so its
// calls bind to these rather than to libGL/libGLU, which the stand-ins reach
// through dlsym(RTLD_NEXT) whenever no fault is armed.
#include "test_gl_faults.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "opengl.h"

namespace {
bool g_bindArmed = false;
bool g_bindErrorPending = false;
bool g_quadricArmed = false;
int g_bindCalls = 0;
int g_quadricCalls = 0;

template <typename Fn>
Fn Next(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "test_gl_faults: no next definition of %s\n", name);
    std::abort();
  }
  return reinterpret_cast<Fn>(symbol);
}
}  // namespace

void FailNextBindTexture() { g_bindArmed = true; }
void FailNextNewQuadric() { g_quadricArmed = true; }
void ClearGLFaults() {
  g_bindArmed = false;
  g_bindErrorPending = false;
  g_quadricArmed = false;
}
int BindTextureCalls() { return g_bindCalls; }
int NewQuadricCalls() { return g_quadricCalls; }

extern "C" void glBindTexture(GLenum target, GLuint texture) {
  using Fn = void (*)(GLenum, GLuint);
  static const Fn real = Next<Fn>("glBindTexture");
  ++g_bindCalls;
  real(target, texture);
  if (g_bindArmed) {
    g_bindArmed = false;
    g_bindErrorPending = true;
  }
}

extern "C" GLenum glGetError(void) {
  using Fn = GLenum (*)();
  static const Fn real = Next<Fn>("glGetError");
  if (g_bindErrorPending) {
    g_bindErrorPending = false;
    return GL_INVALID_OPERATION;
  }
  return real();
}

extern "C" GLUquadric* gluNewQuadric(void) {
  using Fn = GLUquadric* (*)();
  static const Fn real = Next<Fn>("gluNewQuadric");
  ++g_quadricCalls;
  if (g_quadricArmed) {
    g_quadricArmed = false;
    return nullptr;
  }
  return real();
}
