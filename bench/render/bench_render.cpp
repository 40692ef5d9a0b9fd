// What a frame costs: RenderScene with the buffers cleared first and glFinish
// after, so the rasterising is measured and not only the command recording.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "config/colour_settings.h"
#include "framework/gl_initial_state.h"
#include "offscreen_gl.h"
#include "opengl.h"
#include "render/render.h"
#include "sim/scene.h"

namespace {
const COLORREF kDefaultColours[6] = {0x00C0C0C0, 0x00FFFFFF, 0x00FF9080,
                                     0x000000FF, 0x0000FF00, 0x00000000};

// Balls spread as a new game spreads them (whole numbers in -799...800),
// from a fixed generator so every run draws the same frame; a few chasers.
std::unique_ptr<Scene> MakeScene() {
  auto scene = std::make_unique<Scene>();
  std::memset(scene.get(), 0, sizeof(Scene));
  for (int s = 0; s < 3; ++s) scene->materialColourPtrs[s] = scene->materialColours[s];
  unsigned state = 12345u;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  };
  for (int i = 0; i < kBallCount; ++i) {
    scene->balls[i].x = static_cast<float>(800 - next() % 1600);
    scene->balls[i].z = static_cast<float>(800 - next() % 1600);
    scene->balls[i].state = i == 0 ? kBallPlayer : (i % 17 == 1 ? kBallChaser : kBallNormal);
  }
  scene->zoomDistance = 480.0f;
  SetOrbit(&scene->camera, 40.0f, 480.0f);
  Follow(&scene->camera, scene->balls[0].x, scene->balls[0].z);
  return scene;
}

bool Prepare(benchmark::State& state, OffscreenGL* gl, int width, int height) {
  if (!gl->Create(width, height)) {
    state.SkipWithError(gl->error().c_str());
    return false;
  }
  ApplyInitialGLState();
  SetWindowProjection(width, height);
  std::memcpy(g_colourSettings.colours, kDefaultColours, sizeof kDefaultColours);
  return true;
}

void BM_RenderScene(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  OffscreenGL gl;
  if (!Prepare(state, &gl, width, height)) return;
  std::unique_ptr<Scene> scene = MakeScene();
  if (CreateRenderResources(scene.get()) != S_OK) {
    state.SkipWithError("CreateRenderResources failed");
    return;
  }
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    RenderScene(scene.get());
    glFinish();
  }
  ReleaseRenderResources(scene.get());
}
BENCHMARK(BM_RenderScene)->Args({640, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond);

// The two halves of a frame, to see where its time goes.
void BM_FloorOnly(benchmark::State& state) {
  OffscreenGL gl;
  if (!Prepare(state, &gl, 640, 480)) return;
  std::unique_ptr<Scene> scene = MakeScene();
  if (CreateRenderResources(scene.get()) != S_OK) {
    state.SkipWithError("CreateRenderResources failed");
    return;
  }
  GLUquadric* const quadric = scene->quadric;
  scene->quadric = nullptr;  // RenderScene leaves the balls out
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    RenderScene(scene.get());
    glFinish();
  }
  scene->quadric = quadric;
  ReleaseRenderResources(scene.get());
}
BENCHMARK(BM_FloorOnly)->Unit(benchmark::kMillisecond);

void BM_CreateRenderResources(benchmark::State& state) {
  OffscreenGL gl;
  if (!Prepare(state, &gl, 640, 480)) return;
  std::unique_ptr<Scene> scene = MakeScene();
  for (auto _ : state) {
    if (CreateRenderResources(scene.get()) != S_OK) {
      state.SkipWithError("CreateRenderResources failed");
      break;
    }
    glFinish();
  }
  ReleaseRenderResources(scene.get());
}
BENCHMARK(BM_CreateRenderResources)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
