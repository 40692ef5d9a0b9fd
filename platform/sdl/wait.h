// What a wait on the SDL layer sleeps on (not a public header): the display
// connection (X11 or Wayland), stop signals through a self-pipe, and the
// monotonic clock.
#pragma once

#include <cstdint>

namespace sdl_layer {

// --- the clock (wait.cpp) ---------------------------------------------------
// Nanoseconds of CLOCK_MONOTONIC, the clock GetTickCount truncates to the
// millisecond: GetTickCount reaches tick T at MonotonicNs() == T * 1000000.
uint64_t MonotonicNs();

// Blocks until the display connection or the signal pipe has something to
// read, or until the monotonic clock reaches deadlineNs (0: no deadline).
// Returns whether the display connection woke it.
bool BlockUntil(uint64_t deadlineNs);

// --- stop signals (stop_signals.cpp) ----------------------------------------
// Installs the SIGINT, SIGTERM and SIGHUP handlers and makes the pipe they
// write to; later calls do nothing. From main() and before SDL starts.
void InstallStopSignals();
// The read end of the pipe (-1 when it could not be made).
int StopSignalFd();
// Empties the pipe. Call whenever a wait finds it readable.
void DrainStopSignalPipe();
// Turns a signal received since the last call into WM_CLOSE to every
// window, or WM_QUIT when there is none.
void ActOnStopSignal();

// --- the display connection (display_connection.cpp) -----------------------
// Makes a lost X server or Wayland compositor end the process with
// 0x80070037. After SDL_Init; harmless on other video drivers.
void InstallDisplayLossHandler();
// The connection's descriptor, found through the first window SDL reports;
// -1 before any window exists or on a driver without one.
int DisplayFd();
// Sends what is buffered and returns whether events already read from the
// connection wait for SDL to pump them (the descriptor no longer shows them).
bool DisplayEventsPending();
// Around a sleep on DisplayFd: Begin returns false when events are already
// queued (then do not sleep); End must follow a successful Begin. Wayland
// wants its read intent announced before the poll and withdrawn after it.
bool BeginDisplayWait();
void EndDisplayWait();
// The longest a wait may sleep before SDL must be pumped although the
// connection is quiet, in ms (0: no limit), e.g. for SDL's own key repeat.
uint64_t DisplayLookAgainMs();
// Ends the process with 0x80070037 when the connection has failed. After
// each SDL_PumpEvents: SDL reports a lost Wayland compositor only as
// SDL_QUIT, as it reports the last window closed.
void EndIfDisplayLost();

}  // namespace sdl_layer
