// The layer's numbers against Mesa's for the same calls (reference_script.h),
// which webgl_mesa_reference prints. Tolerances, far below what shows on
// screen and well above float rounding (measured: 5e-8, 1.9e-6, 8.7e-8 and
// 6e-7 of them):
//   matrices: 2e-6 of the matrix's largest element;
//   sphere: positions 1e-5 (radius 24), normals 1e-6;
//   lit colours: 1/1024, a quarter of an 8-bit step.
// The lighting is the page's vertex shader: webgl_mesa_reference runs it on
// Mesa, fed with the state the core hands it (modelview, normal matrix, light
// position in eye coordinates, light and material colours, shininess) as
// webgl.cpp feeds it, and it must give the colour Mesa's fixed-function
// lighting gives each vertex.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
  std::vector<std::array<float, 4>> shaded;     // the page's shader's colours
  std::string failure;
};

MesaNumbers RunHelper(const std::string& arguments) {
  MesaNumbers mesa;
  std::FILE* pipe = popen((WEBGL_MESA_REFERENCE " " + arguments).c_str(), "r");
  if (pipe == nullptr) return mesa.failure = "cannot run webgl_mesa_reference", mesa;
  bool readable = true;
  for (char kind = 0; readable && std::fscanf(pipe, " %c", &kind) == 1;) {
    readable = kind == 'M' || kind == 'P' || kind == 'V' || kind == 'C';
    const int n = kind == 'M' ? 32 : kind == 'V' ? 10 : 4;
    float* to = kind == 'M'   ? mesa.matrices.emplace_back().data()
                : kind == 'V' ? mesa.vertices.emplace_back().data()
                : kind == 'C' ? mesa.shaded.emplace_back().data()
                              : mesa.light.data();
    for (int i = 0; i < n && readable; ++i) readable = std::fscanf(pipe, "%f", &to[i]) == 1;
  }
  if (pclose(pipe) != 0 || !readable) mesa.failure = "webgl_mesa_reference failed (its messages are above)";
  return mesa;
}

const MesaNumbers& Mesa() {
  static const MesaNumbers mesa = RunHelper("");
  return mesa;
}

// The page's shader's colours for `vertices` drawn with `state`, on Mesa.
MesaNumbers Shade(const web_gl::DrawState& state, const std::vector<web_gl::Vertex>& vertices) {
  char path[] = "/tmp/webgl_shade_XXXXXX";
  const int fd = mkstemp(path);
  std::FILE* file = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (file == nullptr) return MesaNumbers{{}, {}, {}, {}, "no temporary file"};
  auto write = [file](const float* v, size_t n) {
    for (size_t i = 0; i < n; ++i) std::fprintf(file, "%.9g ", static_cast<double>(v[i]));
  };
  write(state.modelview, web_gl::kObjectFloats);  // the per-instance part, then uScene
  write(state.projection, 56);
  std::fprintf(file, "%zu\n", vertices.size());
  for (const web_gl::Vertex& v : vertices) write(v.position, 8);  // position, normal, texture coordinates
  std::fclose(file);
  MesaNumbers shaded = RunHelper(std::string("shade < ") + path);
  std::remove(path);
  return shaded;
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
  std::vector<web_gl::Vertex> matched;  // ours, in Mesa's order
  double worst[3] = {};                 // position, normal, colour
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
      const web_gl::Vertex& v = matched.emplace_back(d.vertices[d.indices[match + k]]);
      for (size_t r = 0; r < 3; ++r) {
        worst[0] = std::max(worst[0], std::fabs(double{v.position[r]} - mesa[t + k][r]));
        worst[1] = std::max(worst[1], std::fabs(double{v.normal[r]} - mesa[t + k][3 + r]));
      }
    }
  }
  EXPECT_LE(worst[0], 1e-5);
  EXPECT_LE(worst[1], 1e-6);

  const MesaNumbers shaded = Shade(state, matched);
  ASSERT_EQ(shaded.failure, "");
  ASSERT_EQ(shaded.shaded.size(), mesa.size());
  for (size_t i = 0; i < mesa.size(); ++i) {
    for (size_t r = 0; r < 4; ++r) {
      worst[2] = std::max(worst[2], std::fabs(double{shaded.shaded[i][r]} - mesa[i][6 + r]));
    }
  }
  EXPECT_LE(worst[2], 1.0 / 1024);
}

}  // namespace
