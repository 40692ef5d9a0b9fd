#include "sim/update.h"

#include "render/camera.h"
#include "sim/motion.h"
#include "sim/seams.h"

namespace {
constexpr WPARAM kKeyR = 'R';  // virtual-key code of the R key
constexpr WPARAM kCharLowerR = 'r';
constexpr WPARAM kCharUpperR = 'R';
constexpr float kWheelDelta = 120.0f;

// The slot a virtual key steers, or -1. The whole wParam is compared.
int SlotForKey(WPARAM key) {
  switch (key) {
    case VK_UP:
      return kKeyUp;
    case VK_DOWN:
      return kKeyDown;
    case VK_LEFT:
      return kKeyLeft;
    case VK_RIGHT:
      return kKeyRight;
    case VK_ADD:
    case VK_OEM_PLUS:
      return kKeyZoomIn;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
      return kKeyZoomOut;
    default:
      return -1;
  }
}

int OnKeyDown(WPARAM key, Scene* scene) {
  const int slot = SlotForKey(key);
  if (slot >= 0) {
    RecordKeyPress(slot, scene);
    return 1;
  }
  // The reset comes from the character; the key itself is only swallowed.
  return key == kKeyR ? 1 : 0;
}

int OnKeyUp(WPARAM key, Scene* scene) {
  const int slot = SlotForKey(key);
  if (slot >= 0) {
    scene->keys.held[slot] = 0;  // the press tick stays; it is read only while held
    return 1;
  }
  return key == kKeyR ? 1 : 0;
}

void OnWheel(WPARAM wParam, Scene* scene) {
  UINT lines = 0;
  if (!SimWheelLines(&lines)) {
    lines = kDefaultWheelLines;
  } else if (lines == 0 || lines == WHEEL_PAGESCROLL) {
    return;  // the user turned wheel scrolling off, or asked for pages
  }
  const short delta = static_cast<short>(HIWORD(wParam));
  const float step = kWheelDelta / static_cast<float>(lines);
  float pitch = scene->camera.pitch + static_cast<float>(-delta) / step;
  if (pitch > kPitchMax) {
    pitch = kPitchMax;
  } else if (pitch < kPitchMin) {
    pitch = kPitchMin;
  }
  SetOrbit(&scene->camera, pitch, scene->zoomDistance);
}

// The impulse of a key held since pressTick: 0.005 per millisecond, worked
// out afresh every frame; sign gives the direction.
float RampImpulse(float sign, DWORD now, DWORD pressTick) {
  return sign * kKeyRampPerMs * static_cast<float>(now - pressTick);
}
}  // namespace

int HandleSceneMessage(WPARAM wParam, Scene* scene, UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return OnKeyDown(wParam, scene);
    case WM_KEYUP:
      return OnKeyUp(wParam, scene);
    case WM_CHAR:
      if (wParam == kCharLowerR || wParam == kCharUpperR) {
        ResetScene(scene);
        return 1;
      }
      return 0;
    case WM_MOUSEWHEEL:
      // Left unhandled even when the pitch changed.
      OnWheel(wParam, scene);
      return 0;
    default:
      return 0;
  }
}

void RecordKeyPress(int slot, Scene* scene) {
  if (slot < 0 || slot >= kKeySlotCount) {
    return;  // not a slot: nothing to mark, and nothing outside the arrays
  }
  // Auto-repeat neither moves the press tick nor restarts a ramp.
  if (scene->keys.held[slot] == 0) {
    scene->keys.pressTick[slot] = SimTick();
    scene->keys.held[slot] = 1;
  }
}

void UpdateScene(Scene* scene) {
  KeyState& keys = scene->keys;
  Ball* balls = scene->balls;

  if (keys.held[kKeyUp] != keys.held[kKeyDown]) {
    const DWORD now = SimTick();
    const float impulse = keys.held[kKeyDown] != 0
                              ? RampImpulse(1.0f, now, keys.pressTick[kKeyDown])
                              : RampImpulse(-1.0f, now, keys.pressTick[kKeyUp]);
    ApplyImpulseZ(&balls[0], impulse);
  }
  if (keys.held[kKeyLeft] != keys.held[kKeyRight]) {
    const DWORD now = SimTick();
    const float impulse = keys.held[kKeyRight] != 0
                              ? RampImpulse(1.0f, now, keys.pressTick[kKeyRight])
                              : RampImpulse(-1.0f, now, keys.pressTick[kKeyLeft]);
    ApplyImpulseX(&balls[0], impulse);
  }

  if (keys.held[kKeyZoomIn] != keys.held[kKeyZoomOut]) {
    if (keys.held[kKeyZoomOut] != 0) {
      scene->zoomDistance = scene->zoomDistance + kZoomStep;
      if (scene->zoomDistance > kZoomMax) {
        scene->zoomDistance = kZoomMax;
      }
    } else {
      scene->zoomDistance = scene->zoomDistance - kZoomStep;
      if (scene->zoomDistance < kZoomMin) {
        scene->zoomDistance = kZoomMin;
      }
    }
    SetOrbit(&scene->camera, scene->camera.pitch, scene->zoomDistance);
  }

  for (int i = 0; i < kBallCount; ++i) {
    StepBall(&balls[i], balls, i);
  }

  Follow(&scene->camera, balls[0].x, balls[0].z);
}
