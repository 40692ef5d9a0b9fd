// The WebGL 2 side: the canvas's context, the one shader (webgl_shaders.h)
// that does the fixed-function work the program uses, and the draws.
//
// Consecutive runs that draw the same vertices under the same state but for
// the object's matrices and emission (the same sphere at other places, in
// other colours) become one instanced draw: those three come per instance.
// A frame of the program is then a handful of WebGL calls. Instances wholly
// outside the clip volume are left out (cull.cpp).
//
// The canvas is opaque (no alpha channel): the clear colour's alpha never
// lets the page show through.
#include <emscripten/html5.h>

#include <cstring>

#include "cull.h"
#include "gl_internal.h"
#include "webgl_shaders.h"

// Emscripten's WebGL bindings under their second names, as ours take the
// plain GL names.
extern "C" {
GLuint emscripten_glCreateShader(GLenum);
void emscripten_glShaderSource(GLuint, GLsizei, const char* const*, const GLint*);
void emscripten_glCompileShader(GLuint);
void emscripten_glGetShaderiv(GLuint, GLenum, GLint*);
void emscripten_glGetShaderInfoLog(GLuint, GLsizei, GLsizei*, char*);
GLuint emscripten_glCreateProgram(void);
void emscripten_glAttachShader(GLuint, GLuint);
void emscripten_glBindAttribLocation(GLuint, GLuint, const char*);
void emscripten_glLinkProgram(GLuint);
void emscripten_glGetProgramiv(GLuint, GLenum, GLint*);
void emscripten_glUseProgram(GLuint);
GLint emscripten_glGetUniformLocation(GLuint, const char*);
void emscripten_glUniform4fv(GLint, GLsizei, const GLfloat*);
void emscripten_glUniform1i(GLint, GLint);
void emscripten_glGenBuffers(GLsizei, GLuint*);
void emscripten_glBindBuffer(GLenum, GLuint);
void emscripten_glBufferData(GLenum, GLsizeiptr, const void*, GLenum);
void emscripten_glEnableVertexAttribArray(GLuint);
void emscripten_glVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
void emscripten_glDrawElementsInstanced(GLenum, GLsizei, GLenum, const void*, GLsizei);
void emscripten_glVertexAttribDivisor(GLuint, GLuint);
void emscripten_glEnable(GLenum);
void emscripten_glDisable(GLenum);
void emscripten_glDepthFunc(GLenum);
void emscripten_glClearColor(GLfloat, GLfloat, GLfloat, GLfloat);
void emscripten_glClearDepthf(GLfloat);
void emscripten_glClear(GLbitfield);
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei);
void emscripten_glGenTextures(GLsizei, GLuint*);
void emscripten_glDeleteTextures(GLsizei, const GLuint*);
void emscripten_glBindTexture(GLenum, GLuint);
void emscripten_glTexParameteri(GLenum, GLenum, GLint);
void emscripten_glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const void*);
void emscripten_glPixelStorei(GLenum, GLint);
}

#ifndef GL_STREAM_DRAW
#define GL_STREAM_DRAW 0x88E0
#define GL_ARRAY_BUFFER 0x8892
#define GL_ELEMENT_ARRAY_BUFFER 0x8893
#define GL_VERTEX_SHADER 0x8B31
#define GL_FRAGMENT_SHADER 0x8B30
#define GL_COMPILE_STATUS 0x8B81
#define GL_LINK_STATUS 0x8B82
#endif

namespace {

struct WebGl {
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context;
  GLuint program;
  GLuint vertexBuffer;
  GLuint indexBuffer;
  GLuint instanceBuffer;
  GLint sceneLocation;
  GLint fragmentLocation;
  // What WebGL has now, so unchanged state is not sent again.
  float scene[56];
  float fragment[4];
  GLuint texture;
  int depthTest;
  int cullFace;
  GLenum depthFunc;
  bool known;  // the cached values above are valid
  bool lost;   // the browser took the context away; calls are absorbed
  GLint viewport[4];  // the program's, sent again after a restore
  bool viewportSet;
};

WebGl g_webgl;
bool g_unavailable = false;  // the browser gave no WebGL 2 context

GLuint Compile(GLenum type, const char* source) {
  const GLuint shader = emscripten_glCreateShader(type);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  GLint ok = 0;
  emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[512] = {};
    emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    emscripten_log(EM_LOG_ERROR, "shader: %s", log);
    return 0;
  }
  return shader;
}

bool BuildProgram() {
  const GLuint vertex = Compile(GL_VERTEX_SHADER, web_gl::kVertexShader);
  const GLuint fragment = Compile(GL_FRAGMENT_SHADER, web_gl::kFragmentShader);
  if (vertex == 0 || fragment == 0) return false;
  const GLuint program = emscripten_glCreateProgram();
  emscripten_glAttachShader(program, vertex);
  emscripten_glAttachShader(program, fragment);
  emscripten_glLinkProgram(program);
  GLint ok = 0;
  emscripten_glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) return false;
  g_webgl.program = program;
  emscripten_glUseProgram(program);
  g_webgl.sceneLocation = emscripten_glGetUniformLocation(program, "uScene");
  g_webgl.fragmentLocation = emscripten_glGetUniformLocation(program, "uFragment");
  emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "uTexture"), 0);
  emscripten_glGenBuffers(1, &g_webgl.vertexBuffer);
  emscripten_glGenBuffers(1, &g_webgl.indexBuffer);
  emscripten_glGenBuffers(1, &g_webgl.instanceBuffer);
  for (GLuint i = 0; i < 8; ++i) {
    emscripten_glEnableVertexAttribArray(3 + i);
    emscripten_glVertexAttribDivisor(3 + i, 1);
  }
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, g_webgl.vertexBuffer);
  emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g_webgl.indexBuffer);
  const GLsizei stride = sizeof(web_gl::Vertex);
  emscripten_glEnableVertexAttribArray(0);
  emscripten_glEnableVertexAttribArray(1);
  emscripten_glEnableVertexAttribArray(2);
  emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                                   reinterpret_cast<const void*>(offsetof(web_gl::Vertex, position)));
  emscripten_glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                                   reinterpret_cast<const void*>(offsetof(web_gl::Vertex, normal)));
  emscripten_glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                                   reinterpret_cast<const void*>(offsetof(web_gl::Vertex, texCoord)));
  emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  emscripten_glEnable(GL_CULL_FACE);  // toggled per run; back faces, CCW front as GL's defaults
  return true;
}

void SetCapability(GLenum cap, int wanted, int* have) {
  if (g_webgl.known && *have == wanted) return;
  if (wanted) {
    emscripten_glEnable(cap);
  } else {
    emscripten_glDisable(cap);
  }
  *have = wanted;
}

}  // namespace

namespace web_gl {

bool WebGlReady() { return g_webgl.context > 0 && g_webgl.program != 0 && !g_webgl.lost; }

bool WebGlLost() { return g_webgl.context > 0 && g_webgl.lost; }

void WebGlResetState() { g_webgl.known = false; }

namespace {

// Same vertices, same state but for the per-instance part.
bool Joins(const Run& a, const Run& b) {
  return a.firstIndex == b.firstIndex && a.indexCount == b.indexCount &&
         std::memcmp(a.state.projection, b.state.projection,
                     sizeof(DrawState) - offsetof(DrawState, projection)) == 0;
}

std::vector<float> g_instances;

// A draw of consecutive runs that join: `count` of them are seen, their
// per-instance data from `base` (floats) in the instance buffer.
struct Group {
  size_t firstRun;
  size_t base;
  size_t count;
};

std::vector<Group> g_groups;

}  // namespace

void WebGlDraw(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices,
               const std::vector<Run>& runs) {
  g_instances.clear();
  g_groups.clear();
  for (size_t first = 0; first < runs.size();) {
    size_t end = first + 1;
    while (end < runs.size() && Joins(runs[first], runs[end])) ++end;
    const Run& run = runs[first];
    if (run.indexCount != 0) {
      const Box box = BoxOf(vertices, indices, run.firstIndex, run.indexCount);
      Group group{first, g_instances.size(), 0};
      for (size_t k = first; k < end; ++k) {
        const DrawState& s = runs[k].state;
        if (OutsideClipVolume(s.projection, s.modelview, box)) continue;
        g_instances.insert(g_instances.end(), s.modelview, s.modelview + kObjectFloats);
        ++group.count;
      }
      if (group.count != 0) g_groups.push_back(group);
    }
    first = end;
  }
  if (g_groups.empty()) return;
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, g_webgl.instanceBuffer);
  emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(g_instances.size() * sizeof(float)),
                          g_instances.data(), GL_STREAM_DRAW);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, g_webgl.vertexBuffer);
  emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                          vertices.data(), GL_STREAM_DRAW);
  emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                          static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                          indices.data(), GL_STREAM_DRAW);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, g_webgl.instanceBuffer);
  for (const Group& group : g_groups) {
    const Run& run = runs[group.firstRun];
    const DrawState& s = run.state;
    const float* scene = s.projection;
    if (!g_webgl.known || std::memcmp(g_webgl.scene, scene, sizeof g_webgl.scene) != 0) {
      std::memcpy(g_webgl.scene, scene, sizeof g_webgl.scene);
      emscripten_glUniform4fv(g_webgl.sceneLocation, 14, scene);
    }
    const float fragment[4] = {s.flags[3], s.flags[2], 0.0f, 0.0f};
    if (!g_webgl.known || std::memcmp(g_webgl.fragment, fragment, sizeof fragment) != 0) {
      std::memcpy(g_webgl.fragment, fragment, sizeof fragment);
      emscripten_glUniform4fv(g_webgl.fragmentLocation, 1, fragment);
    }
    if (s.texture != 0 && (!g_webgl.known || g_webgl.texture != s.texture)) {
      emscripten_glBindTexture(GL_TEXTURE_2D, s.texture);
      g_webgl.texture = s.texture;
    }
    SetCapability(GL_DEPTH_TEST, static_cast<int>(s.depthTest), &g_webgl.depthTest);
    SetCapability(GL_CULL_FACE, static_cast<int>(s.cullFace), &g_webgl.cullFace);
    if (!g_webgl.known || g_webgl.depthFunc != s.depthFunc) {
      emscripten_glDepthFunc(s.depthFunc);
      g_webgl.depthFunc = s.depthFunc;
    }
    g_webgl.known = true;
    const std::uintptr_t base = group.base * sizeof(float);
    for (GLuint i = 0; i < 8; ++i) {
      emscripten_glVertexAttribPointer(3 + i, 4, GL_FLOAT, GL_FALSE, kObjectFloats * sizeof(float),
                                       reinterpret_cast<const void*>(base + i * 4 * sizeof(float)));
    }
    emscripten_glDrawElementsInstanced(
        GL_TRIANGLES, static_cast<GLsizei>(run.indexCount), GL_UNSIGNED_INT,
        reinterpret_cast<const void*>(static_cast<std::uintptr_t>(run.firstIndex) * 4u),
        static_cast<GLsizei>(group.count));
  }
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, g_webgl.vertexBuffer);
}

void WebGlClear(GLbitfield mask, const float* colour, float depth) {
  if (!WebGlReady()) return;
  emscripten_glClearColor(colour[0], colour[1], colour[2], colour[3]);
  emscripten_glClearDepthf(depth);
  emscripten_glClear(mask & static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void WebGlViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  g_webgl.viewport[0] = x;
  g_webgl.viewport[1] = y;
  g_webgl.viewport[2] = width;
  g_webgl.viewport[3] = height;
  g_webgl.viewportSet = true;
  if (WebGlReady()) emscripten_glViewport(x, y, width, height);
}

std::uint32_t WebGlNewTexture() {
  if (!WebGlReady()) return 0;
  GLuint texture = 0;
  emscripten_glGenTextures(1, &texture);
  return texture;
}

void WebGlDeleteTexture(std::uint32_t texture) {
  if (!WebGlReady() || texture == 0) return;
  emscripten_glDeleteTextures(1, &texture);
  if (g_webgl.texture == texture) g_webgl.texture = 0;
}

void WebGlTexParameter(std::uint32_t texture, GLenum name, GLint value) {
  if (!WebGlReady() || texture == 0) return;
  emscripten_glBindTexture(GL_TEXTURE_2D, texture);
  g_webgl.texture = texture;
  emscripten_glTexParameteri(GL_TEXTURE_2D, name, value);
}

void WebGlTexImage(std::uint32_t texture, GLsizei width, GLsizei height, const void* pixels) {
  if (!WebGlReady() || texture == 0) return;
  emscripten_glBindTexture(GL_TEXTURE_2D, texture);
  g_webgl.texture = texture;
  emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                          pixels);
}

}  // namespace web_gl

bool WebGlCreateContext() {
  if (g_webgl.context > 0) return true;
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.premultipliedAlpha = EM_FALSE;
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0) {
    g_unavailable = true;
    return false;
  }
  emscripten_webgl_make_context_current(context);
  g_webgl.context = context;
  if (!BuildProgram()) {
    g_webgl.program = 0;
    return false;
  }
  return true;
}

void WebGlResetContext() {
  web_gl::ResetState();
  web_gl::Flush();
}

void WebGlFlushFrame() { web_gl::Flush(); }

bool WebGlUnavailable() { return g_unavailable; }

void WebGlContextLost() {
  if (g_webgl.context > 0) g_webgl.lost = true;
}

bool WebGlContextRestored() {
  if (g_webgl.context <= 0) return false;
  // Everything the lost context held is gone: the program, the buffers and
  // every piece of state sent to it.
  g_webgl.lost = false;
  g_webgl.known = false;
  g_webgl.texture = 0;
  emscripten_webgl_make_context_current(g_webgl.context);
  if (!BuildProgram()) {
    g_webgl.program = 0;
    return false;
  }
  if (g_webgl.viewportSet) {
    emscripten_glViewport(g_webgl.viewport[0], g_webgl.viewport[1], g_webgl.viewport[2],
                          g_webgl.viewport[3]);
  }
  web_gl::RestoreTextures();
  return true;
}
