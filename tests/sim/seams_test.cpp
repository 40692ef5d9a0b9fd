#include <gtest/gtest.h>

#include "sim/seams.h"

namespace {

DWORD FixedTick() { return 4242u; }

TEST(Seams, GeneratorFollowsTheLinearCongruentialSequence) {
  // state = state * 214013 + 2531011, result = bits 16..30 of the state.
  SimSrand(1);
  EXPECT_EQ(SimRand(), 41);
  EXPECT_EQ(SimRand(), 18467);
  EXPECT_EQ(SimRand(), 6334);
  EXPECT_EQ(SimRand(), 26500);
  EXPECT_EQ(SimRand(), 19169);

  SimSrand(0);
  EXPECT_EQ(SimRand(), 38);
  EXPECT_EQ(SimRand(), 7719);

  // Reseeding restarts the sequence.
  SimSrand(1);
  EXPECT_EQ(SimRand(), 41);
}

TEST(Seams, GeneratorStaysWithinFifteenBitsForLargeSeeds) {
  SimSrand(0xFFFFFFFFu);
  for (int i = 0; i < 1000; ++i) {
    const int r = SimRand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
  }
}

TEST(Seams, TickSourceCanBeReplacedAndRestored) {
  SetTickSource(&FixedTick);
  EXPECT_EQ(SimTick(), 4242u);
  SetTickSource(nullptr);
  // Back on the system clock: the seam and the system agree to within the
  // time between the two reads.
  const DWORD first = SimTick();
  const DWORD system = GetTickCount();
  EXPECT_LE(system - first, 1000u);
}

TEST(Seams, WheelLinesDefaultToTheSystemSetting) {
  SetWheelLinesSource(nullptr);
  UINT viaSeam = 0;
  UINT direct = 0;
  const BOOL okSeam = SimWheelLines(&viaSeam);
  const BOOL okDirect = SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &direct, 0);
  EXPECT_EQ(okSeam != 0, okDirect != 0);
  if (okDirect) {
    EXPECT_EQ(viaSeam, direct);
  }
}

}  // namespace
