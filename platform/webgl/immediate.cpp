// glBegin / glEnd and the vertex calls: vertices gathered in wasm memory,
// primitives turned into indexed triangles, runs of equal state merged.
//
// Flat shading takes each triangle's colour from its last vertex in WebGL;
// the indices put GL's provoking vertex there: the fourth of a quad, the
// last of a strip's quad, the newest of a fan's or strip's triangle. Both
// triangles of a quad keep its winding, so culling is unchanged.
// Supports: GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUADS,
//   GL_QUAD_STRIP, GL_POLYGON (as a fan: the provoking vertex is the first).
// Lacks: points and lines, glColor inside glBegin (one colour per run).
#include <cstring>

#include "gl_internal.h"

namespace web_gl {

namespace {

// Ends the last run: when its vertices and indices repeat those of the run
// before it (an object drawn again under other matrices or colours), they
// are dropped and the run draws from the earlier copy.
void CloseRun() {
  if (g_gl.runs.empty() || g_gl.runs.back().borrowed) return;
  Run& run = g_gl.runs.back();
  run.indexCount = static_cast<std::uint32_t>(g_gl.indices.size()) - run.firstIndex;
  run.vertexCount = static_cast<std::uint32_t>(g_gl.vertices.size()) - run.firstVertex;
  if (g_gl.runs.size() < 2 || run.indexCount == 0) return;
  const Run& before = g_gl.runs[g_gl.runs.size() - 2];
  if (before.indexCount != run.indexCount || before.vertexCount != run.vertexCount ||
      std::memcmp(&g_gl.vertices[before.firstVertex], &g_gl.vertices[run.firstVertex],
                  run.vertexCount * sizeof(Vertex)) != 0) {
    return;
  }
  for (std::uint32_t k = 0; k < run.indexCount; ++k) {
    if (g_gl.indices[run.firstIndex + k] - run.firstVertex !=
        g_gl.indices[before.firstIndex + k] - before.firstVertex) {
      return;
    }
  }
  g_gl.vertices.resize(run.firstVertex);
  g_gl.indices.resize(run.firstIndex);
  run.firstIndex = before.firstIndex;
  run.firstVertex = before.firstVertex;
}

// The run the next geometry joins: the open one while nothing it depends
// on has changed (and it has room for more), else a new one.
Run& OpenRun() {
  if (!g_gl.runs.empty() && !g_gl.stateDirty && !g_gl.runs.back().borrowed) {
    return g_gl.runs.back();
  }
  DrawState state;
  if (g_gl.stateDirty || g_gl.runs.empty()) {
    CaptureState(&state);
    g_gl.stateDirty = false;
  } else {
    state = g_gl.runs.back().state;
  }
  if (g_gl.runs.empty() || g_gl.runs.back().borrowed ||
      std::memcmp(&g_gl.runs.back().state, &state, sizeof(state)) != 0) {
    CloseRun();
    g_gl.runs.push_back(Run{state, static_cast<std::uint32_t>(g_gl.indices.size()), 0,
                            static_cast<std::uint32_t>(g_gl.vertices.size()), 0, 0, false});
  }
  return g_gl.runs.back();
}

}  // namespace

void PrimitiveIndices(GLenum mode, std::uint32_t first, std::uint32_t n,
                      std::vector<std::uint32_t>* out) {
  auto Triangle = [out](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    out->push_back(a);
    out->push_back(b);
    out->push_back(c);
  };
  switch (mode) {
    case GL_TRIANGLES:
      for (std::uint32_t i = 0; i + 3 <= n; i += 3) Triangle(first + i, first + i + 1, first + i + 2);
      break;
    case GL_TRIANGLE_STRIP:
      for (std::uint32_t i = 0; i + 3 <= n; ++i) {
        if (i % 2 == 0) {
          Triangle(first + i, first + i + 1, first + i + 2);
        } else {
          Triangle(first + i + 1, first + i, first + i + 2);
        }
      }
      break;
    case GL_TRIANGLE_FAN:
      for (std::uint32_t i = 1; i + 2 <= n; ++i) Triangle(first, first + i, first + i + 1);
      break;
    case GL_POLYGON:
      for (std::uint32_t i = 1; i + 2 <= n; ++i) Triangle(first + i, first + i + 1, first);
      break;
    case GL_QUADS:
      for (std::uint32_t i = 0; i + 4 <= n; i += 4) {
        const std::uint32_t a = first + i, b = a + 1, c = a + 2, d = a + 3;
        Triangle(a, b, d);
        Triangle(b, c, d);
      }
      break;
    case GL_QUAD_STRIP:
      // Quad k is v2k, v2k+1, v2k+3, v2k+2 in order; v2k+3 provokes.
      for (std::uint32_t i = 0; i + 4 <= n; i += 2) {
        const std::uint32_t a = first + i, b = a + 1, c = a + 3, d = a + 2;
        Triangle(a, b, c);
        Triangle(d, a, c);
      }
      break;
    default:
      break;
  }
}

}  // namespace web_gl

using web_gl::g_gl;

extern "C" void glBegin(GLenum mode) {
  if (g_gl.inBegin) return web_gl::SetError(GL_INVALID_OPERATION);
  if (mode != GL_TRIANGLES && mode != GL_TRIANGLE_STRIP && mode != GL_TRIANGLE_FAN &&
      mode != GL_QUADS && mode != GL_QUAD_STRIP && mode != GL_POLYGON) {
    return web_gl::SetError(GL_INVALID_ENUM);
  }
  web_gl::OpenRun().mesh = 0;
  g_gl.inBegin = true;
  g_gl.primitive = mode;
  g_gl.primitiveStart = static_cast<std::uint32_t>(g_gl.vertices.size());
}

extern "C" void glEnd(void) {
  if (!g_gl.inBegin) return web_gl::SetError(GL_INVALID_OPERATION);
  g_gl.inBegin = false;
  web_gl::PrimitiveIndices(g_gl.primitive, g_gl.primitiveStart,
                           static_cast<std::uint32_t>(g_gl.vertices.size()) - g_gl.primitiveStart,
                           &g_gl.indices);
}

extern "C" void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  g_gl.normal[0] = x;
  g_gl.normal[1] = y;
  g_gl.normal[2] = z;
}

extern "C" void glTexCoord2f(GLfloat s, GLfloat t) {
  g_gl.texCoord[0] = s;
  g_gl.texCoord[1] = t;
}

extern "C" void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  if (!g_gl.inBegin) return;  // GL: undefined outside glBegin; ignored here
  g_gl.vertices.push_back(web_gl::Vertex{{x, y, z},
                                         {g_gl.normal[0], g_gl.normal[1], g_gl.normal[2]},
                                         {g_gl.texCoord[0], g_gl.texCoord[1]}});
}

extern "C" void glVertex3i(GLint x, GLint y, GLint z) {
  glVertex3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

namespace web_gl {

void DrawMesh(std::uint32_t id, const std::vector<Vertex>& vertices,
              const std::vector<std::uint32_t>& indices) {
  if (g_gl.inBegin) return SetError(GL_INVALID_OPERATION);
  Run& run = OpenRun();
  const bool empty = run.firstVertex == g_gl.vertices.size() && run.firstIndex == g_gl.indices.size();
  if (empty && g_gl.runs.size() >= 2) {
    const Run& before = g_gl.runs[g_gl.runs.size() - 2];
    if (before.mesh == id) {
      // The same mesh as the run before: draw from its copy.
      run.firstIndex = before.firstIndex;
      run.indexCount = before.indexCount;
      run.firstVertex = before.firstVertex;
      run.vertexCount = before.vertexCount;
      run.mesh = id;
      run.borrowed = true;
      return;
    }
  }
  const std::uint32_t base = static_cast<std::uint32_t>(g_gl.vertices.size());
  g_gl.vertices.insert(g_gl.vertices.end(), vertices.begin(), vertices.end());
  g_gl.indices.reserve(g_gl.indices.size() + indices.size());
  for (std::uint32_t index : indices) g_gl.indices.push_back(base + index);
  run.mesh = empty ? id : 0;
}

void Flush() {
  if (g_gl.inBegin) return;
  CloseRun();
  if (!g_gl.runs.empty() && WebGlReady()) {
    WebGlDraw(g_gl.vertices, g_gl.indices, g_gl.runs);
  }
  g_gl.vertices.clear();
  g_gl.indices.clear();
  g_gl.runs.clear();
}

}  // namespace web_gl
