// The message queue, timers and waiting, on SDL2's event queue.
//
// Supports: posted messages (PostMessageA, and the input that events.cpp
//   posts) retrieved in order with window and range filters, PM_REMOVE and
//   PM_NOREMOVE; then, only when no posted message matches: WM_QUIT after
//   PostQuitMessage, WM_PAINT for a visible invalid window (it stays until
//   the window is validated), WM_TIMER for a due timer. Timers need no
//   threads: they are checked whenever the queue is looked at or waited on,
//   and a late timer gives one WM_TIMER, not several. Waiting
//   (MsgWaitForMultipleObjects with no handles, WaitMessage, GetMessageA)
//   sleeps on the X11 connection and the stop-signal pipe until input, a
//   signal, the next due timer or the time-out, which ends on the instant
//   GetTickCount reaches it; input that makes no message, such as mouse
//   motion, does not end it. A stop signal becomes WM_CLOSE (or WM_QUIT)
//   the next time the queue is looked at. Sent messages (SendMessageA, and
//   the window events events.cpp turns into WM_SIZE, WM_ACTIVATE, WM_CLOSE)
//   call the procedure at once, as Windows does for same-thread sends.
// Lacks:    waiting on handles (count must be 0), wake masks narrower than
//   QS_ALLINPUT (any message ends the wait), other threads' queues. A wait
//   returns while any message is queued, also one a PeekMessageA has
//   already seen.
// Depends on: SDL2 events; events.cpp for translation; wait.cpp,
//   stop_signals.cpp and x11_connection.cpp for sleeping.
#include <algorithm>

#include "sdl_internal.h"
#include "wait.h"

namespace {

using sdl_layer::g_sdl;
using sdl_layer::Window;

HWND const kThreadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
constexpr uint64_t kNsPerMs = 1000000;
// SDL holds some X events back for a moment and hands them over only when
// its events are pumped again: after a display-mode change it delays focus
// changes by 200 ms. So a wait looks once more this long after the server
// last sent something.
constexpr uint64_t kLookAgainMs = 250;
// Without a descriptor to sleep on (video drivers other than X11), a wait
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

bool Matches(HWND messageWindow, UINT message, HWND filter, UINT low, UINT high) {
  if (filter == kThreadOnly) {
    if (messageWindow != nullptr) {
      return false;
    }
  } else if (filter != nullptr && messageWindow != filter) {
    return false;
  }
  if (low == 0 && high == 0) {
    return true;
  }
  return message >= low && message <= high;
}

bool TimerDue(const sdl_layer::Timer& timer, DWORD now) {
  return static_cast<DWORD>(now - timer.due) < 0x80000000u;
}

void FillMessage(MSG* msg, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  msg->hwnd = window;
  msg->message = message;
  msg->wParam = wParam;
  msg->lParam = lParam;
  msg->time = GetTickCount();
  int x = 0;
  int y = 0;
  if (g_sdl.videoReady) {
    SDL_GetGlobalMouseState(&x, &y);
  }
  msg->pt = POINT{x, y};
}

// The next message by Windows' priorities, removed when asked.
bool Take(MSG* msg, HWND filter, UINT low, UINT high, bool remove) {
  for (auto it = g_sdl.posted.begin(); it != g_sdl.posted.end(); ++it) {
    if (Matches(it->hwnd, it->message, filter, low, high)) {
      *msg = *it;
      if (remove) {
        g_sdl.posted.erase(it);
      }
      return true;
    }
  }
  if (g_sdl.quitPosted && Matches(nullptr, WM_QUIT, nullptr, low, high)) {
    FillMessage(msg, nullptr, WM_QUIT, static_cast<WPARAM>(g_sdl.quitCode), 0);
    if (remove) {
      g_sdl.quitPosted = false;
    }
    return true;
  }
  for (Window* window : g_sdl.windows) {
    if (window->invalid && (window->style & WS_VISIBLE) && !window->destroying &&
        Matches(window->handle, WM_PAINT, filter, low, high)) {
      FillMessage(msg, window->handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  const DWORD now = GetTickCount();
  for (sdl_layer::Timer& timer : g_sdl.timers) {
    if (TimerDue(timer, now) && Matches(timer.window, WM_TIMER, filter, low, high)) {
      FillMessage(msg, timer.window, WM_TIMER, timer.id,
                  reinterpret_cast<LPARAM>(timer.procedure));
      if (remove) {
        timer.due = now + timer.elapse;
      }
      return true;
    }
  }
  return false;
}

bool HasMessage() {
  MSG ignored{};
  return Take(&ignored, nullptr, 0, 0, false);
}

// The tick (on the 64-bit clock GetTickCount truncates) at which the layer
// next has something to do on its own: a timer falls due, or a window shown
// at an explicit position stops waiting for its frame. UINT64_MAX: never.
uint64_t NextDueMs(uint64_t nowMs) {
  const DWORD now = static_cast<DWORD>(nowMs);
  uint64_t due = UINT64_MAX;
  for (const sdl_layer::Timer& timer : g_sdl.timers) {
    due = std::min<uint64_t>(due, nowMs + (TimerDue(timer, now) ? 0 : timer.due - now));
  }
  for (const Window* window : g_sdl.windows) {
    if (window->placePending && (window->style & WS_VISIBLE)) {
      const DWORD left = window->shownAt + 1001 - now;
      due = std::min<uint64_t>(due, nowMs + (left < 0x80000000u ? left : 0));
    }
  }
  return due;
}

// Waits until a message can be retrieved or `milliseconds` have passed,
// counted from the tick at the call. Nothing polls: the thread sleeps in
// BlockUntil until there is something to look at.
bool WaitForInput(DWORD milliseconds) {
  const uint64_t startMs = NowMs();
  const uint64_t endMs = milliseconds == INFINITE ? UINT64_MAX : startMs + milliseconds;
  for (;;) {
    // A message sent while pumping (WM_ACTIVATE, WM_SIZE) ends the wait as
    // on Windows, where QS_ALLINPUT includes sent messages: the program may
    // have to act on it, such as start drawing once activated.
    if (sdl_layer::PumpEvents() || HasMessage()) {
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
      if (sdl_layer::DisplayFd() < 0 && !g_sdl.windows.empty()) {
        wakeMs = std::min(wakeMs, nowMs + kUnwatchedLookMs);
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

}  // namespace

namespace sdl_layer {

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  FillMessage(&msg, window, message, wParam, lParam);
  g_sdl.posted.push_back(msg);
}

bool PumpEvents() {
  ActOnStopSignal();
  if (!g_sdl.videoReady) {
    return false;
  }
  if (DisplayEventsPending()) {
    g_lookAgainMs = NowMs() + kLookAgainMs;
  }
  SDL_PumpEvents();
  SDL_Event event;
  bool sent = false;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    sent = sent || MaySendMessages(event);
    TranslateEvent(event);
  }
  ApplyPendingPlacement();
  return sent;
}

}  // namespace sdl_layer

extern "C" BOOL PeekMessageA(MSG* msg, HWND window, UINT low, UINT high, UINT remove) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  sdl_layer::PumpEvents();
  return Take(msg, window, low, high, (remove & PM_REMOVE) != 0);
}

extern "C" BOOL GetMessageA(MSG* msg, HWND window, UINT low, UINT high) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  for (;;) {
    sdl_layer::PumpEvents();
    if (Take(msg, window, low, high, true)) {
      return msg->message != WM_QUIT;
    }
    WaitForInput(INFINITE);
  }
}

extern "C" BOOL TranslateMessage(const MSG* msg) {
  // Characters are queued with their key message while SDL's events are
  // translated (text comes from SDL_TEXTINPUT), so nothing is left to do.
  return msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

extern "C" LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    TIMERPROC procedure = reinterpret_cast<TIMERPROC>(msg->lParam);
    procedure(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (msg->hwnd == nullptr) {
    return 0;  // a thread message has no procedure
  }
  Window* window = sdl_layer::RequireWindow(msg->hwnd);
  if (window == nullptr) {
    return 0;
  }
  return sdl_layer::Send(window, msg->message, msg->wParam, msg->lParam);
}

extern "C" BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && sdl_layer::RequireWindow(window) == nullptr) {
    return FALSE;
  }
  sdl_layer::Post(window, message, wParam, lParam);
  return TRUE;
}

extern "C" LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = sdl_layer::RequireWindow(handle);
  if (window == nullptr) {
    return 0;
  }
  return sdl_layer::Send(window, message, wParam, lParam);
}

extern "C" void PostQuitMessage(int exitCode) {
  g_sdl.quitPosted = true;
  g_sdl.quitCode = exitCode;
}

extern "C" DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                           DWORD) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return WaitForInput(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

extern "C" BOOL WaitMessage(void) {
  WaitForInput(INFINITE);
  return TRUE;
}

extern "C" UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  if (window != nullptr && sdl_layer::RequireWindow(window) == nullptr) {
    return 0;
  }
  elapse = std::min<UINT>(std::max<UINT>(elapse, USER_TIMER_MINIMUM), USER_TIMER_MAXIMUM);
  if (window == nullptr) {
    // Windows picks the ID of a timer without a window.
    if (g_sdl.nextTimerId == 0) {
      g_sdl.nextTimerId = 0x7000;
    }
    id = ++g_sdl.nextTimerId;
  }
  const DWORD due = GetTickCount() + elapse;
  for (sdl_layer::Timer& timer : g_sdl.timers) {
    if (timer.window == window && timer.id == id) {
      timer.elapse = elapse;
      timer.due = due;
      timer.procedure = procedure;
      return id != 0 ? id : 1;
    }
  }
  g_sdl.timers.push_back(sdl_layer::Timer{window, id, elapse, due, procedure});
  return id != 0 ? id : 1;
}

extern "C" BOOL KillTimer(HWND window, UINT_PTR id) {
  for (auto it = g_sdl.timers.begin(); it != g_sdl.timers.end(); ++it) {
    if (it->window == window && it->id == id) {
      g_sdl.timers.erase(it);
      // A WM_TIMER already retrieved with PM_NOREMOVE is not taken back,
      // but none is ever queued: they are made when asked for.
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
