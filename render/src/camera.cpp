#include "render/camera.h"

#include <cmath>
#include <cstring>

namespace {
// 3.1415 / 180 in single precision (bit pattern 0x3C8EF921): slightly less
// than pi / 180, and the angle every orbit is computed with.
float DegreesToRadians() {
  const unsigned int bits = 0x3C8EF921u;
  float k;
  std::memcpy(&k, &bits, sizeof k);
  return k;
}
}  // namespace

void SetOrbit(Camera* camera, float pitch, float distance) {
  if (pitch == 0.0f) {
    camera->height = 0.0f;
    camera->backDistance = distance;
  } else if (pitch == 90.0f) {
    camera->height = distance;
    camera->backDistance = 0.0f;
  } else {
    const float angle = pitch * DegreesToRadians();
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    const float cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    camera->height = sine * distance;
    camera->backDistance = cosine * distance;
  }
  camera->pitch = pitch;
}

void Follow(Camera* camera, float x, float z) {
  camera->targetX = static_cast<double>(x);
  camera->targetY = 0.0;
  camera->targetZ = static_cast<double>(z);
}
