#include <gtest/gtest.h>

#include "sim/motion.h"
#include "sim_fixture.h"

namespace {

TEST(ImpulseRule, AlongTheMotionRaisesAgainstItAdds) {
  struct Case {
    float v;
    float a;
    float after;
  };
  const Case cases[] = {
      {0.0f, 5.0f, 4.0f},     // clamped
      {3.0f, 1.0f, 3.0f},     // already faster
      {1.0f, 3.0f, 3.0f},     // raised
      {-2.0f, 1.0f, -1.0f},   // brakes
      {2.0f, -5.0f, -2.0f},   // clamped to -4, then reverses
      {-3.0f, -1.0f, -3.0f},  // already faster
      {-1.0f, -3.0f, -3.0f},  // raised
      {0.0f, -0.5f, -0.5f},
      {2.5f, 0.0f, 2.5f},  // zero changes nothing
      {-4.0f, 0.0f, -4.0f},
      {0.0f, -100.0f, -4.0f},
      {-4.0f, 8.0f, 0.0f},  // a full stop
  };
  for (const Case& c : cases) {
    Ball ball{};
    ball.vx = c.v;
    ball.vz = 0.25f;
    ApplyImpulseX(&ball, c.a);
    EXPECT_EQ(ball.vx, c.after) << "v " << c.v << " a " << c.a;
    EXPECT_EQ(ball.vz, 0.25f);

    Ball other{};
    other.vz = c.v;
    other.vx = 0.25f;
    ApplyImpulseZ(&other, c.a);
    EXPECT_EQ(other.vz, c.after) << "v " << c.v << " a " << c.a;
    EXPECT_EQ(other.vx, 0.25f);
  }
}

using PushTest = SimTest;

TEST_F(PushTest, PushesAreClampedStampedAndAppended) {
  Ball ball{};
  now = 1000;
  AddPush(&ball, 7.0f, -9.0f);
  now = 1010;
  AddPush(&ball, -1.5f, 2.25f);
  ASSERT_EQ(ball.pushCount, 2);
  EXPECT_EQ(ball.pushes[0].dx, 4.0f);
  EXPECT_EQ(ball.pushes[0].dz, -4.0f);
  EXPECT_EQ(ball.pushes[0].tick, 1000u);
  EXPECT_EQ(ball.pushes[1].dx, -1.5f);
  EXPECT_EQ(ball.pushes[1].dz, 2.25f);
  EXPECT_EQ(ball.pushes[1].tick, 1010u);
}

TEST_F(PushTest, TheEleventhPushDropsTheOldest) {
  Ball ball{};
  for (int i = 0; i < kPushCapacity; ++i) {
    now = static_cast<DWORD>(100 + i);
    AddPush(&ball, static_cast<float>(i) * 0.25f, 0.0f);
  }
  ASSERT_EQ(ball.pushCount, 10);
  now = 500;
  AddPush(&ball, 7.0f, -9.0f);
  ASSERT_EQ(ball.pushCount, 10);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(ball.pushes[i].dx, static_cast<float>(i + 1) * 0.25f) << i;
    EXPECT_EQ(ball.pushes[i].tick, static_cast<DWORD>(101 + i)) << i;
  }
  EXPECT_EQ(ball.pushes[9].dx, 4.0f);
  EXPECT_EQ(ball.pushes[9].dz, -4.0f);
  EXPECT_EQ(ball.pushes[9].tick, 500u);
}

// A resting normal ball far from everything, carried only by its pushes.
class PushStepTest : public SimTest {
 protected:
  std::unique_ptr<Scene> scene = QuietScene();
  Ball& ball = scene->balls[5];
  void SetUp() override {
    SimTest::SetUp();
    ball.x = 500.0f;
    ball.z = 500.0f;
  }
  void Push(float dx, float dz, DWORD tick) {
    ball.pushes[ball.pushCount] = PushEntry{dx, dz, tick};
    ball.pushCount += 1;
  }
  void Step() { StepBall(&ball, scene->balls, 5); }
};

TEST_F(PushStepTest, WeightFallsFromWholeToHalfToGone) {
  now = 10000;
  Push(2.0f, -3.0f, 10000);  // 0 ms old
  Step();
  EXPECT_EQ(ball.x, 502.0f);
  EXPECT_EQ(ball.z, 497.0f);
  EXPECT_EQ(ball.pushCount, 1);

  now = 10125;  // 125 ms: half
  Step();
  EXPECT_EQ(ball.x, 503.0f);
  EXPECT_EQ(ball.z, 495.5f);

  now = 10249;  // 1/250 of it left
  Step();
  EXPECT_FLOAT_EQ(ball.x, 503.0f + 2.0f / 250.0f);
  EXPECT_EQ(ball.pushCount, 1);

  const float x = ball.x;
  const float z = ball.z;
  now = 10250;  // gone, without effect
  Step();
  EXPECT_EQ(ball.pushCount, 0);
  EXPECT_EQ(ball.x, x);
  EXPECT_EQ(ball.z, z);
  EXPECT_EQ(ball.vx, 0.0f);
}

TEST_F(PushStepTest, ExpiredRunsAreAllDroppedAndTheRestStillCount) {
  now = 20000;
  Push(9.0f, 9.0f, 19700);   // expired
  Push(9.0f, 9.0f, 19750);   // expired, exactly 250 ms
  Push(1.0f, 0.0f, 20000);   // live, whole
  Push(9.0f, 9.0f, 19000);   // expired
  Push(9.0f, 9.0f, 19600);   // expired
  Push(2.0f, -4.0f, 19875);  // live, half
  Push(9.0f, 9.0f, 25000);   // from the future: the unsigned age is huge
  Step();
  ASSERT_EQ(ball.pushCount, 2);
  EXPECT_EQ(ball.pushes[0].dx, 1.0f);
  EXPECT_EQ(ball.pushes[0].tick, 20000u);
  EXPECT_EQ(ball.pushes[1].dx, 2.0f);
  EXPECT_EQ(ball.pushes[1].tick, 19875u);
  EXPECT_EQ(ball.x, 502.0f);
  EXPECT_EQ(ball.z, 498.0f);
}

TEST_F(PushStepTest, AgeIsTakenAcrossTheTickWraparound) {
  now = 60;
  Push(4.0f, 0.0f, 0xFFFFFFFFu - 64u);  // 125 ms before the wrap to 60
  Step();
  EXPECT_EQ(ball.pushCount, 1);
  EXPECT_EQ(ball.x, 502.0f);
}

}  // namespace
