#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "render/camera.h"

namespace {

std::uint32_t Bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

Camera Zeroed() {
  Camera camera;
  std::memset(&camera, 0, sizeof camera);
  return camera;
}

TEST(Camera, LevelAndStraightDownAreExact) {
  Camera camera = Zeroed();
  SetOrbit(&camera, 0.0f, 480.0f);
  EXPECT_EQ(camera.pitch, 0.0f);
  EXPECT_EQ(camera.height, 0.0f);
  EXPECT_EQ(camera.backDistance, 480.0f);

  SetOrbit(&camera, 90.0f, 480.0f);
  EXPECT_EQ(camera.pitch, 90.0f);
  EXPECT_EQ(camera.height, 480.0f);
  EXPECT_EQ(camera.backDistance, 0.0f);
}

// Bit patterns worked out independently: a = p * k in float (k = 0x3C8EF921,
// 3.1415 / 180), sine and cosine in double narrowed to float, times 480.
TEST(Camera, OrbitUsesTheShortDegreeConstantToTheBit) {
  struct Case {
    float pitch;
    std::uint32_t height;
    std::uint32_t back;
  };
  const Case cases[] = {
      {40.0f, 0x439a43e7u, 0x43b7da95u},  // 308.53049, 367.70767
      {45.0f, 0x43a9b3a2u, 0x43a9b5a6u},  // 339.40338, 339.41913: they differ
      {89.0f, 0x43eff698u, 0x410662c4u},  // 479.92651, 8.3991127
      {1.0f, 0x410607d1u, 0x43eff6a5u},   // 8.3769083, 479.92691
  };
  for (const Case& c : cases) {
    Camera camera = Zeroed();
    SetOrbit(&camera, c.pitch, 480.0f);
    EXPECT_EQ(camera.pitch, c.pitch);
    EXPECT_EQ(Bits(camera.height), c.height) << "pitch " << c.pitch;
    EXPECT_EQ(Bits(camera.backDistance), c.back) << "pitch " << c.pitch;
  }
}

TEST(Camera, OrbitClampsNothingAndTouchesOnlyItsThreeFields) {
  Camera camera = Zeroed();
  camera.targetX = 7.0;
  camera.heading = 0.5;
  camera.turn = 3.0f;
  SetOrbit(&camera, 135.0f, -20.0f);
  EXPECT_EQ(camera.pitch, 135.0f);
  EXPECT_GT(camera.height, -20.0f);
  EXPECT_LT(camera.height, 0.0f);  // sin(135 deg) > 0 times a negative distance
  EXPECT_GT(camera.backDistance, 0.0f);
  EXPECT_EQ(camera.targetX, 7.0);
  EXPECT_EQ(camera.heading, 0.5);
  EXPECT_EQ(camera.turn, 3.0f);
}

TEST(Camera, FollowWidensThePositionExactly) {
  Camera camera = Zeroed();
  camera.targetY = 99.0;
  camera.pitch = 40.0f;
  Follow(&camera, -12.5f, 700.25f);
  EXPECT_EQ(camera.targetX, -12.5);
  EXPECT_EQ(camera.targetY, 0.0);
  EXPECT_EQ(camera.targetZ, 700.25);
  EXPECT_EQ(camera.pitch, 40.0f);

  // A float that is not a short decimal: widened, not rounded through text.
  Follow(&camera, 0.1f, -0.3f);
  EXPECT_EQ(camera.targetX, static_cast<double>(0.1f));
  EXPECT_EQ(camera.targetZ, static_cast<double>(-0.3f));
}

}  // namespace
