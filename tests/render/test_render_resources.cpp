// CreateRenderResources and ReleaseRenderResources in a real GL context.
// Buffer objects (GL 1.5) are only used to provoke a failed upload.
#define GL_GLEXT_PROTOTYPES 1

#include <cstring>

#include "render/render_internal.h"
#include "render_fixture.h"
#include "test_heap.h"

namespace {
std::vector<std::uint8_t> ReadTexture() {
  std::vector<std::uint8_t> texels(static_cast<size_t>(kFloorImageBytes), 0xEE);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  return texels;
}

using RenderResources = RenderTest;

TEST_F(RenderResources, UploadsTheFloorImageAndFillsMaterials) {
  const int blocksBefore = LiveHeapBlocks();
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  EXPECT_NE(scene_->textureName, 0u);
  EXPECT_NE(scene_->quadric, nullptr);
  EXPECT_EQ(LiveHeapBlocks(), blocksBefore) << "scratch buffer not freed";
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(scene_->textureName));

  const std::vector<std::uint8_t> texels = ReadTexture();
  std::vector<std::uint8_t> expected(static_cast<size_t>(kFloorImageBytes));
  BuildFloorImage(kDefaultColours, expected.data());
  EXPECT_EQ(texels, expected);
  EXPECT_EQ(texels[0], 91);                   // tile 0 (0,0) after the ring
  EXPECT_EQ(texels[63 * 512 + 63 * 4], 100);  // tile 0 (63,63)
  EXPECT_EQ(texels[256], 122);                // tile 1 (0,0)
  EXPECT_EQ(texels[64 * 512 + 3], 0);         // unused rows cleared, alpha too

  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_CLAMP);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
  EXPECT_EQ(value, GL_CLAMP);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);

  EXPECT_EQ(scene_->materialColours[0][1], 1.0f);  // player green
  EXPECT_EQ(scene_->materialColours[1][2], 1.0f);  // normal blue
  EXPECT_EQ(scene_->materialColours[2][0], 1.0f);  // chaser red
  for (int s = 0; s < 3; ++s) EXPECT_EQ(scene_->materialColours[s][3], 0.2f);
}

TEST_F(RenderResources, CustomColoursReachTextureAndMaterials) {
  g_colourSettings.colours[0] = 0x00FF00C0;  // tile 0: red 192, green 0, blue 255
  g_colourSettings.colours[4] = 0x00336699;  // player
  g_colourSettings.colours[5] = 0x00FFFFFF;  // white ring
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  const std::vector<std::uint8_t> texels = ReadTexture();
  EXPECT_EQ(texels[0], (255 + 182) / 2);
  EXPECT_EQ(texels[1], (255 + 0) / 2);
  EXPECT_EQ(texels[2], (255 + 245) / 2);
  EXPECT_EQ(texels[32 * 512 + 32 * 4], 192);  // inside the ring, unblended
  EXPECT_EQ(scene_->materialColours[0][0], 153.0f / 255.0f);
  EXPECT_EQ(scene_->materialColours[0][3], 0.2f);
}

TEST_F(RenderResources, SecondCallReplacesTextureAndQuadric) {
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  const GLuint first = scene_->textureName;
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  const GLuint second = scene_->textureName;
  EXPECT_NE(second, 0u);
  EXPECT_EQ(glIsTexture(first) == GL_TRUE, first == second) << "old texture still alive";
  EXPECT_EQ(glIsTexture(second), GL_TRUE);
  EXPECT_NE(scene_->quadric, nullptr);
  // The first quadric was deleted; a sanitizer build would report it leaked
  // otherwise.

  ReleaseRenderResources(scene_.get());
  EXPECT_EQ(glIsTexture(second), GL_FALSE);
  EXPECT_EQ(scene_->textureName, 0u);
  EXPECT_EQ(scene_->quadric, nullptr);
}

TEST_F(RenderResources, PendingGLErrorFailsAfterNamingTheTexture) {
  glEnable(0x7FFF);  // an invalid capability: GL_INVALID_ENUM stays pending
  for (int s = 0; s < 3; ++s) scene_->materialColours[s][3] = -1.0f;
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_FAIL);
  EXPECT_NE(scene_->textureName, 0u);  // generated, then the check stopped it
  EXPECT_EQ(glIsTexture(scene_->textureName), GL_FALSE) << "never bound";
  EXPECT_EQ(scene_->quadric, nullptr);
  EXPECT_EQ(scene_->materialColours[0][3], -1.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the error was consumed";

  // The next attempt, with nothing pending, succeeds and replaces the name.
  EXPECT_EQ(CreateRenderResources(scene_.get()), S_OK);
}

TEST_F(RenderResources, FailedImageUploadLeavesMaterialsAndQuadric) {
  ASSERT_EQ(CreateRenderResources(scene_.get()), S_OK);
  GLUquadric* const quadric = scene_->quadric;
  for (int s = 0; s < 3; ++s) scene_->materialColours[s][0] = -1.0f;

  // With a pixel unpack buffer bound, the image pointer becomes an offset far
  // past the buffer's end and glTexImage2D fails with GL_INVALID_OPERATION.
  GLuint buffer = 0;
  glGenBuffers(1, &buffer);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
  glBufferData(GL_PIXEL_UNPACK_BUFFER, 16, nullptr, GL_STATIC_DRAW);
  ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  const int blocksBefore = LiveHeapBlocks();
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_FAIL);
  EXPECT_EQ(LiveHeapBlocks(), blocksBefore) << "scratch buffer not freed";
  EXPECT_EQ(scene_->quadric, quadric);
  for (int s = 0; s < 3; ++s) EXPECT_EQ(scene_->materialColours[s][0], -1.0f);
  EXPECT_NE(scene_->textureName, 0u);
  EXPECT_EQ(ImageWidth(), 0);

  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  glDeleteBuffers(1, &buffer);
}

TEST_F(RenderResources, NoScratchMemoryLeavesTheTextureNamedAndBound) {
  for (int s = 0; s < 3; ++s) scene_->materialColours[s][3] = -1.0f;
  FailNextHeapAllocs(1);
  EXPECT_EQ(CreateRenderResources(scene_.get()), E_OUTOFMEMORY);
  FailNextHeapAllocs(0);
  ASSERT_NE(scene_->textureName, 0u);
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(scene_->textureName));
  EXPECT_EQ(ImageWidth(), 0);
  EXPECT_EQ(scene_->quadric, nullptr);
  EXPECT_EQ(scene_->materialColours[2][3], -1.0f);

  // A frame drawn anyway leaves the balls out (no quadric, and materials
  // that were never filled) and raises no GL error.
  scene_->balls[0].z = 0.0f;
  DrawFrame();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  const std::vector<unsigned char> frame = ReadFrame();
  int wx = 0;
  int wy = 0;
  ASSERT_TRUE(Project(0.0, 24.0, 0.0, &wx, &wy));
  const Rgb c = PixelAt(frame, wx, wy);
  EXPECT_TRUE(c.r == c.g && c.g == c.b) << c.r << "," << c.g << "," << c.b;
}
}  // namespace
