// ApplyView's matrix as GL holds it.
#include <cmath>

#include "render_fixture.h"

namespace {
using ApplyViewTest = RenderTest;

TEST_F(ApplyViewTest, RotatesByPitchThenTranslatesByTheEyeOffset) {
  Aim(100.0f, -50.0f, 40.0f, 480.0f);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  ApplyView(&scene_->camera);
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);

  // Expected: rotation of 40 degrees about x, times the translation
  // (-100, -308.5305, -317.7077); column-major.
  const double a = 40.0 * 3.14159265358979323846 / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double t[3] = {-100.0, -308.5305, -317.7077};
  const double expected[16] = {1, 0, 0, 0,  0, c, s, 0,  0, -s, c, 0,
                               t[0], c * t[1] - s * t[2], s * t[1] + c * t[2], 1};
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 2e-3) << "element " << i;

  // The eye sits at (100, 308.53, -50 + 367.71): it maps to the origin.
  const double eye[3] = {100.0, 308.5305, -50.0 + 367.7077};
  for (int r = 0; r < 3; ++r) {
    const double v = m[r] * eye[0] + m[4 + r] * eye[1] + m[8 + r] * eye[2] + m[12 + r];
    EXPECT_NEAR(v, 0.0, 2e-3) << "row " << r;
  }
}
}  // namespace
