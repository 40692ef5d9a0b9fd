#include <gtest/gtest.h>

#include <cfloat>

#include "sim/motion.h"
#include "sim_fixture.h"

namespace {

// Ball 5 moves around (1000, 1000); ball 9 and ball 12 are placed where a
// test wants a contact. Everything else is far away.
class StepTest : public SimTest {
 protected:
  std::unique_ptr<Scene> scene = QuietScene();
  Ball* balls = scene->balls;
  Ball& mover = scene->balls[5];
  Ball& other = scene->balls[9];
  void SetUp() override {
    SimTest::SetUp();
    now = 50000;
    mover.x = 1000.0f;
    mover.z = 1000.0f;
  }
  void Step(int index) { StepBall(&balls[index], balls, index); }
};

TEST_F(StepTest, MovesByTheVelocityBeforeFrictionOnEachAxis) {
  mover.vx = 2.0f;
  mover.vz = -1.0f;
  Step(5);
  EXPECT_EQ(mover.x, 1002.0f);
  EXPECT_EQ(mover.z, 999.0f);
  EXPECT_EQ(mover.vx, 2.0f / 1.001f);
  EXPECT_EQ(mover.vz, -1.0f / 1.001f);
  EXPECT_LT(mover.vx, 2.0f);

  mover.vx = 0.0f;
  const float vz = mover.vz;
  Step(5);
  EXPECT_EQ(mover.x, 1002.0f);
  EXPECT_EQ(mover.vx, 0.0f);
  EXPECT_EQ(mover.z, 999.0f + vz);
}

TEST_F(StepTest, FrictionKeepsSubnormalVelocities) {
  // A build that flushes subnormals to zero would stop the ball here.
  mover.vx = FLT_MIN;
  Step(5);
  EXPECT_GT(mover.vx, 0.0f);
  EXPECT_LT(mover.vx, FLT_MIN);
}

TEST_F(StepTest, ContactPushesTheOtherBallAndBacksOffByTheOverlap) {
  mover.vx = 4.0f;
  other.x = 1050.0f;  // 46 from where the mover lands
  other.z = 1000.0f;
  Step(5);
  EXPECT_EQ(mover.x, 1002.0f);  // 1004 less the overlap of 2
  EXPECT_EQ(mover.z, 1000.0f);  // no motion along z, no back-off
  EXPECT_EQ(mover.vx, 4.0f / 1.001f);
  EXPECT_EQ(mover.pushCount, 0);
  ASSERT_EQ(other.pushCount, 1);
  EXPECT_EQ(other.pushes[0].dx, 4.0f);  // the whole displacement, before back-off
  EXPECT_EQ(other.pushes[0].dz, 0.0f);
  EXPECT_EQ(other.pushes[0].tick, 50000u);

  // A higher-numbered ball feels the push in the same frame, at full weight.
  Step(9);
  EXPECT_EQ(other.x, 1054.0f);
  EXPECT_EQ(other.pushCount, 1);
}

TEST_F(StepTest, BackOffRunsAgainstTheOwnMotionAndMayCarryBehindTheStart) {
  // Moving +x into a ball behind it on -x: still backs off towards -x.
  mover.vx = 1.0f;
  other.x = 960.0f;
  other.z = 1000.0f;
  Step(5);
  EXPECT_EQ(mover.x, 994.0f);  // 1001 - (48 - 41)
  EXPECT_EQ(other.pushes[0].dx, 1.0f);

  // A slow ball deep in an overlap ends behind where it started, and the
  // back-off is not undone by the opposite test.
  auto fresh = QuietScene();
  Ball& slow = fresh->balls[5];
  slow.x = 1000.0f;
  slow.z = 1000.0f;
  slow.vx = 0.5f;
  slow.vz = -0.5f;
  fresh->balls[9].x = 1038.5f;
  fresh->balls[9].z = 999.5f;
  StepBall(&slow, fresh->balls, 5);
  EXPECT_EQ(slow.x, 990.5f);   // 1000.5 - 10
  EXPECT_EQ(slow.z, 1009.5f);  // 999.5 + 10
}

TEST_F(StepTest, OnlyTheFarthestOverlapIsPushed) {
  mover.vx = 4.0f;
  other.x = 1014.0f;  // 10 from the landing point
  other.z = 1000.0f;
  Ball& farBall = balls[12];
  farBall.x = 1004.0f;  // 40 from it
  farBall.z = 1040.0f;
  Step(5);
  EXPECT_EQ(other.pushCount, 0);
  EXPECT_EQ(farBall.pushCount, 1);
  EXPECT_EQ(mover.x, 996.0f);
}

TEST_F(StepTest, LandingExactlyOnAnotherBallIsNoContact) {
  mover.vx = 2.0f;
  other.x = 1002.0f;
  other.z = 1000.0f;
  Step(5);
  EXPECT_EQ(mover.x, 1002.0f);
  EXPECT_EQ(other.pushCount, 0);
}

TEST_F(StepTest, ABallThatDoesNotMoveSeeksNoContactButKeepsTheRest) {
  // At 1e8 a float steps by 8: a velocity of 1 and a small push vanish.
  mover.x = 1e8f;
  mover.state = kBallChaser;
  mover.cooldown = 3;
  mover.vx = 1.0f;
  mover.pushes[0] = PushEntry{4.0f, 0.0f, 40000};  // expired
  mover.pushes[1] = PushEntry{0.5f, 0.0f, 50000};  // live, too small to show
  mover.pushCount = 2;
  other.x = 1e8f + 16.0f;  // overlapping, 16 away
  other.z = 1000.0f;

  Step(5);
  EXPECT_EQ(mover.x, 1e8f);
  EXPECT_EQ(mover.z, 1000.0f);
  EXPECT_EQ(mover.vx, 1.001f / 1.001f);  // coasting, then friction
  EXPECT_EQ(mover.cooldown, 2);
  ASSERT_EQ(mover.pushCount, 1);
  EXPECT_EQ(mover.pushes[0].tick, 50000u);
  EXPECT_EQ(other.pushCount, 0);

  // At rest and unpushed inside an overlap: nothing either.
  balls[12].x = other.x + 10.0f;
  balls[12].z = other.z;
  Step(12);
  EXPECT_EQ(other.pushCount, 0);
  EXPECT_EQ(balls[12].pushCount, 0);
}

}  // namespace
