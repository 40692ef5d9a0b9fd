// CreateRenderResources when GL fails to bind the texture or GLU makes no
// quadric: failures injected by test_gl_faults.cpp, since Mesa gives neither.
#include "render/render_internal.h"
#include "render_fixture.h"
#include "test_gl_faults.h"
#include "test_heap.h"

namespace {
bool IsGrey(Rgb c) { return c.r == c.g && c.g == c.b; }

class RenderResourceFaults : public RenderTest {
 protected:
  void TearDown() override {
    ClearGLFaults();
    RenderTest::TearDown();
  }

  void FillMaterialsWith(float value) {
    for (int s = 0; s < 3; ++s) {
      for (int c = 0; c < 4; ++c) scene_->materialColours[s][c] = value;
    }
  }

  void ExpectMaterialsAll(float value) {
    for (int s = 0; s < 3; ++s) {
      for (int c = 0; c < 4; ++c) EXPECT_EQ(scene_->materialColours[s][c], value) << s << "," << c;
    }
  }

  // Ball 0 at the view's centre; the pixel there, after a frame.
  Rgb DrawAndReadBallPixel() {
    scene_->balls[0].x = 0.0f;
    scene_->balls[0].z = 0.0f;
    DrawFrame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const std::vector<unsigned char> frame = ReadFrame();
    int wx = 0;
    int wy = 0;
    EXPECT_TRUE(Project(0.0, 24.0, 0.0, &wx, &wy));
    return PixelAt(frame, wx, wy);
  }
};

// The stand-ins sit on the render library's own calls: if they did not, the
// library would call libGL/libGLU directly, the counts would not move and no
// armed failure would be seen.
TEST_F(RenderResourceFaults, StandInsCarryTheLibrarysCallsAndForwardThem) {
  const int binds = BindTextureCalls();
  const int quadrics = NewQuadricCalls();
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  EXPECT_EQ(BindTextureCalls(), binds + 1);
  EXPECT_EQ(NewQuadricCalls(), quadrics + 1);
  // Forwarded: the real bind and the real quadric.
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(scene_->textureName));
  EXPECT_NE(scene_->quadric, nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderResourceFaults, BindErrorStopsWithTheTextureNamedAndNothingElseDone) {
  FillMaterialsWith(-7.0f);
  const int blocksBefore = LiveHeapBlocks();
  FailNextBindTexture();
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_FAIL);

  ASSERT_NE(scene_->textureName, 0u);
  EXPECT_EQ(glIsTexture(scene_->textureName), GL_TRUE) << "bound once, so it exists";
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(scene_->textureName));
  EXPECT_EQ(ImageWidth(), 0) << "no image uploaded";
  EXPECT_EQ(scene_->quadric, nullptr);
  ExpectMaterialsAll(-7.0f);
  EXPECT_EQ(LiveHeapBlocks(), blocksBefore) << "scratch buffer left allocated";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the injected error fires once";

  // No quadric: the frame has the floor but no ball.
  const Rgb c = DrawAndReadBallPixel();
  EXPECT_TRUE(IsGrey(c)) << c.r << "," << c.g << "," << c.b;

  // With the fault spent, a retry makes everything.
  EXPECT_EQ(CreateRenderResources(scene_.get()), S_OK);
  EXPECT_NE(scene_->quadric, nullptr);
}

TEST_F(RenderResourceFaults, BindErrorKeepsTheQuadricAndMaterialsOfAnEarlierSuccess) {
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  GLUquadric* const quadric = scene_->quadric;
  const GLuint oldName = scene_->textureName;
  FillMaterialsWith(-7.0f);
  FailNextBindTexture();
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_FAIL);
  EXPECT_NE(scene_->textureName, 0u);
  EXPECT_TRUE(scene_->textureName != oldName || glIsTexture(oldName) == GL_TRUE)
      << "old texture deleted and its name kept";
  EXPECT_EQ(ImageWidth(), 0);
  EXPECT_EQ(scene_->quadric, quadric);
  ExpectMaterialsAll(-7.0f);
}

TEST_F(RenderResourceFaults, NoQuadricFailsWithMaterialsFilledAndFloorStillDrawn) {
  FillMaterialsWith(-7.0f);
  const int blocksBefore = LiveHeapBlocks();
  FailNextNewQuadric();
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_FAIL);

  EXPECT_EQ(scene_->quadric, nullptr);
  EXPECT_EQ(LiveHeapBlocks(), blocksBefore) << "scratch buffer not freed";
  EXPECT_EQ(scene_->materialColours[0][1], 1.0f);  // player green
  EXPECT_EQ(scene_->materialColours[1][2], 1.0f);  // normal blue
  EXPECT_EQ(scene_->materialColours[2][0], 1.0f);  // chaser red
  for (int s = 0; s < 3; ++s) EXPECT_EQ(scene_->materialColours[s][3], 0.2f);
  ASSERT_NE(scene_->textureName, 0u);
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(scene_->textureName));
  EXPECT_EQ(ImageWidth(), kFloorImageSide) << "the image went up before the quadric";

  const Rgb c = DrawAndReadBallPixel();
  EXPECT_TRUE(IsGrey(c)) << "no ball without a quadric: " << c.r << "," << c.g << "," << c.b;

  // The floor is the textured one: squares alternate between the two tiles'
  // middles (192 and 250 with the default colours).
  const std::vector<unsigned char> frame = ReadFrame();
  int wx = 0;
  int wy = 0;
  ASSERT_TRUE(Project(48.0, 0.0, -240.0, &wx, &wy));
  const Rgb first = PixelAt(frame, wx, wy);
  ASSERT_TRUE(Project(144.0, 0.0, -240.0, &wx, &wy));
  const Rgb second = PixelAt(frame, wx, wy);
  EXPECT_TRUE(IsGrey(first) && IsGrey(second));
  EXPECT_NEAR(first.r, 192, 1);
  EXPECT_NEAR(second.r, 250, 1);
}

TEST_F(RenderResourceFaults, NoQuadricOnRetryDeletesTheOldOneAndLeavesNull) {
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  ASSERT_NE(scene_->quadric, nullptr);
  FailNextNewQuadric();
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_FAIL);
  // The old quadric is gone (a sanitizer build reports it leaked otherwise)
  // and no dangling pointer is kept.
  EXPECT_EQ(scene_->quadric, nullptr);
  const Rgb c = DrawAndReadBallPixel();
  EXPECT_TRUE(IsGrey(c)) << c.r << "," << c.g << "," << c.b;
}
}  // namespace
