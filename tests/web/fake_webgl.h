// What the GL layer handed to WebGL at each flush (fake_webgl.cpp).
#pragma once

#include <vector>

#include "gl_internal.h"

namespace web_gl {

struct RecordedDraw {
  std::vector<Vertex> vertices;
  std::vector<std::uint32_t> indices;
  std::vector<Run> runs;
};

extern std::vector<RecordedDraw> g_draws;

}  // namespace web_gl
