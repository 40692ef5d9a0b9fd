#include "sim/scene.h"

#include <cmath>

#include "config/colour_settings.h"
#include "render/camera.h"
#include "sim/motion.h"
#include "sim/seams.h"

namespace {
constexpr float kStartPitch = 40.0f;
constexpr float kStartZoom = 480.0f;
constexpr int kFieldHalfWidth = 800;  // candidates are 800 - (0 ... 1599)
constexpr int kFieldWidth = 1600;

// 1.0, 0.9, ... -0.9: a fresh draw per axis.
float DrawStartImpulse() { return 1.0f - static_cast<float>(SimRand() % 20) / 10.0f; }

float DrawCoordinate() { return static_cast<float>(kFieldHalfWidth - SimRand() % kFieldWidth); }
}  // namespace

Scene* InitScene(Scene* scene) {
  scene->camera = Camera{};
  for (Ball& ball : scene->balls) {
    ball.vx = 0.0f;
    ball.vz = 0.0f;
    for (PushEntry& push : ball.pushes) {
      push = PushEntry{};
    }
    ball.pushCount = 0;
    ball.x = 0.0f;
    ball.z = 0.0f;
    ball.state = kBallNormal;
    ball.cooldown = 0;
  }
  LoadColourSettings();
  // pressTick is only read while its key is held, so it stays as it is.
  for (std::int32_t& held : scene->keys.held) {
    held = 0;
  }
  scene->zoomDistance = kStartZoom;
  scene->textureName = 0;
  scene->quadric = nullptr;
  for (int i = 0; i < 3; ++i) {
    scene->materialColourPtrs[i] = scene->materialColours[i];
  }
  SetOrbit(&scene->camera, kStartPitch, kStartZoom);
  return ResetScene(scene);
}

Scene* ResetScene(Scene* scene) {
  SimSrand(SimTick());
  Ball* balls = scene->balls;
  for (int i = 0; i < kBallCount; ++i) {
    Ball& ball = balls[i];
    // Only balls already placed by this reset count; the square is roomy
    // enough that a free spot turns up after a few draws.
    do {
      ball.x = DrawCoordinate();
      ball.z = DrawCoordinate();
    } while (FindOverlap(balls, i, ball.x, ball.z, i, nullptr) != -1);
    if (i != 0) {
      ball.state = kBallNormal;
      ApplyImpulseX(&ball, DrawStartImpulse());
      ApplyImpulseZ(&ball, DrawStartImpulse());
    }
  }
  balls[0].state = kBallPlayer;
  balls[1].state = kBallChaser;
  Follow(&scene->camera, balls[0].x, balls[0].z);
  return scene;
}

int FindOverlap(const Ball* balls, int count, float px, float pz, int skip, float* distance) {
  // The farthest overlapping ball, not the nearest; a distance of exactly 0
  // never beats the starting best.
  double best = 0.0;
  int result = -1;
  for (int i = 0; i < count; ++i) {
    if (i == skip) {
      continue;
    }
    const float ex = balls[i].x - px;
    const float ez = balls[i].z - pz;
    const float s = ez * ez + ex * ex;
    // Most balls are far away: a square of 48 * 48 or more can never give a
    // distance below 48, so the square root is left out for them. Exact: the
    // root of the largest float below 2304 is still below 48 in double.
    if (!(s < kContactDistance * kContactDistance)) {
      continue;
    }
    const double d = std::sqrt(static_cast<double>(s));
    if (d < static_cast<double>(kContactDistance) && d > best) {
      best = d;
      result = i;
    }
  }
  if (distance != nullptr) {
    *distance = static_cast<float>(best);
  }
  return result;
}
