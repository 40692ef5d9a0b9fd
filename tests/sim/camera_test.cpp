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

// The orbit goes through the C library's double sine and cosine, which differ
// between systems in the last bits. Narrowed to float, that only shows where
// the double result lies within a few double ulps of a point halfway between
// two floats. A scan of every float pitch in (0, 90) found these six as the
// closest (1 to 3 double ulps); the expected bits are the correctly rounded
// double narrowed to float, worked out in 300-bit arithmetic. A library that
// gets any of them differently breaks agreement between builds.
TEST(Camera, OrbitAtThePitchesNearestAFloatTie) {
  struct Case {
    std::uint32_t pitch;
    std::uint32_t sine;
    std::uint32_t cosine;
  };
  const Case cases[] = {
      {0x3c65309bu, 0x39800000u, 0x3f800000u},  // angle 2^-12: cosine 1 - 2^-25 + tiny
      {0x3c65309cu, 0x39800000u, 0x3f800000u},  // the same angle from the next pitch
      {0x3d3e08c2u, 0x3a544393u, 0x3f7ffffbu},
      {0x3f015dd8u, 0x3c107f6bu, 0x3f7ffd74u},
      {0x40b99eeeu, 0x3dcefaf9u, 0x3f7eb072u},
      {0x41da0279u, 0x3eea6f45u, 0x3f63966au},
  };
  for (const Case& c : cases) {
    float pitch;
    std::memcpy(&pitch, &c.pitch, sizeof pitch);
    Camera camera = Zeroed();
    SetOrbit(&camera, pitch, 1.0f);  // distance 1: height and back are the bare sine and cosine
    EXPECT_EQ(Bits(camera.height), c.sine) << std::hex << "pitch bits 0x" << c.pitch;
    EXPECT_EQ(Bits(camera.backDistance), c.cosine) << std::hex << "pitch bits 0x" << c.pitch;
  }
}

}  // namespace
