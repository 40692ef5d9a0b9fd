// Sleeping until something can wake the program: the display connection
// (X11 or Wayland) has data, a stop signal wrote to its pipe, or a deadline on the monotonic
// clock passes.
//
// Supports: ppoll() on both descriptors with a nanosecond time-out, so a
//   wait ends on the instant GetTickCount reaches its due millisecond, not
//   up to a millisecond later; the signal pipe is emptied here.
// Lacks:    descriptors of other video drivers (the queue then looks at
//   SDL's events every few milliseconds instead of blocking).
// Depends on: POSIX ppoll and clock_gettime; stop_signals.cpp and
//   display_connection.cpp for the descriptors.
#include <poll.h>

#include <ctime>

#include "wait.h"

namespace sdl_layer {

uint64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000ull + static_cast<uint64_t>(now.tv_nsec);
}

bool BlockUntil(uint64_t deadlineNs) {
  pollfd watched[2] = {};
  nfds_t count = 0;
  const int display = DisplayFd();
  if (display >= 0) {
    if (!BeginDisplayWait()) {
      return true;  // events already read wait for the pump
    }
    watched[count++] = pollfd{display, POLLIN, 0};
  }
  const int signals = StopSignalFd();
  if (signals >= 0) {
    watched[count++] = pollfd{signals, POLLIN, 0};
  }
  timespec left{};
  timespec* timeout = nullptr;
  if (deadlineNs != 0) {
    const uint64_t now = MonotonicNs();
    const uint64_t ns = deadlineNs > now ? deadlineNs - now : 0;
    left.tv_sec = static_cast<time_t>(ns / 1000000000ull);
    left.tv_nsec = static_cast<long>(ns % 1000000000ull);
    timeout = &left;
  }
  const int ready = ppoll(watched, count, timeout, nullptr);
  if (display >= 0) {
    EndDisplayWait();
  }
  if (ready <= 0) {
    return false;  // the deadline, or EINTR: the caller looks again
  }
  bool displayWoke = false;
  for (nfds_t i = 0; i < count; ++i) {
    if (watched[i].revents == 0) {
      continue;
    }
    if (watched[i].fd == signals) {
      DrainStopSignalPipe();
    } else {
      displayWoke = true;  // POLLHUP too: the next pump meets the I/O error
    }
  }
  return displayWoke;
}

}  // namespace sdl_layer
