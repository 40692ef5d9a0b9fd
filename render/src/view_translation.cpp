// The eye's offset from the target, as ApplyView translates by it.
#include <cmath>

#include "render/render_internal.h"

ViewTranslation ComputeViewTranslation(const Camera* camera) {
  const float back = camera->backDistance;
  const float s = static_cast<float>(std::sin(-camera->heading) * static_cast<double>(back));
  const float c = static_cast<float>(std::cos(-camera->heading) * static_cast<double>(back));
  ViewTranslation t;
  t.x = -camera->targetX - static_cast<double>(s);
  t.y = -(static_cast<double>(camera->height) + camera->targetY);
  t.z = -camera->targetZ - static_cast<double>(c);
  return t;
}
