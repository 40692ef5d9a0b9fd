// The modelview and projection matrix stacks, in single precision as GL
// implementations keep them (the double-precision calls round on entry).
#include <cmath>

#include "gl_internal.h"

namespace web_gl {

namespace {
constexpr size_t kModelviewDepth = 32;
constexpr size_t kProjectionDepth = 4;

std::vector<std::vector<float>>& CurrentStack() {
  return g_gl.matrixMode == GL_PROJECTION ? g_gl.projectionStack : g_gl.modelviewStack;
}
}  // namespace

// Every change to a matrix goes through here.
float* CurrentMatrix() {
  g_gl.stateDirty = true;
  return CurrentStack().back().data();
}

// current = current * m, both column-major.
void MultiplyCurrent(const float* m) {
  float* c = CurrentMatrix();
  float r[16];
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      r[col * 4 + row] = c[row] * m[col * 4] + c[4 + row] * m[col * 4 + 1] +
                         c[8 + row] * m[col * 4 + 2] + c[12 + row] * m[col * 4 + 3];
    }
  }
  for (int i = 0; i < 16; ++i) c[i] = r[i];
}

}  // namespace web_gl

using web_gl::g_gl;

extern "C" void glMatrixMode(GLenum mode) {
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION) return web_gl::SetError(GL_INVALID_ENUM);
  g_gl.matrixMode = mode;
}

extern "C" void glLoadIdentity(void) {
  float* m = web_gl::CurrentMatrix();
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

extern "C" void glMultMatrixf(const GLfloat* m) { web_gl::MultiplyCurrent(m); }

extern "C" void glMultMatrixd(const GLdouble* m) {
  float f[16];
  for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
  web_gl::MultiplyCurrent(f);
}

extern "C" void glPushMatrix(void) {
  auto& stack = g_gl.matrixMode == GL_PROJECTION ? g_gl.projectionStack : g_gl.modelviewStack;
  const size_t limit = g_gl.matrixMode == GL_PROJECTION ? web_gl::kProjectionDepth : web_gl::kModelviewDepth;
  if (stack.size() >= limit) return web_gl::SetError(GL_STACK_OVERFLOW);
  stack.push_back(stack.back());
}

extern "C" void glPopMatrix(void) {
  auto& stack = g_gl.matrixMode == GL_PROJECTION ? g_gl.projectionStack : g_gl.modelviewStack;
  if (stack.size() <= 1) return web_gl::SetError(GL_STACK_UNDERFLOW);
  stack.pop_back();
  g_gl.stateDirty = true;
}

extern "C" void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  float* m = web_gl::CurrentMatrix();
  for (int row = 0; row < 4; ++row) {
    m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
  }
}

extern "C" void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

extern "C" void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length == 0.0f) return;
  x /= length;
  y /= length;
  z /= length;
  const double radians = static_cast<double>(angle) * 3.14159265358979323846 / 180.0;
  const float s = static_cast<float>(std::sin(radians));
  const float c = static_cast<float>(std::cos(radians));
  const float t = 1.0f - c;
  const float r[16] = {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0,
                       t * x * y - s * z, t * y * y + c,     t * y * z + s * x, 0,
                       t * x * z + s * y, t * y * z - s * x, t * z * z + c,     0,
                       0,                 0,                 0,                 1};
  web_gl::MultiplyCurrent(r);
}
