// What the GL layer handed to WebGL at each flush (fake_webgl.cpp).
#pragma once

#include <map>
#include <vector>

#include "gl_internal.h"

namespace web_gl {

struct RecordedDraw {
  std::vector<Vertex> vertices;
  std::vector<std::uint32_t> indices;
  std::vector<Run> runs;
};

extern std::vector<RecordedDraw> g_draws;

// What WebGL holds of a texture.
struct FakeTexture {
  std::map<GLenum, GLint> parameters;
  std::vector<std::uint8_t> image;
};

extern bool g_lost;  // the context is lost: nothing reaches WebGL
extern std::map<std::uint32_t, FakeTexture> g_textures;

}  // namespace web_gl
