// How balls move: the impulse rule, pushes and one frame's step.
#pragma once

#include "sim/scene.h"

constexpr float kImpulseLimit = 4.0f;
constexpr float kFriction = 1.001f;           // velocity divisor per frame
constexpr DWORD kPushLifetimeMs = 250;
constexpr float kDeflectionTie = 0.00001f;
constexpr std::int32_t kChaserCooldown = 10;  // frames

// The only way a velocity changes apart from friction: an impulse (clamped
// to +-4) against the motion is added; along the motion it only raises the
// speed to its own size.
void ApplyImpulseX(Ball* ball, float impulse);
void ApplyImpulseZ(Ball* ball, float impulse);

// Records a push (each axis clamped to +-4) stamped with the current tick;
// the oldest of ten gives way.
void AddPush(Ball* ball, float dx, float dz);

// Advances balls[index] (== ball) by one frame: steering, friction, pushes,
// one contact, the chaser rules.
void StepBall(Ball* ball, Ball* balls, int index);
