// The Scene: the whole state of the world and of what is drawn from it.
// Fixed-size, no heap memory of its own.
#pragma once

#include <cstdint>

#include "render/camera.h"
#include "win32.h"

struct GLUquadric;

constexpr int kBallCount = 256;
constexpr int kPushCapacity = 10;
constexpr int kKeySlotCount = 6;
constexpr float kBallRadius = 24.0f;
constexpr float kContactDistance = 48.0f;  // two radii

// A ball's role; also indexes the material colours.
enum BallState : std::int32_t {
  kBallPlayer = 0,  // ball 0, and only ball 0
  kBallNormal = 1,
  kBallChaser = 2,
};

enum KeySlot : int {
  kKeyUp = 0,       // push ball 0 towards -z
  kKeyDown = 1,     // towards +z
  kKeyLeft = 2,     // towards -x
  kKeyRight = 3,    // towards +x
  kKeyZoomIn = 4,   // distance shrinks
  kKeyZoomOut = 5,  // distance grows
};

struct PushEntry {
  float dx;
  float dz;
  DWORD tick;  // when the push was recorded
};

struct Ball {
  float vx;  // world units per frame
  float vz;
  PushEntry pushes[kPushCapacity];  // oldest first
  std::int32_t pushCount;
  float x;
  float z;
  std::int32_t state;  // BallState
  std::int32_t cooldown;  // frames left of a chaser's cooldown
};

struct KeyState {
  std::int32_t held[kKeySlotCount];
  DWORD pressTick[kKeySlotCount];  // valid only while held
};

struct Scene {
  std::uint32_t textureName;  // floor texture; 0 while there is none
  GLUquadric* quadric;        // null while there is none
  float materialColours[3][4];   // RGBA per BallState
  float* materialColourPtrs[3];  // entry i points at materialColours[i]
  float zoomDistance;
  Camera camera;
  Ball balls[kBallCount];
  KeyState keys;
};

// Initialises freshly allocated memory and starts the first game.
Scene* InitScene(Scene* scene);

// Starts a new game: seeds the generator from the tick and places every ball.
Scene* ResetScene(Scene* scene);

// Of the first count balls (leaving out index skip), the one overlapping the
// point (px, pz) whose centre lies farthest from it, below 48; -1 if none.
// Stores that distance (0 when none) in *distance when it is not null.
int FindOverlap(const Ball* balls, int count, float px, float pz, int skip, float* distance);
