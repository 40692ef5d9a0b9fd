#include <gtest/gtest.h>

#include <cstdio>

#include "behaviour_platform.h"
#include "win32.h"

void ResetPlatformForTest() {}

// The page's start (platform_entry) installs the page's handlers and calls
// WinMain, as for the game. The last line tells the page's runner that the
// suite ended, and how.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 2;
  char name[] = "behaviour_web_tests";
  char noColour[] = "--gtest_color=no";
  char* argv[] = {name, noColour, nullptr};
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::printf("behaviour suite exit %d\n", result);
  std::fflush(stdout);
  return result;
}
