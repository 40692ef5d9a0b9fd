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
//
//   webgl_mesa_reference shade < state
// runs the page's vertex shader (webgl_shaders.h) instead, on what stdin
// gives as webgl.cpp feeds it: a run's 32 per-instance floats, its 56 floats
// of uScene, a vertex count and the vertices (position, normal, texture
// coordinates). Prints C <lit colour, 4> for each vertex, from transform
// feedback.
#define GL_GLEXT_PROTOTYPES  // the shader's calls, which Mesa's libOpenGL exports

#include <cstdio>
#include <cstring>
#include <vector>

#include "offscreen_gl.h"
#include "reference_script.h"
#include "webgl_shaders.h"

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

bool Read(float* to, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (std::scanf("%f", &to[i]) != 1) return false;
  }
  return true;
}

int Shade() {
  float object[32], scene[56];
  unsigned count = 0;
  std::vector<float> vertices;
  if (!Read(object, 32) || !Read(scene, 56) || std::scanf("%u", &count) != 1) return 1;
  vertices.resize(count * 8u);
  if (!Read(vertices.data(), vertices.size())) return 1;
  const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
  const char* source = web_gl::kVertexShader;
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  const GLuint program = glCreateProgram();
  glAttachShader(program, shader);
  const char* varying = "vSmooth";
  glTransformFeedbackVaryings(program, 1, &varying, GL_INTERLEAVED_ATTRIBS);
  glLinkProgram(program);
  GLint linked = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) {
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "mesa_reference: the shader did not build: %s\n", log);
    return 1;
  }
  glUseProgram(program);
  glUniform4fv(glGetUniformLocation(program, "uScene"), 14, scene);
  GLuint array = 0, buffers[2] = {};
  glGenVertexArrays(1, &array);
  glBindVertexArray(array);
  glGenBuffers(2, buffers);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
               GL_STATIC_DRAW);
  for (GLuint a = 0; a < 3; ++a) {
    glEnableVertexAttribArray(a);
    glVertexAttribPointer(a, a == 2 ? 2 : 3, GL_FLOAT, GL_FALSE, 8 * sizeof(float),
                          reinterpret_cast<const void*>(a * 3 * sizeof(float)));
  }
  for (GLuint i = 0; i < 8; ++i) glVertexAttrib4fv(3 + i, object + 4 * i);  // one instance
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, buffers[1]);
  glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, static_cast<GLsizeiptr>(count * 4 * sizeof(float)), nullptr,
               GL_STATIC_READ);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffers[1]);
  glEnable(GL_RASTERIZER_DISCARD);
  glBeginTransformFeedback(GL_POINTS);
  glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
  glEndTransformFeedback();
  std::vector<float> colours(count * 4u);
  glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, static_cast<GLsizeiptr>(colours.size() * sizeof(float)),
                     colours.data());
  for (unsigned i = 0; i < count; ++i) Print('C', &colours[i * 4u], 4, "\n");
  return glGetError() == GL_NO_ERROR ? 0 : 1;
}

}  // namespace

// Mesa's software driver leaves an allocation of its feedback path behind
// when the context goes; the leak check of sanitizer builds is about ours.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:swrast_dri.so\n"; }

int main(int argc, char** argv) {
  OffscreenGL gl;
  if (!gl.Create(16, 16)) {
    std::fprintf(stderr, "mesa_reference: %s\n", gl.error().c_str());
    return 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "shade") == 0) return Shade();
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
