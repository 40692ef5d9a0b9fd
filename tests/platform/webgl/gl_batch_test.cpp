// The browser build's OpenGL 1.1 layer, natively, with WebGL recorded: the
// triangles it makes of GL's primitives (winding, and the vertex flat
// shading takes its colour from), the runs and shared meshes it batches,
// the state each run carries, and GL's error rules.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_webgl.h"

namespace {

using web_gl::g_draws;

class GlBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    web_gl::ResetState();
    g_draws.clear();
  }
  const web_gl::RecordedDraw& Flushed() {
    glFlush();
    EXPECT_EQ(g_draws.size(), 1u);
    return g_draws.back();
  }
  static float Cross(const web_gl::RecordedDraw& d, size_t t) {  // z of the triangle's normal
    const float* a = d.vertices[d.indices[t]].position;
    const float* b = d.vertices[d.indices[t + 1]].position;
    const float* c = d.vertices[d.indices[t + 2]].position;
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
  }
};

TEST_F(GlBatch, QuadsAndStripsKeepWindingAndEndOnTheProvokingVertex) {
  glBegin(GL_QUADS);  // one counter-clockwise square in the xy plane
  glVertex3i(0, 0, 0);
  glVertex3i(1, 0, 0);
  glVertex3i(1, 1, 0);
  glVertex3i(0, 1, 0);
  glEnd();
  glBegin(GL_QUAD_STRIP);  // two quads: v0 v1 v3 v2, then v2 v3 v5 v4
  for (int i = 0; i < 3; ++i) {
    glVertex3i(i, 2, 0);
    glVertex3i(i, 3, 0);
  }
  glEnd();
  const web_gl::RecordedDraw& d = Flushed();
  ASSERT_EQ(d.indices.size(), 18u);
  const std::uint32_t provoking[6] = {3, 3, 4 + 3, 4 + 3, 4 + 5, 4 + 5};
  for (size_t t = 0; t < 6; ++t) {
    EXPECT_EQ(d.indices[t * 3 + 2], provoking[t]) << "triangle " << t;
    EXPECT_GT(Cross(d, t * 3) * (t < 2 ? 1.0f : -1.0f), 0.0f) << "triangle " << t;
  }
}

TEST_F(GlBatch, RunsSplitWhereTheStateChangesAndCarryIt) {
  const GLfloat red[4] = {1, 0, 0, 1};
  glBegin(GL_TRIANGLES);
  glVertex3i(0, 0, 0), glVertex3i(1, 0, 0), glVertex3i(0, 1, 0);
  glEnd();
  glBegin(GL_TRIANGLES);  // same state: same run
  glVertex3i(0, 0, 1), glVertex3i(1, 0, 1), glVertex3i(0, 1, 1);
  glEnd();
  glMaterialfv(GL_FRONT, GL_EMISSION, red);
  glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
  glBegin(GL_TRIANGLES);
  glVertex3i(0, 0, 2), glVertex3i(1, 0, 2), glVertex3i(0, 1, 2);
  glEnd();
  const web_gl::RecordedDraw& d = Flushed();
  ASSERT_EQ(d.runs.size(), 2u);
  EXPECT_EQ(d.runs[0].indexCount, 6u);
  EXPECT_EQ(d.runs[1].state.emission[0], 1.0f);
  EXPECT_EQ(d.runs[0].state.emission[0], 0.0f);
  // Normals turn with the modelview: +x becomes -z after 90 degrees about y.
  const float* n = d.runs[1].state.normalMatrix;
  EXPECT_NEAR(n[0], 0.0f, 1e-6f);
  EXPECT_NEAR(n[2], -1.0f, 1e-6f);
}

TEST_F(GlBatch, RepeatedSpheresShareOneCopyOfTheirVertices) {
  GLUquadric* quadric = gluNewQuadric();
  for (int i = 0; i < 3; ++i) {
    glPushMatrix();
    glTranslatef(static_cast<float>(i) * 50.0f, 0.0f, 0.0f);
    gluSphere(quadric, 24.0, 20, 20);
    glPopMatrix();
  }
  gluDeleteQuadric(quadric);
  const web_gl::RecordedDraw& d = Flushed();
  ASSERT_EQ(d.runs.size(), 3u);
  const size_t perSphere = 2 * (20 + 2) + (20 - 2) * 2 * (20 + 1);
  EXPECT_LE(d.vertices.size(), 2 * perSphere);  // the third draws from the second's copy
  EXPECT_EQ(d.runs[2].firstIndex, d.runs[1].firstIndex);
  EXPECT_NE(d.runs[2].state.modelview[12], d.runs[1].state.modelview[12]);
  // Every vertex on the sphere with its outward unit normal; every triangle
  // facing out (culling keeps the outside).
  for (const web_gl::Vertex& v : d.vertices) {
    const float* p = v.position;
    EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 24.0f, 1e-3f);
    EXPECT_NEAR(p[0] / 24.0f, v.normal[0], 1e-5f);
  }
  const std::uint32_t first = d.runs[0].firstIndex;
  for (std::uint32_t t = 0; t < d.runs[0].indexCount; t += 3) {
    const float* a = d.vertices[d.indices[first + t]].position;
    const float* b = d.vertices[d.indices[first + t + 1]].position;
    const float* c = d.vertices[d.indices[first + t + 2]].position;
    const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const float normal[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    const float out = normal[0] * (a[0] + b[0] + c[0]) + normal[1] * (a[1] + b[1] + c[1]) +
                      normal[2] * (a[2] + b[2] + c[2]);
    const float area = std::fabs(normal[0]) + std::fabs(normal[1]) + std::fabs(normal[2]);
    if (area > 1e-3f) {
      EXPECT_GT(out, 0.0f) << "triangle " << t / 3;
    }
  }
}

TEST_F(GlBatch, TextureZeroOrIncompleteMeansUntextured) {
  static const unsigned char texel[4] = {255, 255, 255, 255};
  GLuint name = 0;
  glEnable(GL_TEXTURE_2D);
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  auto draw = [] {
    glBegin(GL_TRIANGLES);
    glVertex3i(0, 0, 0), glVertex3i(1, 0, 0), glVertex3i(0, 1, 0);
    glEnd();
  };
  draw();  // GL's default minifying filter wants mipmaps: incomplete
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  draw();
  glBindTexture(GL_TEXTURE_2D, 0);
  draw();
  glFlush();
  std::vector<float> textured;
  for (const web_gl::RecordedDraw& d : g_draws) {
    for (const web_gl::Run& run : d.runs) textured.push_back(run.state.flags[2]);
  }
  EXPECT_EQ(textured, (std::vector<float>{0.0f, 1.0f, 0.0f}));
}

TEST_F(GlBatch, TexturesComeBackWithTheirImageAfterALostContext) {
  const unsigned char floor[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  GLuint names[2] = {};
  glGenTextures(1, &names[0]);
  glBindTexture(GL_TEXTURE_2D, names[0]);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, floor);
  web_gl::g_lost = true;  // the program goes on and never learns of it
  glGenTextures(1, &names[1]);
  glBindTexture(GL_TEXTURE_2D, names[1]);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, floor + 12);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  web_gl::g_lost = false;
  web_gl::g_textures.clear();
  web_gl::RestoreTextures();
  ASSERT_EQ(web_gl::g_textures.size(), 2u);
  const web_gl::FakeTexture& first = web_gl::g_textures.begin()->second;
  EXPECT_EQ(first.image, std::vector<std::uint8_t>(floor, floor + 16));
  EXPECT_EQ(first.parameters.at(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(first.parameters.at(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  EXPECT_EQ(first.parameters.at(GL_TEXTURE_WRAP_T), GL_REPEAT);
  EXPECT_EQ(web_gl::g_textures.rbegin()->second.image, std::vector<std::uint8_t>(floor + 12, floor + 16));
  // Drawn with the new WebGL name.
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, names[0]);
  glBegin(GL_TRIANGLES);
  glVertex3i(0, 0, 0), glVertex3i(1, 0, 0), glVertex3i(0, 1, 0);
  glEnd();
  EXPECT_EQ(Flushed().runs[0].state.texture, web_gl::g_textures.begin()->first);
}

TEST_F(GlBatch, ErrorsAsGlRecordsThem) {
  glBegin(GL_QUADS);
  glBegin(GL_QUADS);  // nested: the first error sticks
  glEnable(GL_TEXTURE_2D);
  glEnd();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glEnable(GL_FOG);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));
  glPopMatrix();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_STACK_UNDERFLOW));
  gluSphere(nullptr, 1.0, 1, 4);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
}

}  // namespace
