// The layer's numbers against Mesa's for the same calls (reference_script.h),
// which webgl_mesa_reference prints. Tolerances, far below what shows on
// screen and well above float rounding (measured: 5e-8, 1.9e-6, 8.7e-8 and
// 2.4e-7 of them):
//   matrices: 2e-6 of the matrix's largest element;
//   sphere: positions 1e-5 (radius 24), normals 1e-6;
//   lit colours: 1/1024, a quarter of an 8-bit step.
// The lighting itself is webgl.cpp's shader and runs only in the browser,
// where the page check compares whole frames with Mesa's. Here the state
// the core hands that shader (modelview, normal matrix, light position in
// eye coordinates, light and material colours, shininess) is put through
// GL 1.1's lighting equation, as the shader writes it, and must give the
// colour Mesa's fixed-function lighting gives each vertex.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_webgl.h"
#include "reference_script.h"

namespace {

using web_gl::g_gl;

struct MesaNumbers {
  std::vector<std::array<float, 32>> matrices;  // modelview, projection at each checkpoint
  std::array<float, 4> light{};
  std::vector<std::array<float, 10>> vertices;  // position, normal, lit RGBA
  std::string failure;
};

MesaNumbers RunMesa() {
  MesaNumbers mesa;
  std::FILE* pipe = popen(WEBGL_MESA_REFERENCE, "r");
  if (pipe == nullptr) return mesa.failure = "cannot run webgl_mesa_reference", mesa;
  bool readable = true;
  for (char kind = 0; readable && std::fscanf(pipe, " %c", &kind) == 1;) {
    readable = kind == 'M' || kind == 'P' || kind == 'V';
    const int n = kind == 'M' ? 32 : kind == 'P' ? 4 : 10;
    float* to = kind == 'M'   ? mesa.matrices.emplace_back().data()
                : kind == 'P' ? mesa.light.data()
                              : mesa.vertices.emplace_back().data();
    for (int i = 0; i < n && readable; ++i) readable = std::fscanf(pipe, "%f", &to[i]) == 1;
  }
  if (pclose(pipe) != 0 || !readable) mesa.failure = "webgl_mesa_reference failed (its messages are above)";
  return mesa;
}

const MesaNumbers& Mesa() {
  static const MesaNumbers mesa = RunMesa();
  return mesa;
}

class WebglVsMesa : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Mesa().failure, "");
    web_gl::ResetState();
    web_gl::g_draws.clear();
  }
};

TEST_F(WebglVsMesa, MatrixCallsAndStacksGiveMesasMatrices) {
  size_t mark = 0;
  reference::MatrixScript([&mark](const char* label) {
    ASSERT_LT(mark, Mesa().matrices.size()) << label;
    const float* ours[2] = {g_gl.modelviewStack.back().data(), g_gl.projectionStack.back().data()};
    for (int which = 0; which < 2; ++which) {
      const float* theirs = Mesa().matrices[mark].data() + which * 16;
      float scale = 0.0f;
      for (int i = 0; i < 16; ++i) scale = std::max(scale, std::fabs(theirs[i]));
      for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(ours[which][i], theirs[i], 2e-6f * scale)
            << label << ", matrix " << which << "[" << i << "]";
      }
    }
    ++mark;
  });
  EXPECT_EQ(mark, Mesa().matrices.size());
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// GL 1.1's lighting of a vertex by light 0 with an infinite viewer, no
// attenuation or spot, from the state a run carries.
std::array<float, 4> Light(const web_gl::DrawState& s, const float* p, const float* n) {
  float eye[3], normal[3], l[3], h[3];
  for (int r = 0; r < 3; ++r) {
    const float* m = s.modelview;
    eye[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    normal[r] = s.normalMatrix[r] * n[0] + s.normalMatrix[4 + r] * n[1] + s.normalMatrix[8 + r] * n[2];
    l[r] = s.lightPosition[r] - (s.lightPosition[3] != 0.0f ? eye[r] : 0.0f);
  }
  auto dot = [](const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const float length = std::sqrt(dot(l, l));
  for (float& x : l) x /= length;
  h[0] = l[0], h[1] = l[1], h[2] = l[2] + 1.0f;
  const float nl = dot(normal, l), nh = dot(normal, h) / std::sqrt(dot(h, h));
  std::array<float, 4> c{};
  for (int k = 0; k < 3; ++k) {
    float v = s.emission[k] + s.materialAmbient[k] * (s.modelAmbient[k] + s.lightAmbient[k]);
    if (nl > 0.0f) {
      v += nl * s.materialDiffuse[k] * s.lightDiffuse[k];
      if (nh > 0.0f) v += std::pow(nh, s.materialSpecular[3]) * s.materialSpecular[k] * s.lightSpecular[k];
    }
    c[static_cast<size_t>(k)] = std::min(std::max(v, 0.0f), 1.0f);
  }
  c[3] = s.materialDiffuse[3];
  return c;
}

TEST_F(WebglVsMesa, SphereHasMesasTrianglesNormalsAndLitColours) {
  GLUquadric* quadric = gluNewQuadric();
  reference::LitBall(quadric);
  gluDeleteQuadric(quadric);
  glFlush();
  ASSERT_EQ(web_gl::g_draws.size(), 1u);
  const web_gl::RecordedDraw& d = web_gl::g_draws[0];
  ASSERT_EQ(d.runs.size(), 1u);
  const web_gl::DrawState& state = d.runs[0].state;
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(state.lightPosition[i], Mesa().light[i], 1e-6f);

  // Each of Mesa's triangles is one of ours with the same vertices in the
  // same order: the same winding, and the same last vertex, whose colour a
  // flat-shaded triangle takes.
  const auto& mesa = Mesa().vertices;
  ASSERT_EQ(d.indices.size(), mesa.size());
  std::vector<bool> used(mesa.size() / 3);
  double worst[3] = {};  // position, normal, colour
  for (size_t t = 0; t < mesa.size(); t += 3) {
    auto same = [&](size_t ours) {
      for (size_t k = 0; k < 9; ++k) {
        const float ourCoordinate = d.vertices[d.indices[ours + k / 3]].position[k % 3];
        if (std::fabs(ourCoordinate - mesa[t + k / 3][k % 3]) > 1e-5f) return false;
      }
      return true;
    };
    size_t match = 0;
    while (match < d.indices.size() && (used[match / 3] || !same(match))) match += 3;
    ASSERT_LT(match, d.indices.size()) << "Mesa's triangle " << t / 3 << " is not ours";
    used[match / 3] = true;
    for (size_t k = 0; k < 3; ++k) {
      const web_gl::Vertex& v = d.vertices[d.indices[match + k]];
      const std::array<float, 4> colour = Light(state, v.position, v.normal);
      for (size_t r = 0; r < 4; ++r) {
        if (r < 3) worst[0] = std::max(worst[0], std::fabs(double{v.position[r]} - mesa[t + k][r]));
        if (r < 3) worst[1] = std::max(worst[1], std::fabs(double{v.normal[r]} - mesa[t + k][3 + r]));
        worst[2] = std::max(worst[2], std::fabs(double{colour[r]} - mesa[t + k][6 + r]));
      }
    }
  }
  EXPECT_LE(worst[0], 1e-5);
  EXPECT_LE(worst[1], 1e-6);
  EXPECT_LE(worst[2], 1.0 / 1024);
}

}  // namespace
