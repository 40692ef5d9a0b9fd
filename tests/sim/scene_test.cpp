#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sim/motion.h"
#include "sim_fixture.h"

namespace {

using SceneTest = SimTest;

bool IsWholeNumber(float v) { return std::floor(v) == v; }

TEST_F(SceneTest, InitSceneStartsAGameWithOneChaser) {
  auto scene = StartedScene(12345);
  const Ball* balls = scene->balls;

  EXPECT_EQ(balls[0].state, kBallPlayer);
  EXPECT_EQ(balls[1].state, kBallChaser);
  for (int i = 2; i < kBallCount; ++i) {
    EXPECT_EQ(balls[i].state, kBallNormal) << i;
  }

  // The first candidate for ball 0 is always accepted; x is drawn first.
  // Seed 12345 gives the draws 1184 and 1564.
  EXPECT_EQ(balls[0].x, -384.0f);
  EXPECT_EQ(balls[0].z, -764.0f);
  EXPECT_EQ(balls[0].vx, 0.0f);
  EXPECT_EQ(balls[0].vz, 0.0f);

  for (int i = 0; i < kBallCount; ++i) {
    const Ball& b = balls[i];
    EXPECT_TRUE(IsWholeNumber(b.x) && IsWholeNumber(b.z)) << i;
    EXPECT_TRUE(b.x >= -799.0f && b.x <= 800.0f) << i;
    EXPECT_TRUE(b.z >= -799.0f && b.z <= 800.0f) << i;
    EXPECT_EQ(b.pushCount, 0);
    EXPECT_EQ(b.cooldown, 0);
    if (i > 0) {
      // Fresh velocities equal the drawn start impulse: 1.0, 0.9 ... -0.9.
      bool vxDrawn = false;
      bool vzDrawn = false;
      for (int k = 0; k < 20; ++k) {
        const float impulse = 1.0f - static_cast<float>(k) / 10.0f;
        vxDrawn = vxDrawn || b.vx == impulse;
        vzDrawn = vzDrawn || b.vz == impulse;
      }
      EXPECT_TRUE(vxDrawn && vzDrawn) << i << ": " << b.vx << ", " << b.vz;
    }
  }

  // Whole-number coordinates make these squared distances exact.
  for (int i = 0; i < kBallCount; ++i) {
    for (int j = i + 1; j < kBallCount; ++j) {
      const double dx = static_cast<double>(balls[i].x) - balls[j].x;
      const double dz = static_cast<double>(balls[i].z) - balls[j].z;
      const double d2 = dx * dx + dz * dz;
      EXPECT_TRUE(d2 == 0.0 || d2 >= 48.0 * 48.0) << i << " and " << j;
    }
  }

  EXPECT_EQ(scene->zoomDistance, 480.0f);
  EXPECT_EQ(scene->camera.pitch, 40.0f);
  EXPECT_EQ(scene->camera.targetX, static_cast<double>(balls[0].x));
  EXPECT_EQ(scene->camera.targetY, 0.0);
  EXPECT_EQ(scene->camera.targetZ, static_cast<double>(balls[0].z));
  EXPECT_EQ(scene->camera.heading, 0.0);
  EXPECT_EQ(scene->camera.turn, 0.0f);
  Camera expected{};
  SetOrbit(&expected, 40.0f, 480.0f);
  EXPECT_EQ(scene->camera.height, expected.height);
  EXPECT_EQ(scene->camera.backDistance, expected.backDistance);

  EXPECT_EQ(scene->textureName, 0u);
  EXPECT_EQ(scene->quadric, nullptr);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(scene->materialColourPtrs[i], scene->materialColours[i]);
    EXPECT_EQ(scene->keys.held[i], 0);
    EXPECT_EQ(scene->keys.held[i + 3], 0);
  }
}

TEST_F(SceneTest, InitSceneOverwritesWhateverTheMemoryHeld) {
  auto scene = std::make_unique<Scene>();
  std::memset(scene.get(), 0xA5, sizeof(Scene));
  now = 777;
  InitScene(scene.get());
  auto clean = StartedScene(777);
  for (int i = 0; i < kBallCount; ++i) {
    const Ball& a = scene->balls[i];
    const Ball& b = clean->balls[i];
    ASSERT_EQ(a.x, b.x) << i;
    ASSERT_EQ(a.z, b.z) << i;
    ASSERT_EQ(a.vx, b.vx) << i;
    ASSERT_EQ(a.vz, b.vz) << i;
    ASSERT_EQ(a.state, b.state) << i;
    ASSERT_EQ(a.cooldown, 0) << i;
    ASSERT_EQ(a.pushCount, 0) << i;
    for (const PushEntry& p : a.pushes) {
      ASSERT_EQ(p.dx, 0.0f);
      ASSERT_EQ(p.tick, 0u);
    }
  }
  for (int s = 0; s < kKeySlotCount; ++s) {
    EXPECT_EQ(scene->keys.held[s], 0);
  }
}

TEST_F(SceneTest, TheSameTickGivesTheSameGameAndAnotherTickAnother) {
  auto a = StartedScene(5000);
  auto b = StartedScene(5000);
  auto c = StartedScene(5001);
  bool allSame = true;
  bool anyDifferent = false;
  for (int i = 0; i < kBallCount; ++i) {
    allSame = allSame && a->balls[i].x == b->balls[i].x && a->balls[i].z == b->balls[i].z &&
              a->balls[i].vx == b->balls[i].vx && a->balls[i].vz == b->balls[i].vz;
    anyDifferent = anyDifferent || a->balls[i].x != c->balls[i].x;
  }
  EXPECT_TRUE(allSame);
  EXPECT_TRUE(anyDifferent);
}

// Resetting two copies of one game, one with every velocity 3 and one with
// every velocity 0: placement does not depend on velocity, so both draw the
// same impulses, and the copy at rest shows what was drawn.
TEST_F(SceneTest, ResetCombinesNewImpulsesWithOldVelocitiesAndKeepsTheRest) {
  auto moving = StartedScene(100);
  for (int i = 1; i < kBallCount; ++i) {
    moving->balls[i].vx = 3.0f;
    moving->balls[i].vz = 3.0f;
  }
  moving->balls[0].vx = -2.5f;
  moving->balls[0].vz = 1.25f;
  moving->balls[9].pushCount = 2;
  moving->balls[9].pushes[1] = PushEntry{1.5f, -2.0f, 90u};
  moving->balls[17].cooldown = 6;
  moving->keys.held[kKeyLeft] = 1;
  moving->keys.pressTick[kKeyLeft] = 42;
  moving->zoomDistance = 900.0f;
  SetOrbit(&moving->camera, 63.0f, 900.0f);
  const Camera cameraBefore = moving->camera;

  auto resting = std::make_unique<Scene>(*moving);
  for (Ball& ball : resting->balls) {
    ball.vx = 0.0f;
    ball.vz = 0.0f;
  }

  now = 2000;
  ResetScene(moving.get());
  ResetScene(resting.get());

  int keptAtThree = 0;
  int braked = 0;
  for (int i = 1; i < kBallCount; ++i) {
    const float drawn = resting->balls[i].vx;
    const float after = moving->balls[i].vx;
    ASSERT_EQ(moving->balls[i].x, resting->balls[i].x);
    if (drawn >= 0.0f) {
      EXPECT_EQ(after, 3.0f) << i;  // along the motion: never adds
    } else {
      EXPECT_EQ(after, 3.0f + drawn) << i;  // against it: added
    }
    if (drawn == 0.5f) {
      EXPECT_EQ(after, 3.0f);
      ++keptAtThree;
    }
    if (drawn == -0.5f) {
      EXPECT_EQ(after, 2.5f);
      ++braked;
    }
  }
  EXPECT_GT(keptAtThree, 0);
  EXPECT_GT(braked, 0);

  // Ball 0 draws no impulse.
  EXPECT_EQ(moving->balls[0].vx, -2.5f);
  EXPECT_EQ(moving->balls[0].vz, 1.25f);
  EXPECT_EQ(moving->balls[0].state, kBallPlayer);
  EXPECT_EQ(moving->balls[1].state, kBallChaser);

  EXPECT_EQ(moving->balls[9].pushCount, 2);
  EXPECT_EQ(moving->balls[9].pushes[1].dx, 1.5f);
  EXPECT_EQ(moving->balls[9].pushes[1].tick, 90u);
  EXPECT_EQ(moving->balls[17].cooldown, 6);
  EXPECT_EQ(moving->keys.held[kKeyLeft], 1);
  EXPECT_EQ(moving->keys.pressTick[kKeyLeft], 42u);
  EXPECT_EQ(moving->zoomDistance, 900.0f);
  EXPECT_EQ(moving->camera.pitch, cameraBefore.pitch);
  EXPECT_EQ(moving->camera.height, cameraBefore.height);
  EXPECT_EQ(moving->camera.backDistance, cameraBefore.backDistance);
  EXPECT_EQ(moving->camera.targetX, static_cast<double>(moving->balls[0].x));
  EXPECT_EQ(moving->camera.targetZ, static_cast<double>(moving->balls[0].z));
}

TEST_F(SceneTest, ResetMakesEveryOtherRoleNormalAgain) {
  auto scene = StartedScene(100);
  for (int i = 2; i < kBallCount; i += 3) {
    scene->balls[i].state = kBallChaser;
  }
  now = 101;
  ResetScene(scene.get());
  EXPECT_EQ(scene->balls[0].state, kBallPlayer);
  EXPECT_EQ(scene->balls[1].state, kBallChaser);
  for (int i = 2; i < kBallCount; ++i) {
    EXPECT_EQ(scene->balls[i].state, kBallNormal) << i;
  }
}

// FindOverlap over a handful of balls around the point (10, 20).
class FindOverlapTest : public ::testing::Test {
 protected:
  Ball balls[8] = {};
  void Put(int i, float dx, float dz) {
    balls[i].x = 10.0f + dx;
    balls[i].z = 20.0f + dz;
  }
  void SetUp() override {
    for (int i = 0; i < 8; ++i) {
      Put(i, 1000.0f + static_cast<float>(i) * 100.0f, 0.0f);  // far away
    }
  }
};

TEST_F(FindOverlapTest, ReturnsTheFarthestBallBelowContactDistance) {
  Put(1, 10.0f, 0.0f);
  Put(2, 0.0f, -30.0f);
  Put(3, 28.5f, -38.0f);  // 47.5
  Put(4, 0.0f, 48.0f);    // exactly 48: not an overlap
  Put(5, 60.0f, 0.0f);
  float d = -1.0f;
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, -1, &d), 3);
  EXPECT_EQ(d, 47.5f);
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, -1, nullptr), 3);

  // Without the 47.5 ball the next farthest wins.
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, 3, &d), 2);
  EXPECT_EQ(d, 30.0f);

  // Only the first count balls are looked at.
  EXPECT_EQ(FindOverlap(balls, 3, 10.0f, 20.0f, -1, &d), 2);
  EXPECT_EQ(FindOverlap(balls, 2, 10.0f, 20.0f, -1, &d), 1);
  EXPECT_EQ(d, 10.0f);
}

TEST_F(FindOverlapTest, EqualDistancesGoToTheLowerIndex) {
  Put(2, 30.0f, 0.0f);
  Put(5, 0.0f, -30.0f);
  Put(6, -18.0f, 24.0f);  // 30 as well
  Put(1, 5.0f, 0.0f);
  float d = 0.0f;
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, 99, &d), 2);
  EXPECT_EQ(d, 30.0f);
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, 2, &d), 5);
}

TEST_F(FindOverlapTest, ACentreOnThePointOrExactlyTwoRadiiAwayIsNoOverlap) {
  Put(1, 0.0f, 0.0f);
  Put(2, -48.0f, 0.0f);
  Put(3, 0.0f, 48.0f);
  float d = -1.0f;
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, -1, &d), -1);
  EXPECT_EQ(d, 0.0f);

  // Just inside two radii counts.
  Put(2, -47.99f, 0.0f);
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, -1, &d), 2);
  EXPECT_LT(d, 48.0f);
  EXPECT_GT(d, 47.98f);
}

TEST_F(FindOverlapTest, NoBallsMeansNoneFoundAtDistanceZero) {
  Put(0, 1.0f, 1.0f);
  float d = -1.0f;
  EXPECT_EQ(FindOverlap(balls, 0, 10.0f, 20.0f, -1, &d), -1);
  EXPECT_EQ(d, 0.0f);
  // The skipped index is left out even when it is the only overlap.
  d = -1.0f;
  EXPECT_EQ(FindOverlap(balls, 8, 10.0f, 20.0f, 0, &d), -1);
  EXPECT_EQ(d, 0.0f);
}

}  // namespace
