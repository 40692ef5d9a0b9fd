// The view's translation, computed without GL.
#include <gtest/gtest.h>

#include <cmath>

#include "render/render_internal.h"

namespace {
Camera MakeCamera(double x, double z, float pitch, float distance) {
  Camera camera{};
  SetOrbit(&camera, pitch, distance);
  Follow(&camera, static_cast<float>(x), static_cast<float>(z));
  return camera;
}

TEST(ViewTranslation, PutsTheEyeBehindAndAboveTheTarget) {
  const Camera camera = MakeCamera(100.0, -50.0, 40.0f, 480.0f);
  const ViewTranslation t = ComputeViewTranslation(&camera);
  EXPECT_EQ(t.x, -100.0);
  EXPECT_EQ(t.y, -static_cast<double>(camera.height));
  EXPECT_EQ(t.z, 50.0 - static_cast<double>(camera.backDistance));
  EXPECT_NEAR(t.y, -308.5305, 1e-4);
  EXPECT_NEAR(t.z, -317.7077, 1e-4);

  const Camera down = MakeCamera(-12.5, 700.25, 90.0f, 480.0f);
  const ViewTranslation d = ComputeViewTranslation(&down);
  EXPECT_EQ(d.x, 12.5);
  EXPECT_EQ(d.y, -480.0);
  EXPECT_EQ(d.z, -700.25);
}

TEST(ViewTranslation, HeadingTurnsTheEyeAroundTheTarget) {
  Camera camera = MakeCamera(10.0, 20.0, 0.0f, 100.0f);
  camera.heading = 3.14159265358979323846 / 2.0;
  camera.targetY = 5.0;
  const ViewTranslation t = ComputeViewTranslation(&camera);
  // Eye at target + (sin(-h), height, cos(-h)) * back: (-100 in x, 0 in z).
  EXPECT_NEAR(t.x, -10.0 + 100.0, 1e-9);
  EXPECT_EQ(t.y, -5.0);
  EXPECT_NEAR(t.z, -20.0, 1e-5);
}
}  // namespace
