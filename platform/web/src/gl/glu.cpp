// GLU as the program calls it: the perspective projection and solid
// spheres from quadric objects.
//
// gluSphere draws as the desktop GLU does with its default quadric (filled,
// smooth normals, outside, no texture coordinates): the sphere is centred
// on the origin around the z axis; slice i lies at angle 2*pi*i/slices from
// +y towards +x, stack j at angle pi*j/stacks down from +z. Each point's
// normal is its unit direction. The two polar caps are triangle fans about
// the poles, the stacks between them quad strips, in the order and winding
// (counter-clockwise seen from outside) that decide which vertex gives a
// flat-shaded face its colour.
// Lacks: the other quadric shapes and draw styles, texture coordinates,
//   inside orientation.
#include <cmath>
#include <new>
#include <vector>

#include "gl_internal.h"

struct GLUquadric {
  // The default state is all the program uses: nothing to keep.
  int unused;
};

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

extern "C" void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  const double radians = fovy / 2.0 * kPi / 180.0;
  const double depth = zFar - zNear;
  const double sine = std::sin(radians);
  if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return;
  const double f = std::cos(radians) / sine;
  const GLdouble m[16] = {f / aspect, 0, 0, 0,
                          0, f, 0, 0,
                          0, 0, -(zFar + zNear) / depth, -1,
                          0, 0, -2.0 * zNear * zFar / depth, 0};
  glMultMatrixd(m);
}

extern "C" GLUquadric* gluNewQuadric(void) { return new (std::nothrow) GLUquadric{0}; }

extern "C" void gluDeleteQuadric(GLUquadric* quadric) { delete quadric; }

extern "C" void gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
  if (quadric == nullptr || slices < 2 || stacks < 1 || radius < 0.0) {
    if (slices < 2 || stacks < 1 || radius < 0.0) web_gl::SetError(GL_INVALID_VALUE);
    return;
  }
  if (stacks < 2) stacks = 2;  // a cap each, at least
  const float r = static_cast<float>(radius);
  // Around (slices + 1 entries, the last equal to the first, so the seam closes exactly).
  std::vector<float> sinA(static_cast<size_t>(slices) + 1), cosA(static_cast<size_t>(slices) + 1);
  for (GLint i = 0; i < slices; ++i) {
    const float angle = static_cast<float>(2.0 * kPi * i / slices);
    sinA[static_cast<size_t>(i)] = std::sin(angle);
    cosA[static_cast<size_t>(i)] = std::cos(angle);
  }
  sinA[static_cast<size_t>(slices)] = sinA[0];
  cosA[static_cast<size_t>(slices)] = cosA[0];
  // Down, from the pole at +z (sinB 0 at both poles).
  std::vector<float> sinB(static_cast<size_t>(stacks) + 1), cosB(static_cast<size_t>(stacks) + 1);
  for (GLint j = 0; j <= stacks; ++j) {
    const float angle = static_cast<float>(kPi * j / stacks);
    sinB[static_cast<size_t>(j)] = std::sin(angle);
    cosB[static_cast<size_t>(j)] = std::cos(angle);
  }
  sinB[0] = 0.0f;
  sinB[static_cast<size_t>(stacks)] = 0.0f;

  auto point = [&](GLint i, GLint j) {
    const float s = sinB[static_cast<size_t>(j)];
    const float nx = sinA[static_cast<size_t>(i)] * s;
    const float ny = cosA[static_cast<size_t>(i)] * s;
    const float nz = cosB[static_cast<size_t>(j)];
    glNormal3f(nx, ny, nz);
    glVertex3f(r * s * sinA[static_cast<size_t>(i)], r * s * cosA[static_cast<size_t>(i)], r * nz);
  };

  // Top cap: the pole, then the first ring going round clockwise in angle
  // (counter-clockwise seen from above).
  glNormal3f(0.0f, 0.0f, 1.0f);
  glBegin(GL_TRIANGLE_FAN);
  glVertex3f(0.0f, 0.0f, r);
  for (GLint i = slices; i >= 0; --i) point(i, 1);
  glEnd();

  // Bottom cap: the pole, then the last ring the other way round.
  glNormal3f(0.0f, 0.0f, -1.0f);
  glBegin(GL_TRIANGLE_FAN);
  glVertex3f(0.0f, 0.0f, -r);
  for (GLint i = 0; i <= slices; ++i) point(i, stacks - 1);
  glEnd();

  // The stacks between: each strip pairs the lower ring's point with the
  // upper ring's, lower first.
  for (GLint j = 1; j < stacks - 1; ++j) {
    glBegin(GL_QUAD_STRIP);
    for (GLint i = 0; i <= slices; ++i) {
      point(i, j + 1);
      point(i, j);
    }
    glEnd();
  }
}
