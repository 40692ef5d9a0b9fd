// Leaving out of a draw the instances that cannot reach the screen (not a
// public header).
#pragma once

#include <cstdint>
#include <vector>

#include "gl_internal.h"

namespace web_gl {

struct Box {
  float lo[3];
  float hi[3];
};

// The object-space box around the vertices `count` indices from `first` use.
Box BoxOf(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices,
          std::uint32_t first, std::uint32_t count);

// True when, under projection * modelview (column-major), the whole box lies
// beyond one plane of the clip volume: GL would clip away everything drawn
// inside it, so leaving it out changes no pixel.
bool OutsideClipVolume(const float* projection, const float* modelview, const Box& box);

}  // namespace web_gl
