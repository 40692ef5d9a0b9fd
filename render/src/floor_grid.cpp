// Where the floor grid lies for a given camera target.
#include "render/render_internal.h"

std::int32_t SnapToFloorGrid(std::int32_t t) {
  std::int32_t r = t % kFloorSquare;
  if (t < 0) {
    r += kFloorSquare;
  }
  return t - r;
}

FloorOrigin ComputeFloorOrigin(double targetX, double targetZ) {
  const std::int32_t tx = static_cast<std::int32_t>(targetX);
  const std::int32_t tz = static_cast<std::int32_t>(targetZ);
  FloorOrigin origin;
  origin.x = SnapToFloorGrid(tx);
  origin.z = SnapToFloorGrid(tz) + kFloorSquare;
  // The grid's first square (-864, -1536 from the origin: 9 and 16 squares,
  // together odd) must show tile 1 exactly when its world square index sum
  // is even, so the board stays fixed to the world as the grid moves.
  origin.parity = ((origin.z / kFloorSquare) ^ (origin.x / kFloorSquare)) & 1;
  return origin;
}
