// Draws the game's first frame natively, for the browser check to compare
// the page's with: the scene as the game starts it at a given tick, in a
// 640 x 480 offscreen context set up as the OpenGL window sets its own (the
// harness of tests/render), then the frame the window paints before any
// update. Writes a binary PPM, rows top to bottom.
//   web_native_frame <tick> <out.ppm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "offscreen_gl.h"
#include "opengl.h"
#include "render/render.h"
#include "sim/scene.h"
#include "sim/seams.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
DWORD g_tick = 0;
DWORD FixedTick() { return g_tick; }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: web_native_frame <tick> <out.ppm>\n");
    return 2;
  }
  g_tick = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
  OffscreenGL gl;
  if (!gl.Create(kWidth, kHeight)) {
    std::fprintf(stderr, "web_native_frame: %s\n", gl.error().c_str());
    return 1;
  }
  ApplyInitialGLState();
  SetWindowProjection(kWidth, kHeight);

  SetTickSource(FixedTick);
  auto scene = std::make_unique<Scene>();
  if (InitScene(scene.get()) == nullptr || FAILED(CreateRenderResources(scene.get()))) {
    std::fprintf(stderr, "web_native_frame: no scene\n");
    return 1;
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  RenderScene(scene.get());
  glFinish();
  std::vector<unsigned char> rgba(static_cast<size_t>(kWidth * kHeight * 4));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  ReleaseRenderResources(scene.get());

  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
  for (int y = kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kWidth; ++x) {
      std::fwrite(&rgba[static_cast<size_t>((y * kWidth + x) * 4)], 1, 3, out);
    }
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
