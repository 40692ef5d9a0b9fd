// Keys, wheel and the per-frame update of the Scene.
#pragma once

#include "sim/scene.h"
#include "win32.h"

constexpr float kKeyRampPerMs = 0.005f;
constexpr float kZoomStep = 5.0f;
constexpr float kZoomMin = 75.0f;
constexpr float kZoomMax = 1550.0f;
constexpr float kPitchMin = 0.0f;
constexpr float kPitchMax = 90.0f;
constexpr UINT kDefaultWheelLines = 3;

// Keys, r/R and the wheel. Returns 1 when the message was consumed (the
// wheel is never reported consumed), 0 otherwise.
int HandleSceneMessage(WPARAM wParam, Scene* scene, UINT message);

// Marks a KeySlot held and stamps its press tick, once per press.
void RecordKeyPress(int slot, Scene* scene);

// One frame: arrow-key impulses on ball 0, zoom, every ball stepped, the
// camera moved onto ball 0.
void UpdateScene(Scene* scene);
