#include "opengl.h"
#include "render/render.h"
#include "render/render_internal.h"

void ApplyView(const Camera* camera) {
  glRotatef(camera->pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(camera->turn, 0.0f, 1.0f, 0.0f);
  const ViewTranslation t = ComputeViewTranslation(camera);
  glTranslated(t.x, t.y, t.z);
}
