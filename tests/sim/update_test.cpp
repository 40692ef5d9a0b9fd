#include <gtest/gtest.h>

#include "render/camera.h"
#include "sim/motion.h"
#include "sim/update.h"
#include "sim_fixture.h"

namespace {

// Ball 0 at the origin, every other ball far away and at rest.
class UpdateTest : public SimTest {
 protected:
  std::unique_ptr<Scene> scene = QuietScene();
  Ball& player = scene->balls[0];
  void Key(UINT message, WPARAM key) { HandleSceneMessage(key, scene.get(), message); }
  // Runs one frame at tick t with ball 0 starting at the origin (nothing is
  // near it), so its new position is the displacement, exactly.
  void Frame(DWORD t, float* dx, float* dz) {
    now = t;
    player.x = 0.0f;
    player.z = 0.0f;
    UpdateScene(scene.get());
    *dx = player.x;
    *dz = player.z;
  }
};

TEST_F(UpdateTest, HeldUpRampsFromThePressAndCapsAtFour) {
  now = 1000;
  Key(WM_KEYDOWN, VK_UP);
  float dx = 0.0f;
  float dz = 0.0f;
  Frame(1017, &dx, &dz);
  EXPECT_EQ(dz, -0.005f * 17.0f);  // about -0.085
  EXPECT_NEAR(dz, -0.085f, 1e-6f);
  EXPECT_EQ(dx, 0.0f);
  Frame(1400, &dx, &dz);
  EXPECT_EQ(dz, -2.0f);
  Frame(1800, &dx, &dz);
  EXPECT_EQ(dz, -4.0f);
  Frame(5000, &dx, &dz);
  EXPECT_EQ(dz, -4.0f);
  EXPECT_EQ(scene->camera.targetZ, static_cast<double>(player.z));
  EXPECT_EQ(scene->camera.targetX, 0.0);
}

TEST_F(UpdateTest, EachArrowPushesItsOwnWay) {
  struct Case {
    WPARAM key;
    float dx, dz;
  };
  const Case cases[] = {
      {VK_UP, 0.0f, -2.0f},
      {VK_DOWN, 0.0f, 2.0f},
      {VK_LEFT, -2.0f, 0.0f},
      {VK_RIGHT, 2.0f, 0.0f},
  };
  for (const Case& c : cases) {
    player.vx = 0.0f;
    player.vz = 0.0f;
    for (std::int32_t& held : scene->keys.held) {
      held = 0;
    }
    now = 100;
    Key(WM_KEYDOWN, c.key);
    float dx = 0.0f;
    float dz = 0.0f;
    Frame(500, &dx, &dz);
    EXPECT_EQ(dx, c.dx) << c.key;
    EXPECT_EQ(dz, c.dz) << c.key;
  }
}

TEST_F(UpdateTest, OpposingKeysCancelUntilOneIsReleased) {
  now = 1000;
  Key(WM_KEYDOWN, VK_UP);
  now = 1200;
  Key(WM_KEYDOWN, VK_DOWN);
  Key(WM_KEYDOWN, VK_LEFT);
  Key(WM_KEYDOWN, VK_RIGHT);
  float dx = 1.0f;
  float dz = 1.0f;
  Frame(1300, &dx, &dz);
  EXPECT_EQ(dx, 0.0f);
  EXPECT_EQ(dz, 0.0f);
  EXPECT_EQ(player.vz, 0.0f);

  now = 1390;
  Key(WM_KEYUP, VK_DOWN);
  Frame(1400, &dx, &dz);
  EXPECT_EQ(dz, -2.0f);  // the up key's own 400 ms
  EXPECT_EQ(dx, 0.0f);
}

TEST_F(UpdateTest, AgainstTheMotionTheRampBrakesEveryFrame) {
  player.vx = 3.0f;
  now = 0;
  Key(WM_KEYDOWN, VK_LEFT);
  float dx = 0.0f;
  float dz = 0.0f;
  Frame(200, &dx, &dz);  // impulse -1 against 3
  EXPECT_EQ(dx, 2.0f);
  Frame(400, &dx, &dz);  // -2 against 2 / 1.001
  EXPECT_EQ(dx, 2.0f / 1.001f - 2.0f);
  EXPECT_LT(dx, 0.0f);
}

TEST_F(UpdateTest, AKeyPressedAgainRampsFromZero) {
  now = 0;
  Key(WM_KEYDOWN, VK_DOWN);
  float dx = 0.0f;
  float dz = 0.0f;
  Frame(800, &dx, &dz);
  EXPECT_EQ(dz, 4.0f);
  Key(WM_KEYUP, VK_DOWN);
  player.vz = 0.0f;
  now = 5000;
  Key(WM_KEYDOWN, VK_DOWN);
  Frame(5200, &dx, &dz);
  EXPECT_EQ(dz, 1.0f);
}

TEST_F(UpdateTest, HeldTimeIsCountedAcrossTheTickWraparound) {
  now = 0xFFFFFF00u;
  Key(WM_KEYDOWN, VK_RIGHT);
  float dx = 0.0f;
  float dz = 0.0f;
  Frame(0x90u, &dx, &dz);  // 400 ms later, after the wrap
  EXPECT_EQ(dx, 2.0f);
}

TEST_F(UpdateTest, ZoomKeysStepByFiveToTheLimitsExactly) {
  now = 10;
  Key(WM_KEYDOWN, VK_ADD);
  for (int frame = 1; frame <= 81; ++frame) {
    UpdateScene(scene.get());
    ASSERT_EQ(scene->zoomDistance, 480.0f - 5.0f * static_cast<float>(frame));
  }
  EXPECT_EQ(scene->zoomDistance, 75.0f);
  // At the limit the orbit is still set every frame.
  scene->camera.height = -1.0f;
  UpdateScene(scene.get());
  EXPECT_EQ(scene->zoomDistance, 75.0f);
  Camera expected{};
  SetOrbit(&expected, 40.0f, 75.0f);
  EXPECT_EQ(scene->camera.height, expected.height);
  EXPECT_EQ(scene->camera.backDistance, expected.backDistance);

  Key(WM_KEYUP, VK_ADD);
  Key(WM_KEYDOWN, VK_OEM_MINUS);
  for (int frame = 0; frame < 400; ++frame) {
    UpdateScene(scene.get());
  }
  EXPECT_EQ(scene->zoomDistance, 1550.0f);
  SetOrbit(&expected, 40.0f, 1550.0f);
  EXPECT_EQ(scene->camera.height, expected.height);

  // Both held: nothing, not even the orbit.
  Key(WM_KEYDOWN, VK_OEM_PLUS);
  scene->camera.height = -1.0f;
  UpdateScene(scene.get());
  EXPECT_EQ(scene->zoomDistance, 1550.0f);
  EXPECT_EQ(scene->camera.height, -1.0f);
  EXPECT_EQ(scene->camera.pitch, 40.0f);
}

TEST_F(UpdateTest, ZoomFromOddDistancesClampsRatherThanOvershoots) {
  scene->zoomDistance = 77.5f;
  Key(WM_KEYDOWN, VK_ADD);  // zoom in
  UpdateScene(scene.get());
  EXPECT_EQ(scene->zoomDistance, 75.0f);
  Key(WM_KEYUP, VK_ADD);
  scene->zoomDistance = 1547.0f;
  Key(WM_KEYDOWN, VK_SUBTRACT);  // zoom out
  UpdateScene(scene.get());
  EXPECT_EQ(scene->zoomDistance, 1550.0f);
}

TEST_F(UpdateTest, NeverChangesThePitch) {
  auto started = StartedScene(31337);
  SetOrbit(&started->camera, 63.5f, started->zoomDistance);
  now = 31337;
  HandleSceneMessage(VK_UP, started.get(), WM_KEYDOWN);
  HandleSceneMessage(VK_RIGHT, started.get(), WM_KEYDOWN);
  HandleSceneMessage(VK_ADD, started.get(), WM_KEYDOWN);
  for (int frame = 1; frame <= 300; ++frame) {
    now = 31337 + static_cast<DWORD>(frame) * 17;
    UpdateScene(started.get());
    ASSERT_EQ(started->camera.pitch, 63.5f);
  }
  EXPECT_EQ(started->camera.targetX, static_cast<double>(started->balls[0].x));
  EXPECT_EQ(started->camera.targetZ, static_cast<double>(started->balls[0].z));
}

// Ball 0 is stepped first: a chaser steers at where ball 0 has just moved.
TEST_F(UpdateTest, BallsAreSteppedInIndexOrder) {
  player.vx = 4.0f;  // to x = 4 this frame
  Ball& chaser = scene->balls[3];
  chaser.state = kBallChaser;
  chaser.x = 2.5f;
  chaser.z = 100.0f;
  now = 10;
  UpdateScene(scene.get());
  EXPECT_EQ(player.x, 4.0f);
  EXPECT_EQ(chaser.x, 4.0f);  // steered by 1.5 towards x = 4, not by -2.5 towards 0
  EXPECT_EQ(chaser.z, 96.0f);
  EXPECT_EQ(scene->camera.targetX, 4.0);
}

}  // namespace
