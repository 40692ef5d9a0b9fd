// Stop signals: SIGINT, SIGTERM and SIGHUP end the program the way closing
// its window does.
//
// Supports: handlers installed first thing in main() (or, in programs with
//   a main of their own, just before SDL starts); SDL's are turned off:
//   they make SDL_QUIT, which the layer ignores. A signal only sets a flag
//   and writes a byte to a pipe, which wakes a blocked wait; the next look
//   at the queue posts WM_CLOSE to every window, or WM_QUIT when there is
//   none (start-up, between the two windows of a mode switch). The program
//   then leaves full screen and releases everything as after a close.
//   A signal that was ignored when the program started (nohup) stays so.
// Lacks:    SIGKILL and SIGSTOP, which cannot be caught; SIGQUIT keeps its
//   default (a core dump on request).
// Depends on: POSIX signals and pipes.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "sdl_internal.h"
#include "wait.h"

namespace {

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_stopRequested = 0;

// Async-signal-safe: a flag, a write, errno kept.
void OnStopSignal(int) {
  const int savedErrno = errno;
  g_stopRequested = 1;
  if (g_pipe[1] >= 0) {
    const char byte = 0;
    // A full pipe already wakes the wait: a failed write loses nothing.
    const ssize_t written = write(g_pipe[1], &byte, 1);
    static_cast<void>(written);
  }
  errno = savedErrno;
}

}  // namespace

namespace sdl_layer {

void InstallStopSignals() {
  if (g_pipe[0] >= 0) {
    return;
  }
  if (pipe2(g_pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
    g_pipe[0] = g_pipe[1] = -1;  // signals still stop the program, later
  }
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    if (sigaction(number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
  }
}

int StopSignalFd() { return g_pipe[0]; }

void DrainStopSignalPipe() {
  char bytes[64];
  while (g_pipe[0] >= 0 && read(g_pipe[0], bytes, sizeof bytes) > 0) {
  }
}

void ActOnStopSignal() {
  if (g_stopRequested == 0) {
    return;
  }
  g_stopRequested = 0;
  bool closing = false;
  for (wm::Window* window : g_wm.windows) {
    if (!window->destroying) {
      Post(window->handle, WM_CLOSE, 0, 0);
      closing = true;
    }
  }
  if (!closing) {
    PostQuitMessage(0);
  }
}

}  // namespace sdl_layer
