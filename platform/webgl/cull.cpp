// The software renderers browsers fall back on shade every vertex of every
// instance, seen or not; a scene of many small objects spends most of that
// work on objects off the screen.
#include "cull.h"

#include <algorithm>
#include <cmath>

namespace web_gl {

Box BoxOf(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices,
          std::uint32_t first, std::uint32_t count) {
  Box box{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
  for (std::uint32_t k = first; k < first + count; ++k) {
    const float* p = vertices[indices[k]].position;
    for (int i = 0; i < 3; ++i) {
      box.lo[i] = std::min(box.lo[i], p[i]);
      box.hi[i] = std::max(box.hi[i], p[i]);
    }
  }
  return box;
}

bool OutsideClipVolume(const float* projection, const float* modelview, const Box& box) {
  if (!(box.lo[0] <= box.hi[0])) return false;  // no vertices, or NaN: let GL decide
  double m[16];  // projection * modelview, in double so the test errs only towards drawing
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += double{projection[k * 4 + r]} * modelview[c * 4 + k];
      m[c * 4 + r] = sum;
    }
  }
  // Planes -w <= x, y, z <= w: a bit per plane the corner is beyond; the
  // box is out when one bit is set for all eight corners.
  unsigned allOut = 0x3F;
  for (int corner = 0; corner < 8 && allOut != 0; ++corner) {
    const double p[3] = {(corner & 1) ? box.hi[0] : box.lo[0], (corner & 2) ? box.hi[1] : box.lo[1],
                         (corner & 4) ? box.hi[2] : box.lo[2]};
    double clip[4];
    for (int r = 0; r < 4; ++r) clip[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    const double w = clip[3];
    unsigned out = 0;
    for (int i = 0; i < 3; ++i) {
      // A margin for the GPU's single-precision arithmetic.
      const double slack = 1e-4 * (std::fabs(clip[i]) + std::fabs(w)) + 1e-6;
      if (clip[i] + w < -slack) out |= 1u << (2 * i);
      if (w - clip[i] < -slack) out |= 2u << (2 * i);
    }
    allOut &= out;
  }
  return allOut != 0;  // NaN compares false: such a box is drawn
}

}  // namespace web_gl
