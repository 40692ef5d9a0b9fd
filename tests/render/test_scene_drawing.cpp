// Frames drawn into an offscreen buffer and read back.
#include <cmath>
#include <cstdlib>

#include "render_fixture.h"

namespace {
// Colours as the lit spheres show them: the emission plus some light.
bool LooksPlayer(Rgb c) { return c.g >= 245 && c.r <= 170 && c.b <= 170 && std::abs(c.r - c.b) <= 4; }
bool LooksNormal(Rgb c) { return c.b >= 245 && c.g > c.r && c.r >= 120 && c.r <= 235; }
bool LooksChaser(Rgb c) { return c.r >= 245 && c.g <= 170 && c.b <= 170 && std::abs(c.g - c.b) <= 4; }
bool IsGrey(Rgb c) { return c.r == c.g && c.g == c.b; }
bool IsClearColour(Rgb c) { return c.r == 51 && c.g == 51 && c.b == 51; }

// The texel at the middle of a square: 192 for tile 0, 250 for tile 1 with
// the default colours (one texel either way gives a step of at most 1).
int SquareMiddle(int a, int b) { return ((a + b) % 2 == 0) ? 250 : 192; }

class SceneDrawing : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  }

  // Checks the middle of every world square whose middle lands in the frame
  // away from the balls; returns how many were checked.
  int CheckFloorSquares(const std::vector<unsigned char>& frame) {
    int checked = 0;
    for (int a = -12; a <= 12; ++a) {
      for (int b = -20; b <= 8; ++b) {
        const double x = a * 96 + 48;
        const double z = b * 96 + 48;
        bool nearBall = false;
        for (int i = 0; i < 3; ++i) {
          const double dx = x - scene_->balls[i].x;
          const double dz = z - scene_->balls[i].z;
          nearBall = nearBall || (std::fabs(dx) < 100 && dz > -160 && dz < 80);
        }
        int wx = 0;
        int wy = 0;
        if (nearBall || !Project(x, 0.0, z, &wx, &wy)) continue;
        const Rgb c = PixelAt(frame, wx, wy);
        EXPECT_TRUE(IsGrey(c)) << "square " << a << "," << b;
        EXPECT_NEAR(c.r, SquareMiddle(a, b), 1) << "square " << a << "," << b;
        ++checked;
      }
    }
    return checked;
  }
};

TEST_F(SceneDrawing, FrameShowsFloorAndBallsWhereTheCameraPutsThem) {
  scene_->balls[1].x = -200.0f;
  scene_->balls[1].z = -150.0f;
  scene_->balls[2].x = 200.0f;
  scene_->balls[2].z = -150.0f;
  scene_->balls[2].state = kBallChaser;
  scene_->balls[0].x = 0.0f;
  scene_->balls[0].z = 0.0f;
  DrawFrame();
  ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  const std::vector<unsigned char> frame = ReadFrame();

  int wx = 0;
  int wy = 0;
  ASSERT_TRUE(Project(0.0, 24.0, 0.0, &wx, &wy));
  // The target lies on the view's centre line, so ball 0 is in the middle.
  EXPECT_NEAR(wx, kWidth / 2, 2);
  const Rgb player = PixelAt(frame, wx, wy);
  EXPECT_TRUE(LooksPlayer(player)) << player.r << "," << player.g << "," << player.b;

  ASSERT_TRUE(Project(-200.0, 24.0, -150.0, &wx, &wy));
  EXPECT_LT(wx, kWidth / 2);
  const Rgb normal = PixelAt(frame, wx, wy);
  EXPECT_TRUE(LooksNormal(normal)) << normal.r << "," << normal.g << "," << normal.b;

  ASSERT_TRUE(Project(200.0, 24.0, -150.0, &wx, &wy));
  EXPECT_GT(wx, kWidth / 2);
  const Rgb chaser = PixelAt(frame, wx, wy);
  EXPECT_TRUE(LooksChaser(chaser)) << chaser.r << "," << chaser.g << "," << chaser.b;

  EXPECT_GE(CheckFloorSquares(frame), 20);

  // The floor reaches past every edge of the frame: nothing shows through.
  int uncovered = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) uncovered += IsClearColour(PixelAt(frame, x, y)) ? 1 : 0;
  }
  EXPECT_EQ(uncovered, 0);

  // Each square's dark corner is its (-x, +z) corner.
  ASSERT_TRUE(Project(-96.0 + 6, 0.0, -96.0 * 2 + 90, &wx, &wy));  // square (-1,-2): tile 0
  const Rgb dark = PixelAt(frame, wx, wy);
  ASSERT_TRUE(Project(-96.0 + 90, 0.0, -96.0 * 2 + 6, &wx, &wy));
  const Rgb light = PixelAt(frame, wx, wy);
  EXPECT_NEAR(dark.r, 183, 2);
  EXPECT_NEAR(light.r, 200, 2);

  // What the frame leaves behind.
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  GLint value = -1;
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_FLAT);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  EXPECT_EQ(value, 0);
  glGetIntegerv(GL_MATRIX_MODE, &value);
  EXPECT_EQ(value, GL_MODELVIEW);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
  EXPECT_EQ(value, 1);
}

TEST_F(SceneDrawing, RoleColoursFollowEachBallsState) {
  // Ball 0 made a chaser and the chaser's colour changed: the sphere at the
  // target takes the colour of its state, not of its index.
  g_colourSettings.colours[3] = 0x00FF00FF;  // chasers magenta
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  scene_->balls[0].x = 0.0f;
  scene_->balls[0].z = 0.0f;
  scene_->balls[0].state = kBallChaser;
  DrawFrame();
  const std::vector<unsigned char> frame = ReadFrame();
  int wx = 0;
  int wy = 0;
  ASSERT_TRUE(Project(0.0, 24.0, 0.0, &wx, &wy));
  const Rgb c = PixelAt(frame, wx, wy);
  EXPECT_GE(c.r, 245);
  EXPECT_GE(c.b, 245);
  EXPECT_LE(c.g, 170);
}

TEST_F(SceneDrawing, StraightDownShowsTheFloorFacingTheCamera) {
  Aim(300.0f, -420.0f, 90.0f, 480.0f);
  scene_->balls[0].x = 300.0f;
  scene_->balls[0].z = -420.0f;
  DrawFrame();
  const std::vector<unsigned char> frame = ReadFrame();
  const Rgb middle = PixelAt(frame, kWidth / 2, kHeight / 2);
  EXPECT_TRUE(LooksPlayer(middle)) << middle.r << "," << middle.g << "," << middle.b;
  EXPECT_GE(CheckFloorSquares(frame), 6);
  int uncovered = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) uncovered += IsClearColour(PixelAt(frame, x, y)) ? 1 : 0;
  }
  EXPECT_EQ(uncovered, 0);
}

TEST_F(SceneDrawing, CheckerboardStaysPutWhileTheTargetMoves) {
  // A fixed view from above; only the target that places the grid moves.
  auto drawFloorFrom = [&](float tx, float tz) {
    Follow(&scene_->camera, tx, tz);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0.0, 700.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -1.0);
    DrawFloor(scene_.get());
    glFinish();
    return ReadFrame();
  };
  const std::vector<unsigned char> reference = drawFloorFrom(0.0f, 0.0f);
  const float targets[][2] = {{250.5f, -130.0f}, {-96.0f, -96.0f}, {-95.5f, 95.9f}, {-300.0f, 200.0f}};
  for (const auto& t : targets) {
    const std::vector<unsigned char> moved = drawFloorFrom(t[0], t[1]);
    int differing = 0;
    for (size_t i = 0; i < moved.size(); i += 4) {
      differing += (moved[i] != reference[i] || moved[i + 1] != reference[i + 1]) ? 1 : 0;
    }
    // Square edges may rasterise a pixel apart; nothing else may change.
    EXPECT_LT(differing, kWidth * kHeight / 200) << "target " << t[0] << "," << t[1];
    EXPECT_GE(CheckFloorSquares(moved), 20);
  }
}

TEST_F(SceneDrawing, FrameWithoutResourcesDrawsNothing) {
  ReleaseRenderResources(scene_.get());  // texture 0, null quadric
  DrawFrame();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  const std::vector<unsigned char> frame = ReadFrame();
  int drawn = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) drawn += IsClearColour(PixelAt(frame, x, y)) ? 0 : 1;
  }
  EXPECT_EQ(drawn, 0);
}

TEST_F(SceneDrawing, NullQuadricDrawsTheFloorButNoBalls) {
  // gluNewQuadric only fails when memory runs out, which cannot be provoked
  // here; the frame after such a failure is what matters.
  gluDeleteQuadric(scene_->quadric);
  scene_->quadric = nullptr;
  DrawFrame();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  const std::vector<unsigned char> frame = ReadFrame();
  int wx = 0;
  int wy = 0;
  ASSERT_TRUE(Project(0.0, 0.0, 0.0, &wx, &wy));
  EXPECT_TRUE(IsGrey(PixelAt(frame, wx, wy))) << "floor where ball 0 would be";
  EXPECT_GE(CheckFloorSquares(frame), 20);
}
}  // namespace
