// The simulation's cost per frame: UpdateScene on a fresh game and on a
// crowded one, and a single ball step. A frame has 17 ms; the whole
// simulation should take well under 1% of it (170 us).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sim/motion.h"
#include "sim/scene.h"
#include "sim/seams.h"
#include "sim/update.h"

namespace {

DWORD g_clock = 0;
DWORD ScriptedTick() { return g_clock; }

// A Scene on the heap with a scripted clock, and a snapshot to go back to so
// that every measured frame looks like the scenario and not like its end.
struct Fixture {
  Scene* scene;
  Scene* snapshot;
  DWORD snapshotClock;

  Fixture() {
    scene = static_cast<Scene*>(std::calloc(1, sizeof(Scene)));
    snapshot = static_cast<Scene*>(std::calloc(1, sizeof(Scene)));
    if (scene == nullptr || snapshot == nullptr) std::abort();
    SetTickSource(ScriptedTick);
    g_clock = 1000;
    InitScene(scene);
  }
  ~Fixture() {
    SetTickSource(nullptr);
    std::free(scene);
    std::free(snapshot);
  }
  void Save() {
    std::memcpy(snapshot, scene, sizeof(Scene));
    snapshotClock = g_clock;
  }
  void Restore() {
    std::memcpy(scene, snapshot, sizeof(Scene));
    g_clock = snapshotClock;
  }
};

// Runs frames of 17 ms, going back to the snapshot every `span` frames.
void RunFrames(benchmark::State& state, Fixture& fixture, int span) {
  int frame = 0;
  for (auto _ : state) {
    if (frame == span) {
      state.PauseTiming();
      fixture.Restore();
      frame = 0;
      state.ResumeTiming();
    }
    g_clock += 17;
    UpdateScene(fixture.scene);
    benchmark::DoNotOptimize(fixture.scene->balls[0].x);
    ++frame;
  }
}

int CountMoving(const Scene& scene) {
  int moving = 0;
  for (const Ball& ball : scene.balls) moving += (ball.vx != 0.0f || ball.vz != 0.0f) ? 1 : 0;
  return moving;
}

// A new game as it starts: nearly every ball drifting, few contacts.
void BM_UpdateSceneFreshGame(benchmark::State& state) {
  Fixture fixture;
  fixture.Save();
  RunFrames(state, fixture, 600);
  state.counters["moving"] = CountMoving(*fixture.snapshot);
}
BENCHMARK(BM_UpdateSceneFreshGame)->Unit(benchmark::kMicrosecond);

// Every ball packed into a 16 x 16 block closer than two radii, all moving,
// a third of them chasers, ball 0 in the middle with an arrow key held: each
// step finds a contact, records a push and backs off.
void BM_UpdateSceneCrowded(benchmark::State& state) {
  Fixture fixture;
  Scene& scene = *fixture.scene;
  SimSrand(12345);
  for (int i = 0; i < kBallCount; ++i) {
    Ball& ball = scene.balls[i];
    const int slot = (i + 136) % kBallCount;  // ball 0 lands near the middle
    ball.x = static_cast<float>(slot % 16) * 40.0f;
    ball.z = static_cast<float>(slot / 16) * 40.0f;
    ball.vx = static_cast<float>(SimRand() % 7 - 3) * 0.5f + 0.25f;
    ball.vz = static_cast<float>(SimRand() % 7 - 3) * 0.5f + 0.25f;
    ball.state = i == 0 ? kBallPlayer : (i % 3 == 0 ? kBallChaser : kBallNormal);
  }
  HandleSceneMessage(VK_UP, &scene, WM_KEYDOWN);
  // Let the pushes and chasers get going before the snapshot.
  for (int f = 0; f < 10; ++f) {
    g_clock += 17;
    UpdateScene(&scene);
  }
  fixture.Save();
  int pushes = 0;
  for (const Ball& ball : scene.balls) pushes += ball.pushCount;
  RunFrames(state, fixture, 60);
  state.counters["moving"] = CountMoving(*fixture.snapshot);
  state.counters["pushes"] = pushes;
}
BENCHMARK(BM_UpdateSceneCrowded)->Unit(benchmark::kMicrosecond);

// One step of one moving ball among a fresh game's 256: the overlap search
// over every ball dominates.
void BM_StepBall(benchmark::State& state) {
  Fixture fixture;
  Scene& scene = *fixture.scene;
  Ball* ball = &scene.balls[100];
  ball->vx = 0.5f;
  ball->vz = -0.25f;
  const Ball start = *ball;
  int steps = 0;
  for (auto _ : state) {
    if (++steps == 1000) {  // keep it among the others
      *ball = start;
      steps = 0;
    }
    StepBall(ball, scene.balls, 100);
    benchmark::DoNotOptimize(ball->x);
  }
}
BENCHMARK(BM_StepBall)->Unit(benchmark::kNanosecond);

}  // namespace
