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
//   A second stop signal before the program has ended gets the signal's
//   default action, ending the process at once: a program hung on the way
//   out (a dead display, a blocked driver) can still be stopped.
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
volatile sig_atomic_t g_stopping = 0;  // set by the first signal, for good

// Async-signal-safe: flags, a write, errno kept; for a repeat, sigaction and
// raise (the signal is blocked in its handler and acts on return).
void OnStopSignal(int number) {
  const int savedErrno = errno;
  if (g_stopping != 0) {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(number, &fallback, nullptr);
    raise(number);
    errno = savedErrno;
    return;
  }
  g_stopping = 1;
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
