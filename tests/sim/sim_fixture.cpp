#include "sim_fixture.h"

#include <cstring>

#include "render/camera.h"

DWORD SimTest::now = 0;
BOOL SimTest::wheelLinesOk = TRUE;
UINT SimTest::wheelLines = 3;

namespace {
DWORD ScriptedTick() { return SimTest::now; }

BOOL ScriptedWheelLines(UINT* lines) {
  if (!SimTest::wheelLinesOk) {
    *lines = 0xDEADBEEFu;  // a failed query may leave anything behind
    return FALSE;
  }
  *lines = SimTest::wheelLines;
  return TRUE;
}
}  // namespace

void SimTest::SetUp() {
  now = 0;
  wheelLinesOk = TRUE;
  wheelLines = 3;
  SetTickSource(&ScriptedTick);
  SetWheelLinesSource(&ScriptedWheelLines);
}

void SimTest::TearDown() {
  SetTickSource(nullptr);
  SetWheelLinesSource(nullptr);
}

std::unique_ptr<Scene> SimTest::QuietScene() {
  auto scene = std::make_unique<Scene>();
  std::memset(scene.get(), 0, sizeof(Scene));
  scene->zoomDistance = 480.0f;
  SetOrbit(&scene->camera, 40.0f, 480.0f);
  for (int i = 0; i < kBallCount; ++i) {
    Ball& ball = scene->balls[i];
    ball.state = kBallNormal;
    ball.x = static_cast<float>(i * 100);
    ball.z = -100000.0f;
  }
  scene->balls[0].state = kBallPlayer;
  scene->balls[0].x = 0.0f;
  scene->balls[0].z = 0.0f;
  return scene;
}

std::unique_ptr<Scene> SimTest::StartedScene(DWORD startTick) {
  auto scene = std::make_unique<Scene>();
  now = startTick;
  InitScene(scene.get());
  return scene;
}
