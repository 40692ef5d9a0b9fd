#include "sim/motion.h"

#include <cmath>

#include "sim/seams.h"

namespace {
float ClampToLimit(float value) {
  if (value < -kImpulseLimit) {
    return -kImpulseLimit;
  }
  if (value > kImpulseLimit) {
    return kImpulseLimit;
  }
  return value;
}

void ApplyImpulse(float* velocity, float impulse) {
  const float i = ClampToLimit(impulse);
  const float v = *velocity;
  if ((i > 0.0f && v < 0.0f) || (i < 0.0f && v > 0.0f)) {
    *velocity = v + i;  // against the motion: brakes or reverses
  } else if (std::fabs(v) < std::fabs(i)) {
    *velocity = i;  // along the motion: never adds, only raises
  }
}

void RemovePush(Ball* ball, int at) {
  for (int j = at + 1; j < ball->pushCount; ++j) {
    ball->pushes[j - 1] = ball->pushes[j];
  }
  ball->pushCount -= 1;
}

// Adds what the pushes still carry and drops the ones that have faded; every
// entry is visited once.
void ApplyPushes(Ball* ball, float* nx, float* nz) {
  const DWORD now = SimTick();
  int j = 0;
  while (j < ball->pushCount) {
    const PushEntry& push = ball->pushes[j];
    const DWORD age = now - push.tick;
    if (age >= kPushLifetimeMs) {
      RemovePush(ball, j);  // the next entry has moved into place j
      continue;
    }
    const float w =
        static_cast<float>(kPushLifetimeMs - age) / static_cast<float>(kPushLifetimeMs);
    *nx = *nx + w * push.dx;
    *nz = *nz + w * push.dz;
    ++j;
  }
}

// Against the ball's own motion on the axis, whatever the direction to the
// ball it touched; one choice of three, so the second test sees the start.
float BackOff(float from, float to, float overlap) {
  if (from < to) {
    return to - overlap;
  }
  if (from > to) {
    return to + overlap;
  }
  return to;
}

void CatchPlayer(Ball* ball, Ball* balls) {
  const int r = SimRand();
  // No speed exceeds 4, so the opposing impulses bring the ball to rest.
  ApplyImpulseX(ball, -ball->vx);
  ApplyImpulseZ(ball, -ball->vz);
  ball->state = kBallNormal;
  // The picks may repeat, hit a chaser or land on this ball again.
  const int picks = r % 3 + 1;
  for (int p = 0; p < picks; ++p) {
    balls[SimRand() % (kBallCount - 1) + 1].state = kBallChaser;
  }
}

void Deflect(Ball* ball) {
  const float ox = ball->vx;
  const float oz = ball->vz;
  if (std::fabs(std::fabs(ox) - std::fabs(oz)) <= kDeflectionTie) {
    if (SimRand() % 2 == 0) {
      ApplyImpulseX(ball, oz);
    } else {
      ApplyImpulseZ(ball, ox);
    }
  } else {
    ApplyImpulseX(ball, oz);
    ApplyImpulseZ(ball, ox);
  }
  ball->cooldown = kChaserCooldown;
}
}  // namespace

void ApplyImpulseX(Ball* ball, float impulse) { ApplyImpulse(&ball->vx, impulse); }

void ApplyImpulseZ(Ball* ball, float impulse) { ApplyImpulse(&ball->vz, impulse); }

void AddPush(Ball* ball, float dx, float dz) {
  if (ball->pushCount >= kPushCapacity) {
    RemovePush(ball, 0);
  }
  PushEntry& entry = ball->pushes[ball->pushCount];
  entry.dx = ClampToLimit(dx);
  entry.dz = ClampToLimit(dz);
  entry.tick = SimTick();
  ball->pushCount += 1;
}

void StepBall(Ball* ball, Ball* balls, int index) {
  float nx = ball->x;
  float nz = ball->z;

  if (ball->state == kBallChaser) {
    if (ball->cooldown == 0) {
      // Ball 0 has already been stepped this frame: this is where it is now.
      ApplyImpulseX(ball, balls[0].x - ball->x);
      ApplyImpulseZ(ball, balls[0].z - ball->z);
    } else {
      // Cancels this frame's friction, so a coasting chaser keeps its speed.
      ApplyImpulseX(ball, ball->vx * kFriction);
      ApplyImpulseZ(ball, ball->vz * kFriction);
      ball->cooldown -= 1;
    }
  }

  if (ball->vx != 0.0f) {
    nx = nx + ball->vx;
    ball->vx = ball->vx / kFriction;
  }
  if (ball->vz != 0.0f) {
    nz = nz + ball->vz;
    ball->vz = ball->vz / kFriction;
  }

  if (ball->pushCount > 0) {
    ApplyPushes(ball, &nx, &nz);
  }

  if (nx == ball->x && nz == ball->z) {
    return;  // not moved: no contact, nothing stored
  }

  float d = 0.0f;
  const int k = FindOverlap(balls, kBallCount, nx, nz, index, &d);
  if (k != -1) {
    const float overlap = kContactDistance - d;
    AddPush(&balls[k], nx - ball->x, nz - ball->z);
    nx = BackOff(ball->x, nx, overlap);
    nz = BackOff(ball->z, nz, overlap);

    if (ball->state == kBallChaser) {
      if (k == 0) {
        CatchPlayer(ball, balls);
      } else if (ball->cooldown == 0) {
        Deflect(ball);
      }
    }
  }

  ball->x = nx;
  ball->z = nz;
}
