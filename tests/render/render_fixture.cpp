#include "render_fixture.h"

#include <cstring>

const COLORREF kDefaultColours[6] = {0x00C0C0C0, 0x00FFFFFF, 0x00FF9080,
                                     0x000000FF, 0x0000FF00, 0x00000000};

void RenderTest::SetUp() {
  // No silent skip: without a context there is nothing to show.
  ASSERT_TRUE(gl_.Create(kWidth, kHeight)) << gl_.error();
  ApplyInitialGLState();
  SetWindowProjection(kWidth, kHeight);
  ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  std::memcpy(g_colourSettings.colours, kDefaultColours, sizeof kDefaultColours);
  scene_ = std::make_unique<Scene>();
  std::memset(scene_.get(), 0, sizeof(Scene));
  for (int s = 0; s < 3; ++s) scene_->materialColourPtrs[s] = scene_->materialColours[s];
  ResetBalls();
  Aim(0.0f, 0.0f, 40.0f, 480.0f);
}

void RenderTest::TearDown() {
  if (scene_ != nullptr) ReleaseRenderResources(scene_.get());
}

void RenderTest::ResetBalls() {
  for (int i = 0; i < kBallCount; ++i) {
    scene_->balls[i].x = 0.0f;
    scene_->balls[i].z = 5000.0f;
    scene_->balls[i].state = i == 0 ? kBallPlayer : kBallNormal;
  }
}

void RenderTest::Aim(float x, float z, float pitch, float distance) {
  scene_->zoomDistance = distance;
  SetOrbit(&scene_->camera, pitch, distance);
  Follow(&scene_->camera, x, z);
}

void RenderTest::DrawFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  RenderScene(scene_.get());
  glFinish();
}

std::vector<unsigned char> RenderTest::ReadFrame() {
  std::vector<unsigned char> frame(static_cast<size_t>(kWidth * kHeight * 4));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
  return frame;
}

Rgb RenderTest::PixelAt(const std::vector<unsigned char>& frame, int x, int y) {
  const unsigned char* p = &frame[static_cast<size_t>((y * kWidth + x) * 4)];
  return Rgb{p[0], p[1], p[2]};
}

bool RenderTest::Project(double x, double y, double z, int* wx, int* wy, int margin) {
  GLdouble model[16];
  GLdouble projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLdouble sx = 0;
  GLdouble sy = 0;
  GLdouble sz = 0;
  if (gluProject(x, y, z, model, projection, viewport, &sx, &sy, &sz) != GL_TRUE) return false;
  *wx = static_cast<int>(sx);
  *wy = static_cast<int>(sy);
  return sz > 0.0 && sz < 1.0 && *wx >= margin && *wy >= margin && *wx < kWidth - margin &&
         *wy < kHeight - margin;
}

GLint BoundTexture() {
  GLint name = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

GLint ImageWidth() {
  GLint width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  return width;
}
