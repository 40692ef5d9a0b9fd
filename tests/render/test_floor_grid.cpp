// Where the floor grid lies and which tile each square shows, without GL.
#include <gtest/gtest.h>

#include "render/render_internal.h"

namespace {
TEST(FloorGrid, OriginSnapsTruncatedTargetsToTheGrid) {
  struct Case {
    double target;
    std::int32_t x;
  };
  const Case cases[] = {{0.0, 0},     {-0.5, 0},   {-95.5, -96}, {-96.0, -192},
                        {95.9, 0},    {96.0, 96},  {-97.0, -192}, {-191.9, -192},
                        {-192.0, -288}, {1000.0, 960}};
  for (const Case& c : cases) {
    const FloorOrigin origin = ComputeFloorOrigin(c.target, c.target);
    EXPECT_EQ(origin.x, c.x) << "target " << c.target;
    EXPECT_EQ(origin.z, c.x + 96) << "target " << c.target;
  }
  EXPECT_EQ(ComputeFloorOrigin(0.0, -96.0).z, -96);
  EXPECT_EQ(ComputeFloorOrigin(0.0, -95.5).z, 0);
  EXPECT_EQ(ComputeFloorOrigin(0.0, 0.0).parity, 1);
}

// Walks the squares the floor emits, in its order, and reports the world
// square index (a, b) and the tile of each.
template <typename Visit>
void ForEachSquare(const FloorOrigin& origin, Visit visit) {
  int parity = origin.parity;
  for (int z = -1536; z < 672; z += 96) {
    for (int x = -864; x < 960; x += 96) {
      visit((origin.x + x) / 96, (origin.z + z) / 96, parity);
      parity = 1 - parity;
    }
  }
}

TEST(FloorGrid, CheckerboardStaysFixedToTheWorld) {
  int squares = 0;
  for (double tx = -1500.0; tx <= 1500.0; tx += 37.25) {
    for (double tz = -1500.0; tz <= 1500.0; tz += 41.5) {
      const FloorOrigin origin = ComputeFloorOrigin(tx, tz);
      ForEachSquare(origin, [&](int a, int b, int tile) {
        ++squares;
        ASSERT_EQ(tile, ((a + b) % 2 == 0) ? 1 : 0)
            << "square (" << a << "," << b << ") for target " << tx << "," << tz;
      });
    }
  }
  EXPECT_GT(squares, 437 * 1000);
}

TEST(FloorGrid, CoversNineSquaresAsideFifteenAheadSevenBehind) {
  const double targets[][2] = {{0, 0}, {-96, -96}, {-0.5, 95.9}, {500.25, -733.5}};
  for (const auto& t : targets) {
    const FloorOrigin origin = ComputeFloorOrigin(t[0], t[1]);
    const int a0 = SnapToFloorGrid(static_cast<std::int32_t>(t[0])) / 96;
    const int b0 = SnapToFloorGrid(static_cast<std::int32_t>(t[1])) / 96;
    int minA = 1 << 30, maxA = -(1 << 30), minB = 1 << 30, maxB = -(1 << 30), count = 0;
    ForEachSquare(origin, [&](int a, int b, int) {
      minA = std::min(minA, a);
      maxA = std::max(maxA, a);
      minB = std::min(minB, b);
      maxB = std::max(maxB, b);
      ++count;
    });
    EXPECT_EQ(count, 437);
    EXPECT_EQ(a0 - minA, 9);
    EXPECT_EQ(maxA - a0, 9);
    EXPECT_EQ(b0 - minB, 15);  // ahead: towards -z
    EXPECT_EQ(maxB - b0, 7);
  }
}
}  // namespace
