// Stop signals on the SDL layer, no display needed: the first closes the
// program through its message queue, a second one while the first is still
// being handled ends the process at once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "wait.h"
#include "win32.h"

namespace {

// No window exists, so the signal becomes WM_QUIT; exits with its code.
[[noreturn]] void TakeMessagesUntilQuit(int number) {
  sdl_layer::InstallStopSignals();
  raise(number);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
  }
  std::exit(message.message == WM_QUIT ? static_cast<int>(message.wParam) : 3);
}

// A program hung on its way out: its main thread never looks at the queue.
// raise() delivers an unblocked signal before it returns, so the process
// must be gone before the second call returns.
[[noreturn]] void HangAfterSignals(int first, int second) {
  sdl_layer::InstallStopSignals();
  raise(first);
  raise(second);
  _exit(1);
}

TEST(StopSignalDeathTest, FirstSignalQuitsCleanlySecondEndsAtOnce) {
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    EXPECT_EXIT(TakeMessagesUntilQuit(number), testing::ExitedWithCode(0), "") << number;
    EXPECT_EXIT(HangAfterSignals(SIGTERM, number), testing::KilledBySignal(number), "") << number;
  }
}

}  // namespace
