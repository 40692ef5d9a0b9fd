// Soak: plays a long, busy game with scripted input and checks the Scene's
// invariants after every frame. Deterministic for a given seed, so a failure
// reproduces.
//
//   sim_soak FRAMES [SEED]
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/scene.h"
#include "sim/seams.h"
#include "sim/update.h"

namespace {

DWORD g_clock = 0;
UINT g_wheelLines = 3;
DWORD ScriptedTick() { return g_clock; }
BOOL ScriptedWheelLines(UINT* lines) {
  *lines = g_wheelLines;
  return TRUE;
}

// The driver's own generator, so the simulation's sequence is its own.
struct Dice {
  std::uint64_t state;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<std::uint32_t>(state >> 32);
  }
  bool OneIn(std::uint32_t n) { return Next() % n == 0; }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }
};

struct Stats {
  std::uint64_t resets = 0;
  std::uint64_t wheels = 0;
  std::uint64_t keyEvents = 0;
  int maxChasers = 0;
  int maxPushing = 0;  // balls with pending pushes
  std::uint64_t pushFrames = 0;  // sum over frames of balls with pending pushes
};

bool Finite(float v) { return std::isfinite(v); }
bool Finite(double v) { return std::isfinite(v); }

// Returns a description of the first broken invariant, or null.
const char* Check(const Scene& scene, int* badBall, Stats* stats) {
  *badBall = -1;
  if (!(scene.zoomDistance >= 75.0f && scene.zoomDistance <= 1550.0f)) return "zoom outside 75 ... 1550";
  const Camera& c = scene.camera;
  if (!(c.pitch >= 0.0f && c.pitch <= 90.0f)) return "pitch outside 0 ... 90";
  if (!Finite(c.targetX) || !Finite(c.targetY) || !Finite(c.targetZ) || !Finite(c.heading) ||
      !Finite(c.turn) || !Finite(c.height) || !Finite(c.backDistance)) {
    return "camera not finite";
  }
  int chasers = 0;
  int pushing = 0;
  for (int i = 0; i < kBallCount; ++i) {
    const Ball& b = scene.balls[i];
    *badBall = i;
    if (!(std::fabs(b.vx) <= 4.0f) || !(std::fabs(b.vz) <= 4.0f)) return "velocity beyond 4 or NaN";
    if (!Finite(b.x) || !Finite(b.z)) return "position not finite";
    if (b.pushCount < 0 || b.pushCount > kPushCapacity) return "pushCount outside 0 ... 10";
    for (int p = 0; p < b.pushCount; ++p) {
      if (!(std::fabs(b.pushes[p].dx) <= 4.0f) || !(std::fabs(b.pushes[p].dz) <= 4.0f)) {
        return "push beyond 4 or NaN";
      }
    }
    if (i == 0 ? b.state != kBallPlayer : (b.state != kBallNormal && b.state != kBallChaser)) {
      return "state wrong for its index";
    }
    if (b.cooldown < 0 || b.cooldown > 10) return "cooldown outside 0 ... 10";
    chasers += b.state == kBallChaser ? 1 : 0;
    pushing += b.pushCount > 0 ? 1 : 0;
  }
  *badBall = -1;
  if (chasers > stats->maxChasers) stats->maxChasers = chasers;
  if (pushing > stats->maxPushing) stats->maxPushing = pushing;
  stats->pushFrames += static_cast<std::uint64_t>(pushing);
  return nullptr;
}

// This frame's input: keys pressed and released (with auto-repeat), the
// wheel, now and then a new game or another wheel setting.
void Play(Dice* dice, Scene* scene, Stats* stats) {
  static const WPARAM kKeys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_ADD, VK_OEM_PLUS, VK_SUBTRACT,
                                 VK_OEM_MINUS, 'R'};
  if (dice->OneIn(6)) {
    const WPARAM key = kKeys[dice->Below(9)];
    const UINT message = dice->OneIn(3) ? WM_KEYUP : WM_KEYDOWN;
    HandleSceneMessage(key, scene, message);
    ++stats->keyEvents;
  }
  if (dice->OneIn(25)) {
    static const std::uint32_t kDeltas[] = {0xFF88u, 0x0078u, 0xFFD8u, 0x0028u, 0x8000u, 0x7FFFu};
    std::uint32_t delta = kDeltas[dice->Below(6)];
    if (dice->OneIn(4)) delta = dice->Below(0x10000);
    HandleSceneMessage(static_cast<WPARAM>(delta) << 16 | dice->Below(0x10000), scene, WM_MOUSEWHEEL);
    ++stats->wheels;
  }
  if (dice->OneIn(500)) {
    static const UINT kLines[] = {3, 3, 3, 1, 7, 120, 0, 0xFFFFFFFFu};
    g_wheelLines = kLines[dice->Below(8)];
  }
  if (dice->OneIn(2500)) {
    HandleSceneMessage(dice->OneIn(2) ? 'r' : 'R', scene, WM_CHAR);
    ++stats->resets;
  }
}

bool ParseCount(const char* text, std::uint64_t* value) {
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(text, &end, 0);
  if (end == text || *end != '\0' || text[0] == '-') return false;
  *value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t frames = 0;
  std::uint64_t seed = 1;
  if (argc < 2 || argc > 3 || !ParseCount(argv[1], &frames) || (argc == 3 && !ParseCount(argv[2], &seed))) {
    std::fprintf(stderr, "usage: sim_soak FRAMES [SEED]\n");
    return 2;
  }

  Dice dice{seed * 0x9E3779B97F4A7C15ull + 1};
  SetTickSource(ScriptedTick);
  SetWheelLinesSource(ScriptedWheelLines);
  g_clock = 0xFFFFF000u;  // the tick wraps early in the run

  Scene* scene = static_cast<Scene*>(std::calloc(1, sizeof(Scene)));
  if (scene == nullptr) return 1;
  InitScene(scene);
  Stats stats;
  for (std::uint64_t f = 1; f <= frames; ++f) {
    // Mostly 17 ms frames; sometimes a stalled clock or a long pause.
    const std::uint32_t roll = dice.Below(100);
    g_clock += roll < 90 ? 17u : (roll < 95 ? 0u : (roll < 99 ? 33u : 400u));
    Play(&dice, scene, &stats);
    UpdateScene(scene);
    int ball = -1;
    if (const char* broken = Check(*scene, &ball, &stats)) {
      std::fprintf(stderr, "sim_soak: frame %" PRIu64 " (seed %" PRIu64 "): %s", f, seed, broken);
      if (ball >= 0) {
        const Ball& b = scene->balls[ball];
        std::fprintf(stderr, " at ball %d: x %g z %g vx %g vz %g state %d cooldown %d pushes %d", ball,
                     static_cast<double>(b.x), static_cast<double>(b.z), static_cast<double>(b.vx),
                     static_cast<double>(b.vz), static_cast<int>(b.state), static_cast<int>(b.cooldown),
                     static_cast<int>(b.pushCount));
      }
      std::fprintf(stderr, "\n");
      return 1;
    }
    if (f % 1000000 == 0) {
      std::fprintf(stderr, "sim_soak: %" PRIu64 " frames\n", f);
    }
  }
  std::printf("sim_soak: %" PRIu64 " frames, invariants held; %" PRIu64 " resets, %" PRIu64
              " key events, %" PRIu64 " wheel turns; at most %d chasers and %d balls with pushes, "
              "%.1f on average\n",
              frames, stats.resets, stats.keyEvents, stats.wheels, stats.maxChasers, stats.maxPushing,
              frames != 0 ? static_cast<double>(stats.pushFrames) / static_cast<double>(frames) : 0.0);
  std::free(scene);
  SetTickSource(nullptr);
  SetWheelLinesSource(nullptr);
  return 0;
}
