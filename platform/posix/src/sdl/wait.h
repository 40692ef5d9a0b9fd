// What a wait on the SDL layer sleeps on (not a public header): the X11
// connection, stop signals through a self-pipe, and the monotonic clock.
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

// --- the X11 connection (x11_connection.cpp) --------------------------------
// Makes a lost X server end the process with kDisplayLostExitCode. After
// SDL_Init; harmless when SDL does not use X11.
void InstallDisplayLossHandler();
// The connection's descriptor, found through the first window SDL reports
// on X11; -1 before any window exists or on another video driver.
int DisplayFd();
// Flushes requests, reads what the server has sent and returns whether any
// events are queued for SDL to pump.
bool DisplayEventsPending();

}  // namespace sdl_layer
