// Leaving instances out of a draw: only those GL would clip away entirely.
#include <gtest/gtest.h>

#include "cull.h"

namespace {

// 90 degrees wide and high, near 1, far 100: at z = -10 the view spans
// x and y from -10 to 10.
const float kProjection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99, -1, 0, 0, -200.0f / 99, 0};

bool Out(float x, float y, float z, const web_gl::Box& box) {
  const float modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
  return web_gl::OutsideClipVolume(kProjection, modelview, box);
}

TEST(Cull, OnlyBoxesWhollyBeyondOnePlaneAreLeftOut) {
  const web_gl::Box unit{{-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}};
  EXPECT_FALSE(Out(0, 0, -10, unit));
  EXPECT_TRUE(Out(0, 0, 10, unit));     // behind the viewer
  EXPECT_TRUE(Out(20, 0, -10, unit));   // right
  EXPECT_TRUE(Out(0, -20, -10, unit));  // below
  EXPECT_TRUE(Out(0, 0, -200, unit));   // beyond the far plane
  EXPECT_FALSE(Out(-10.4f, 0, -10, unit));  // straddles the left edge
  EXPECT_TRUE(Out(0, 0, 0, unit));          // nearer than the near plane
  EXPECT_FALSE(Out(0, 0, -1, unit));        // straddles it
  // Every corner is beyond some plane, but not all beyond the same one.
  const web_gl::Box wide{{-50, 0, 0}, {50, 1, 1}};
  EXPECT_FALSE(Out(0, 0, -10, wide));
  EXPECT_FALSE(Out(0, 0, -10, web_gl::BoxOf({}, {}, 0, 0)));  // nothing to bound
}

TEST(Cull, TheBoxBoundsOnlyTheIndexedVertices) {
  const std::vector<web_gl::Vertex> vertices = {
      {{9, 9, 9}, {}, {}}, {{1, -2, 3}, {}, {}}, {{-1, 2, 0}, {}, {}}};
  const web_gl::Box box = web_gl::BoxOf(vertices, {0, 1, 2, 1}, 1, 3);
  EXPECT_EQ(box.lo[0], -1);
  EXPECT_EQ(box.lo[1], -2);
  EXPECT_EQ(box.lo[2], 0);
  EXPECT_EQ(box.hi[0], 1);
  EXPECT_EQ(box.hi[1], 2);
  EXPECT_EQ(box.hi[2], 3);
}

}  // namespace
