// The GL objects a frame needs, made per GL context.
#include "config/colour_settings.h"
#include "opengl.h"
#include "render/render.h"
#include "render/render_internal.h"
#include "sim/scene.h"

namespace {
// The image needs only kFloorImageBytes; the scratch block is larger.
constexpr SIZE_T kScratchBytes = 0x80000;
static_assert(kScratchBytes >= static_cast<SIZE_T>(kFloorImageBytes), "image fits the scratch");
}  // namespace

HRESULT CreateRenderResources(Scene* scene) {
  if (scene->textureName != 0) {
    glDeleteTextures(1, &scene->textureName);
    scene->textureName = 0;
  }
  glGenTextures(1, &scene->textureName);
  if (glGetError() != GL_NO_ERROR) {
    return E_FAIL;
  }
  glBindTexture(GL_TEXTURE_2D, scene->textureName);
  if (glGetError() != GL_NO_ERROR) {
    return E_FAIL;
  }

  void* scratch = HeapAlloc(GetProcessHeap(), 0, kScratchBytes);
  if (scratch == nullptr) {
    return E_OUTOFMEMORY;
  }
  std::uint8_t* image = static_cast<std::uint8_t*>(scratch);
  BuildFloorImage(g_colourSettings.colours, image);

  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kFloorImageSide, kFloorImageSide, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, image);
  if (glGetError() != GL_NO_ERROR) {
    HeapFree(GetProcessHeap(), 0, scratch);
    return E_FAIL;
  }

  FillMaterialColours(g_colourSettings.colours, scene->materialColourPtrs);

  if (scene->quadric != nullptr) {
    gluDeleteQuadric(scene->quadric);
  }
  scene->quadric = gluNewQuadric();
  const HRESULT result = scene->quadric != nullptr ? S_OK : E_FAIL;

  HeapFree(GetProcessHeap(), 0, scratch);
  return result;
}

void ReleaseRenderResources(Scene* scene) {
  if (scene->quadric != nullptr) {
    gluDeleteQuadric(scene->quadric);
    scene->quadric = nullptr;
  }
  if (scene->textureName != 0) {
    glDeleteTextures(1, &scene->textureName);
    scene->textureName = 0;
  }
  DeleteColourObjects();
}
