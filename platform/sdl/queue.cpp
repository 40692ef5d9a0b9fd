// The SDL2 side of the message queue: pumping SDL's events and waiting.
//
// Supports: the seam wm_queue.cpp reads the queue through: SDL's pending
//   events become messages before each look; the pointer's place for a
//   message's pt; waiting (MsgWaitForMultipleObjects with no handles,
//   WaitMessage, GetMessageA) sleeps on the display connection (X11 or
//   Wayland) and the stop-signal pipe until input, a signal, the next due timer or the
//   time-out, which ends on the instant GetTickCount reaches it; input that
//   makes no message, such as mouse motion, does not end it. A stop signal
//   becomes WM_CLOSE (or WM_QUIT) the next time the queue is looked at. The
//   window events events.cpp turns into WM_SIZE, WM_ACTIVATE, WM_CLOSE are
//   sent, calling the procedure at once.
// Lacks:    a wait returns while any message is queued, also one a
//   PeekMessageA has already seen.
// Depends on: SDL2 events; events.cpp for translation; wait.cpp,
//   stop_signals.cpp and display_connection.cpp for sleeping.
#include <algorithm>

#include "sdl_internal.h"
#include "wait.h"

namespace {

using sdl_layer::g_sdl;
using sdl_layer::Window;
using wm::g_wm;

constexpr uint64_t kNsPerMs = 1000000;
// SDL holds some X events back for a moment and hands them over only when
// its events are pumped again: after a display-mode change it delays focus
// changes by 200 ms. So a wait looks once more this long after the server
// last sent something.
constexpr uint64_t kLookAgainMs = 250;
// Without a descriptor to sleep on (video drivers other than X11 and
// Wayland), a wait
// looks at SDL's events this often.
constexpr uint64_t kUnwatchedLookMs = 5;

uint64_t g_lookAgainMs = 0;  // 0: no look owed

// Whether translating the event may send the window a message (events.cpp
// sends them for window events, posts the rest). Pointer crossings and
// focus offers send nothing.
bool MaySendMessages(const SDL_Event& event) {
  if (event.type != SDL_WINDOWEVENT) {
    return false;
  }
  switch (event.window.event) {
    case SDL_WINDOWEVENT_ENTER:
    case SDL_WINDOWEVENT_LEAVE:
    case SDL_WINDOWEVENT_TAKE_FOCUS:
    case SDL_WINDOWEVENT_HIT_TEST:
      return false;
    default:
      return true;
  }
}

uint64_t NowMs() { return sdl_layer::MonotonicNs() / kNsPerMs; }

// The tick (on the 64-bit clock GetTickCount truncates) at which the layer
// next has something to do on its own: a timer falls due, or a window shown
// at an explicit position stops waiting for its frame. UINT64_MAX: never.
uint64_t NextDueMs(uint64_t nowMs) {
  const DWORD now = static_cast<DWORD>(nowMs);
  uint64_t due = UINT64_MAX;
  for (const wm::Timer& timer : g_wm.timers) {
    due = std::min<uint64_t>(due, nowMs + (wm::TimerDue(timer, now) ? 0 : timer.due - now));
  }
  for (wm::Window* each : g_wm.windows) {
    const Window* window = sdl_layer::Own(each);
    if (window->placePending && (window->style & WS_VISIBLE)) {
      const DWORD left = window->shownAt + 1001 - now;
      due = std::min<uint64_t>(due, nowMs + (left < 0x80000000u ? left : 0));
    }
  }
  return due;
}

}  // namespace

namespace wm {

POINT CursorPosition() {
  int x = 0;
  int y = 0;
  if (g_sdl.videoReady) {
    SDL_GetGlobalMouseState(&x, &y);
  }
  return POINT{x, y};
}

bool PaintHeld(const Window&) { return false; }

void PumpInput() { sdl_layer::PumpEvents(); }

// Nothing polls: the thread sleeps in BlockUntil until there is something
// to look at.
bool WaitForInput(DWORD milliseconds) {
  const uint64_t startMs = NowMs();
  const uint64_t endMs = milliseconds == INFINITE ? UINT64_MAX : startMs + milliseconds;
  for (;;) {
    // A message sent while pumping (WM_ACTIVATE, WM_SIZE) ends the wait as
    // on Windows, where QS_ALLINPUT includes sent messages: the program may
    // have to act on it, such as start drawing once activated.
    if (sdl_layer::PumpEvents() || wm::HasMessage()) {
      return true;
    }
    const uint64_t nowMs = NowMs();
    if (nowMs >= endMs) {
      return false;
    }
    uint64_t wakeMs = std::min(endMs, NextDueMs(nowMs));
    if (g_lookAgainMs != 0 && g_lookAgainMs <= nowMs) {
      g_lookAgainMs = 0;  // the pump above was that look
    }
    if (g_lookAgainMs != 0) {
      wakeMs = std::min(wakeMs, g_lookAgainMs);
    }
    if (wakeMs <= nowMs) {
      continue;  // a timer fell due in between
    }
    if (g_sdl.videoReady) {
      // Translating may have called into Xlib (window procedures, SDL
      // queries), which can leave events read from the socket in Xlib's
      // queue, where the descriptor no longer shows them; SDL may have
      // queued events of its own. Either way: pump again, not sleep.
      if (sdl_layer::DisplayEventsPending() || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        continue;
      }
      if (sdl_layer::DisplayFd() < 0 && !g_wm.windows.empty()) {
        wakeMs = std::min(wakeMs, nowMs + kUnwatchedLookMs);
      }
      if (const uint64_t lookMs = sdl_layer::DisplayLookAgainMs()) {
        wakeMs = std::min(wakeMs, nowMs + lookMs);
      }
    }
    // Not SDL_WaitEventTimeout: on X11 that wakes itself with an event
    // sent to the focused window over a second connection, and when the
    // program destroys that window right after (Alt+Enter, close) the
    // server may see the send after the destruction: a BadWindow error,
    // which Xlib makes fatal.
    sdl_layer::BlockUntil(wakeMs == UINT64_MAX ? 0 : wakeMs * kNsPerMs);
  }
}

}  // namespace wm

namespace sdl_layer {

bool PumpEvents() {
  ActOnStopSignal();
  if (!g_sdl.videoReady) {
    return false;
  }
  if (DisplayEventsPending()) {
    g_lookAgainMs = NowMs() + kLookAgainMs;
  }
  SDL_PumpEvents();
  EndIfDisplayLost();
  SDL_Event event;
  bool sent = false;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    sent = sent || MaySendMessages(event);
    TranslateEvent(event);
  }
  SettleVisibility();
  ApplyPendingPlacement();
  return sent;
}

}  // namespace sdl_layer

