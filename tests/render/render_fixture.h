// A Scene and an offscreen 640 x 480 GL context set up as the OpenGL window
// would, for the tests that draw.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "config/colour_settings.h"
#include "offscreen_gl.h"
#include "opengl.h"
#include "render/render.h"
#include "sim/scene.h"

// The colour settings' built-in values (COLORREF 0x00BBGGRR).
extern const COLORREF kDefaultColours[6];

struct Rgb {
  int r;
  int g;
  int b;
};

// The texture bound to GL_TEXTURE_2D, and the width of its level-0 image
// (0 when it has none).
GLint BoundTexture();
GLint ImageWidth();

class RenderTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  void SetUp() override;
  void TearDown() override;

  // Every ball far behind the camera, the camera at (0, 0) pitch 40,
  // distance 480.
  void ResetBalls();
  void Aim(float x, float z, float pitch, float distance);
  // Clears, loads the identity and draws a frame, as the main loop does.
  void DrawFrame();
  std::vector<unsigned char> ReadFrame();
  Rgb PixelAt(const std::vector<unsigned char>& frame, int x, int y);
  // Window position of a world point under the current matrices; false
  // when it falls outside the frame (with a margin).
  bool Project(double x, double y, double z, int* wx, int* wy, int margin = 4);

  OffscreenGL gl_;
  std::unique_ptr<Scene> scene_;
};
