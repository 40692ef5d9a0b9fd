#include <gtest/gtest.h>

#include <vector>

#include "sim/motion.h"
#include "sim_fixture.h"

namespace {

// Chaser 7 starts at (1000, 1000); ball 0 and ball 9 are placed per test.
class ChaserTest : public SimTest {
 protected:
  std::unique_ptr<Scene> scene = QuietScene();
  Ball* balls = scene->balls;
  Ball& chaser = scene->balls[7];
  Ball& player = scene->balls[0];
  Ball& other = scene->balls[9];
  void SetUp() override {
    SimTest::SetUp();
    now = 70000;
    chaser.state = kBallChaser;
    chaser.x = 1000.0f;
    chaser.z = 1000.0f;
  }
  void Step() { StepBall(&chaser, balls, 7); }
  std::vector<int> Chasers() const {
    std::vector<int> found;
    for (int i = 0; i < kBallCount; ++i) {
      if (scene->balls[i].state == kBallChaser) {
        found.push_back(i);
      }
    }
    return found;
  }
};

TEST_F(ChaserTest, SteersTowardsBallZeroAtUpToFourPerAxis) {
  // Far away: the clamp gives 4 on each axis.
  Step();
  EXPECT_EQ(chaser.x, 996.0f);
  EXPECT_EQ(chaser.z, 996.0f);
  EXPECT_EQ(chaser.vx, -4.0f / 1.001f);

  // Close on one axis: the impulse is the remaining offset.
  auto closeBy = QuietScene();
  closeBy->balls[0].x = 1002.5f;
  closeBy->balls[0].z = 1060.0f;
  Ball& c = closeBy->balls[7];
  c.state = kBallChaser;
  c.x = 1000.0f;
  c.z = 1000.0f;
  StepBall(&c, closeBy->balls, 7);
  EXPECT_EQ(c.x, 1002.5f);
  EXPECT_EQ(c.z, 1004.0f);
}

TEST_F(ChaserTest, CoastsTenFramesWithoutSteeringThenSteersAgain) {
  // Moving away from ball 0 (at the origin) while cooling down.
  chaser.vx = 1.5f;
  chaser.vz = -2.0f;
  chaser.cooldown = 10;
  for (int frame = 0; frame < 10; ++frame) {
    Step();
    EXPECT_NEAR(chaser.vx, 1.5f, 1e-5f) << frame;
    EXPECT_NEAR(chaser.vz, -2.0f, 1e-5f) << frame;
    EXPECT_EQ(chaser.cooldown, 9 - frame);
  }
  // It moves by the coasting velocity, 1.5 * 1.001, before friction.
  EXPECT_NEAR(chaser.x, 1015.015f, 1e-3f);
  Step();  // steering: -4 against +1.5 on x, -4 along -2 on z
  EXPECT_NEAR(chaser.vx, -2.5f / 1.001f, 1e-5f);
  EXPECT_EQ(chaser.vz, -4.0f / 1.001f);
  EXPECT_EQ(chaser.cooldown, 0);
}

// Deflections off ball 9, reached while the chaser coasts out its last
// cooldown frame: the rule reads the cooldown after it has counted down.
TEST_F(ChaserTest, DeflectionSwapsTheAxesThroughTheImpulseRule) {
  struct Case {
    float vx, vz;
    float afterX, afterZ;
  };
  const Case cases[] = {
      {2.0f, -1.0f, 1.0f, 1.0f},
      {2.0f, 1.0f, 2.0f, 2.0f},
      {0.0f, 3.0f, 3.0f, 3.0f},
      {3.0f, 3.0f, 3.0f, 3.0f},  // a tie, either way the same
      {-1.0f, 2.5f, 1.5f, 1.5f},
  };
  for (const Case& c : cases) {
    auto s = QuietScene();
    Ball& ch = s->balls[7];
    ch.state = kBallChaser;
    ch.cooldown = 1;
    ch.x = 1000.0f;
    ch.z = 1000.0f;
    ch.vx = c.vx;
    ch.vz = c.vz;
    s->balls[9].x = 1000.0f + c.vx + 30.0f;
    s->balls[9].z = 1000.0f + c.vz;
    SimSrand(0);
    StepBall(&ch, s->balls, 7);
    EXPECT_NEAR(ch.vx, c.afterX, 1e-5f) << c.vx << ", " << c.vz;
    EXPECT_NEAR(ch.vz, c.afterZ, 1e-5f) << c.vx << ", " << c.vz;
    EXPECT_EQ(ch.cooldown, 10);
    EXPECT_EQ(ch.state, kBallChaser);
    EXPECT_EQ(s->balls[9].pushCount, 1);
  }
}

TEST_F(ChaserTest, ATieIsBrokenByTheParityOfOneDraw) {
  // Steering far towards (+x, -z) gives (4, -4); after friction both are
  // 4 / 1.001 in size, an exact tie.
  player.x = 9000.0f;
  player.z = -9000.0f;
  other.x = 1004.0f;
  other.z = 1026.0f;  // 30 from the landing point (1004, 996)

  SimSrand(0);  // first draw 38: even, the x axis takes oz
  Step();
  EXPECT_EQ(chaser.vx, 0.0f);
  EXPECT_EQ(chaser.vz, -4.0f / 1.001f);
  EXPECT_EQ(chaser.cooldown, 10);
  EXPECT_EQ(chaser.x, 986.0f);   // 1004 - 18
  EXPECT_EQ(chaser.z, 1014.0f);  // 996 + 18
  EXPECT_EQ(SimRand(), 7719);    // exactly one draw was made

  auto s = QuietScene();
  s->balls[0].x = 9000.0f;
  s->balls[0].z = -9000.0f;
  s->balls[9].x = 1004.0f;
  s->balls[9].z = 1026.0f;
  Ball& ch = s->balls[7];
  ch.state = kBallChaser;
  ch.x = 1000.0f;
  ch.z = 1000.0f;
  SimSrand(1);  // first draw 41: odd, the z axis takes ox
  StepBall(&ch, s->balls, 7);
  EXPECT_EQ(ch.vx, 4.0f / 1.001f);
  EXPECT_EQ(ch.vz, 0.0f);
}

TEST_F(ChaserTest, NearTiesWithinTheToleranceCountAsTies) {
  auto run = [](float vz) {
    auto s = QuietScene();
    Ball& ch = s->balls[7];
    ch.state = kBallChaser;
    ch.cooldown = 1;
    ch.x = 1000.0f;
    ch.z = 1000.0f;
    ch.vx = 3.0f;
    ch.vz = vz;
    s->balls[9].x = 1033.0f;
    s->balls[9].z = 1000.0f + vz;
    SimSrand(0);  // even
    StepBall(&ch, s->balls, 7);
    return ch;
  };
  const Ball within = run(-2.999995f);
  EXPECT_NEAR(within.vx, 0.0f, 1e-4f);  // only x took the impulse
  EXPECT_NEAR(within.vz, -3.0f, 1e-4f);
  const Ball outside = run(-2.99997f);
  EXPECT_NEAR(outside.vx, 0.0f, 1e-4f);  // both axes did
  EXPECT_NEAR(outside.vz, 0.0f, 1e-4f);
}

TEST_F(ChaserTest, ContactDuringCooldownLeavesTheVelocityAlone) {
  chaser.cooldown = 5;
  chaser.vx = 2.0f;
  chaser.vz = -1.0f;
  other.x = 1032.0f;
  other.z = 999.0f;
  SimSrand(0);
  Step();
  EXPECT_NEAR(chaser.vx, 2.0f, 1e-5f);
  EXPECT_NEAR(chaser.vz, -1.0f, 1e-5f);
  EXPECT_EQ(chaser.cooldown, 4);
  EXPECT_EQ(other.pushCount, 1);
  EXPECT_EQ(SimRand(), 38);  // no draw was made
}

class CatchTest : public ChaserTest {
 protected:
  void SetUp() override {
    ChaserTest::SetUp();
    player.x = 1040.0f;  // the chaser lands 36 from it
    player.z = 1000.0f;
  }
};

TEST_F(CatchTest, TouchingBallZeroStopsTheChaserAndPassesTheRoleOn) {
  balls[70].cooldown = 4;
  SimSrand(0);  // draws 38 (three picks), then 70, 74, 143
  Step();
  EXPECT_EQ(chaser.vx, 0.0f);
  EXPECT_EQ(chaser.vz, 0.0f);
  EXPECT_EQ(chaser.x, 992.0f);  // 1004 - 12
  EXPECT_EQ(chaser.z, 1000.0f);
  EXPECT_EQ(chaser.state, kBallNormal);
  EXPECT_EQ(Chasers(), (std::vector<int>{70, 74, 143}));
  EXPECT_EQ(balls[70].cooldown, 4);
  EXPECT_EQ(player.state, kBallPlayer);
  ASSERT_EQ(player.pushCount, 1);
  EXPECT_EQ(player.pushes[0].dx, 4.0f);
}

TEST_F(CatchTest, OneOrTwoPicksAndAPickOfItself) {
  SimSrand(2);  // 45: one pick, 147
  Step();
  EXPECT_EQ(Chasers(), (std::vector<int>{147}));

  auto two = QuietScene();
  two->balls[0].x = 1040.0f;
  two->balls[0].z = 1000.0f;
  two->balls[7].state = kBallChaser;
  two->balls[7].x = 1000.0f;
  two->balls[7].z = 1000.0f;
  SimSrand(6);  // 58: two picks, 44 and 30
  StepBall(&two->balls[7], two->balls, 7);
  EXPECT_EQ(two->balls[30].state, kBallChaser);
  EXPECT_EQ(two->balls[44].state, kBallChaser);
  EXPECT_EQ(two->balls[7].state, kBallNormal);

  auto self = QuietScene();
  self->balls[0].x = 1040.0f;
  self->balls[0].z = 1000.0f;
  self->balls[7].state = kBallChaser;
  self->balls[7].x = 1000.0f;
  self->balls[7].z = 1000.0f;
  SimSrand(3289);  // one pick, and it is ball 7
  StepBall(&self->balls[7], self->balls, 7);
  EXPECT_EQ(self->balls[7].state, kBallChaser);
  EXPECT_EQ(self->balls[7].vx, 0.0f);
}

TEST_F(CatchTest, BallZeroCountsOnlyWhenItIsTheFarthestOverlap) {
  other.x = 1004.0f;
  other.z = 1045.0f;  // 45 from the landing point, farther than ball 0
  SimSrand(0);
  Step();
  EXPECT_EQ(chaser.state, kBallChaser);
  EXPECT_EQ(chaser.cooldown, 10);  // deflected off ball 9 instead
  EXPECT_EQ(player.pushCount, 0);
  EXPECT_EQ(other.pushCount, 1);
}

TEST_F(CatchTest, NormalBallsRunNoChaserRules) {
  chaser.state = kBallNormal;
  chaser.vx = 4.0f;
  SimSrand(0);
  Step();
  EXPECT_EQ(chaser.state, kBallNormal);
  EXPECT_EQ(chaser.vx, 4.0f / 1.001f);
  EXPECT_EQ(player.pushCount, 1);
  EXPECT_EQ(SimRand(), 38);
}

}  // namespace
