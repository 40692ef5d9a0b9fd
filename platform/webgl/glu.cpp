// GLU as the program calls it: the perspective projection and solid
// spheres from quadric objects.
//
// gluSphere draws as the desktop GLU does with its default quadric (filled,
// smooth normals, outside, no texture coordinates): the sphere is centred
// on the origin around the z axis; slice i lies at angle 2*pi*i/slices from
// +y towards +x, stack j at angle pi*j/stacks down from +z. Each point's
// normal is its unit direction. The two polar caps are triangle fans about
// the poles, the stacks between them quad strips, in the order and winding
// (counter-clockwise seen from outside) that decide which vertex gives a
// flat-shaded face its colour.
// Lacks: the other quadric shapes and draw styles, texture coordinates,
//   inside orientation.
#include <cmath>
#include <new>
#include <vector>

#include "gl_internal.h"

struct GLUquadric {
  // The default state is all the program uses: nothing to keep.
  int unused;
};

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

extern "C" void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  const double radians = fovy / 2.0 * kPi / 180.0;
  const double depth = zFar - zNear;
  const double sine = std::sin(radians);
  if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return;
  const double f = std::cos(radians) / sine;
  const GLdouble m[16] = {f / aspect, 0, 0, 0,
                          0, f, 0, 0,
                          0, 0, -(zFar + zNear) / depth, -1,
                          0, 0, -2.0 * zNear * zFar / depth, 0};
  glMultMatrixd(m);
}

extern "C" GLUquadric* gluNewQuadric(void) { return new (std::nothrow) GLUquadric{0}; }

extern "C" void gluDeleteQuadric(GLUquadric* quadric) { delete quadric; }

namespace {

// A sphere's triangles as GL would make them from the calls below, kept for
// the next call with the same size: a frame draws the same sphere hundreds
// of times, and the batch then draws every copy from one.
struct SphereMesh {
  GLdouble radius;
  GLint slices;
  GLint stacks;
  std::uint32_t id;
  std::vector<web_gl::Vertex> vertices;
  std::vector<std::uint32_t> indices;
};

// Records glBegin / glNormal3f / glVertex3f / glEnd into a mesh.
class MeshBuilder {
 public:
  explicit MeshBuilder(SphereMesh* mesh) : mesh_(mesh) {}
  void Begin(GLenum mode) {
    mode_ = mode;
    first_ = static_cast<std::uint32_t>(mesh_->vertices.size());
  }
  void Normal(float x, float y, float z) {
    normal_[0] = x;
    normal_[1] = y;
    normal_[2] = z;
  }
  void Vertex(float x, float y, float z) {
    mesh_->vertices.push_back(web_gl::Vertex{{x, y, z}, {normal_[0], normal_[1], normal_[2]}, {0, 0}});
  }
  void End() {
    web_gl::PrimitiveIndices(mode_, first_, static_cast<std::uint32_t>(mesh_->vertices.size()) - first_,
                             &mesh_->indices);
  }

 private:
  SphereMesh* mesh_;
  GLenum mode_ = GL_TRIANGLES;
  std::uint32_t first_ = 0;
  float normal_[3] = {0, 0, 1};
};

void BuildSphere(SphereMesh* mesh) {
  const GLint slices = mesh->slices;
  const GLint stacks = mesh->stacks;
  const float r = static_cast<float>(mesh->radius);
  // Around (slices + 1 entries, the last equal to the first, so the seam
  // closes exactly).
  std::vector<float> sinA(static_cast<size_t>(slices) + 1), cosA(static_cast<size_t>(slices) + 1);
  for (GLint i = 0; i < slices; ++i) {
    const float angle = static_cast<float>(2.0 * kPi * i / slices);
    sinA[static_cast<size_t>(i)] = std::sin(angle);
    cosA[static_cast<size_t>(i)] = std::cos(angle);
  }
  sinA[static_cast<size_t>(slices)] = sinA[0];
  cosA[static_cast<size_t>(slices)] = cosA[0];
  // Down from the pole at +z (sinB 0 at both poles).
  std::vector<float> sinB(static_cast<size_t>(stacks) + 1), cosB(static_cast<size_t>(stacks) + 1);
  for (GLint j = 0; j <= stacks; ++j) {
    const float angle = static_cast<float>(kPi * j / stacks);
    sinB[static_cast<size_t>(j)] = std::sin(angle);
    cosB[static_cast<size_t>(j)] = std::cos(angle);
  }
  sinB[0] = 0.0f;
  sinB[static_cast<size_t>(stacks)] = 0.0f;

  MeshBuilder gl(mesh);
  auto point = [&](GLint i, GLint j) {
    const float s = sinB[static_cast<size_t>(j)];
    const float nz = cosB[static_cast<size_t>(j)];
    gl.Normal(sinA[static_cast<size_t>(i)] * s, cosA[static_cast<size_t>(i)] * s, nz);
    gl.Vertex(r * s * sinA[static_cast<size_t>(i)], r * s * cosA[static_cast<size_t>(i)], r * nz);
  };

  // Top cap: the pole, then the first ring going round clockwise in angle
  // (counter-clockwise seen from above).
  gl.Normal(0.0f, 0.0f, 1.0f);
  gl.Begin(GL_TRIANGLE_FAN);
  gl.Vertex(0.0f, 0.0f, r);
  for (GLint i = slices; i >= 0; --i) point(i, 1);
  gl.End();

  // Bottom cap: the pole, then the last ring the other way round.
  gl.Normal(0.0f, 0.0f, -1.0f);
  gl.Begin(GL_TRIANGLE_FAN);
  gl.Vertex(0.0f, 0.0f, -r);
  for (GLint i = 0; i <= slices; ++i) point(i, stacks - 1);
  gl.End();

  // The stacks between: each strip pairs the lower ring's point with the
  // upper ring's, lower first.
  for (GLint j = 1; j < stacks - 1; ++j) {
    gl.Begin(GL_QUAD_STRIP);
    for (GLint i = 0; i <= slices; ++i) {
      point(i, j + 1);
      point(i, j);
    }
    gl.End();
  }
}

std::vector<SphereMesh> g_spheres;

}  // namespace

extern "C" void gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
  if (slices < 2 || stacks < 1 || radius < 0.0) return web_gl::SetError(GL_INVALID_VALUE);
  if (quadric == nullptr) return;
  if (stacks < 2) stacks = 2;  // a cap each, at least
  for (const SphereMesh& mesh : g_spheres) {
    if (mesh.radius == radius && mesh.slices == slices && mesh.stacks == stacks) {
      return web_gl::DrawMesh(mesh.id, mesh.vertices, mesh.indices);
    }
  }
  if (g_spheres.size() >= 16) g_spheres.erase(g_spheres.begin());  // a bounded cache
  static std::uint32_t nextId = 0;
  g_spheres.push_back(SphereMesh{radius, slices, stacks, ++nextId, {}, {}});
  BuildSphere(&g_spheres.back());
  web_gl::DrawMesh(g_spheres.back().id, g_spheres.back().vertices, g_spheres.back().indices);
}
