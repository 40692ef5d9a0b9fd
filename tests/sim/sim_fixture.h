// Shared set-up for the simulation tests: a scripted clock and wheel
// setting, and Scenes whose balls sit far apart unless a test moves them.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/scene.h"
#include "sim/seams.h"

class SimTest : public ::testing::Test {
 public:
  // The tick every read sees until the test changes it.
  static DWORD now;
  // What the wheel-lines query answers.
  static BOOL wheelLinesOk;
  static UINT wheelLines;

 protected:
  void SetUp() override;
  void TearDown() override;

  // A Scene with every field zeroed, pitch 40 / zoom 480 camera, every ball
  // at rest, normal, and at least 100 units from every other (on a line at
  // z = -100000), ball 0 the player at the origin.
  static std::unique_ptr<Scene> QuietScene();

  // A Scene through InitScene with the clock at startTick.
  static std::unique_ptr<Scene> StartedScene(DWORD startTick);
};
