// Mesa's numbers for the calls of reference_script.h, for the WebGL layer's
// test to compare its own with. Mesa's software renderer runs offscreen (the
// EGL surfaceless fixture of tests/render). Prints, one line each:
//   M <modelview, 16> <projection, 16>   at each checkpoint, in order
//   P <light position in eye coordinates, 4>
//   V <position, 3> <normal, 3> <lit colour, 4>   each vertex of each
//     triangle GL makes of gluSphere, in GL's order
//
// GLU calls libGL itself, so the sphere's vertices are taken from GL's
// feedback mode: each triangle as the rasteriser would get it. Feedback
// reports window coordinates, a colour and texture coordinates; texture
// coordinate generation puts what is wanted into the latter exactly:
// GL_OBJECT_LINEAR with unit planes gives the object position, GL_NORMAL_MAP
// the eye-space normal, which under an identity modelview is GLU's normal.
// The colour is that of fixed-function lighting (smooth shading: no vertex
// takes another's).
#include <cstdio>
#include <vector>

#include "offscreen_gl.h"
#include "reference_script.h"

namespace {

void Print(char kind, const float* v, int n, const char* end) {
  std::printf("%c", kind);
  for (int i = 0; i < n; ++i) std::printf(" %.9g", static_cast<double>(v[i]));
  std::printf("%s", end);
}

void Checkpoint(const char*) {
  float m[32];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glGetFloatv(GL_PROJECTION_MATRIX, m + 16);
  Print('M', m, 32, "\n");
}

void TexGen(GLint mode) {
  const GLenum coords[3] = {GL_S, GL_T, GL_R};
  for (int i = 0; i < 3; ++i) {
    const GLfloat plane[4] = {i == 0 ? 1.0f : 0.0f, i == 1 ? 1.0f : 0.0f, i == 2 ? 1.0f : 0.0f, 0.0f};
    glTexGeni(coords[i], GL_TEXTURE_GEN_MODE, mode);
    glTexGenfv(coords[i], GL_OBJECT_PLANE, plane);
    glEnable(GL_TEXTURE_GEN_S + i);
  }
}

// The vertices of the triangles `draw` makes, in feedback type
// GL_3D_COLOR_TEXTURE: window x y z, RGBA, STRQ (11 floats each).
template <typename Draw>
std::vector<const GLfloat*> Feedback(std::vector<GLfloat>* buffer, Draw draw) {
  buffer->assign(1 << 20, 0.0f);
  glFeedbackBuffer(static_cast<GLsizei>(buffer->size()), GL_3D_COLOR_TEXTURE, buffer->data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);  // negative on overflow
  std::vector<const GLfloat*> vertices;
  for (GLint i = 0; i + 1 < used; i += 2 + 11 * 3) {
    if ((*buffer)[i] != GL_POLYGON_TOKEN || (*buffer)[i + 1] != 3.0f) return {};
    for (int k = 0; k < 3; ++k) vertices.push_back(&(*buffer)[i + 2 + 11 * k]);
  }
  return vertices;
}

}  // namespace

// Mesa's software driver leaves an allocation of its feedback path behind
// when the context goes; the leak check of sanitizer builds is about ours.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:swrast_dri.so\n"; }

int main() {
  OffscreenGL gl;
  if (!gl.Create(16, 16)) {
    std::fprintf(stderr, "mesa_reference: %s\n", gl.error().c_str());
    return 1;
  }
  reference::MatrixScript(Checkpoint);

  GLUquadric* quadric = gluNewQuadric();
  // Texture coordinates reach feedback only from a unit with a complete texture.
  const GLubyte white[4] = {255, 255, 255, 255};
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  glEnable(GL_TEXTURE_2D);
  std::vector<GLfloat> litBuffer, normalBuffer;
  TexGen(GL_OBJECT_LINEAR);
  const auto lit = Feedback(&litBuffer, [quadric] { reference::LitBall(quadric); });
  float light[4];
  glGetLightfv(GL_LIGHT0, GL_POSITION, light);
  glDisable(GL_LIGHTING);
  glMatrixMode(GL_PROJECTION);  // the whole sphere inside the clip volume
  glLoadIdentity();
  glOrtho(-32, 32, -32, 32, -32, 32);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  TexGen(GL_NORMAL_MAP);
  const auto normals = Feedback(&normalBuffer, [quadric] { reference::Sphere(quadric); });
  gluDeleteQuadric(quadric);
  if (lit.empty() || lit.size() != normals.size() || glGetError() != GL_NO_ERROR) {
    std::fprintf(stderr, "mesa_reference: feedback gave %zu and %zu vertices\n", lit.size(), normals.size());
    return 1;
  }
  Print('P', light, 4, "\n");
  for (size_t i = 0; i < lit.size(); ++i) {
    Print('V', lit[i] + 7, 3, "");
    Print(' ', normals[i] + 7, 3, "");
    Print(' ', lit[i] + 3, 4, "\n");
  }
  return 0;
}
