// Waiting in the page, the web side of the message queue (wm_queue.cpp).
//
// Supports: waiting hands the thread back to the browser (emscripten_sleep,
//   under ASYNCIFY), so the page's events arrive and are posted while the
//   program waits; a wait ends as soon as they post or send a message or a
//   timer falls due. No WM_PAINT while the page is hidden.
// Lacks: the pointer's place in a message's pt (always 0, 0).
// Depends on: yield.cpp for sleeping, the shared queue.
#include <algorithm>

#include "web_state.h"
#include "web_yield.h"

namespace {

// Sleep between looks at the queue; the browser runs its event handlers
// in between.
constexpr DWORD kNapMs = 1;
constexpr DWORD kLongNapMs = 5;
constexpr DWORD kLongWaitMs = 50;

DWORD UntilNextTimer() {
  DWORD best = INFINITE;
  const DWORD now = GetTickCount();
  for (const wm::Timer& timer : wm::g_wm.timers) {
    best = std::min(best, wm::TimerDue(timer, now) ? 0 : timer.due - now);
  }
  return best;
}

}  // namespace

namespace wm {

POINT CursorPosition() { return POINT{0, 0}; }

// A hidden page is a minimised window: nothing to paint.
bool PaintHeld(const Window& window) {
  return static_cast<const web_layer::Window&>(window).minimised;
}

// The page's events are posted by their handlers as they arrive.
void PumpInput() {}

bool WaitForInput(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (web_layer::g_web.messageSent || wm::HasMessage()) {
      web_layer::g_web.messageSent = false;
      web_layer::MarkAwake();
      return true;
    }
    DWORD wait = INFINITE;
    if (milliseconds != INFINITE) {
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= milliseconds) {
        web_layer::MarkAwake();
        return false;
      }
      wait = milliseconds - elapsed;
    }
    wait = std::min(wait, UntilNextTimer());
    if (wait == 0) continue;
    const DWORD nap = GetTickCount() - start < kLongWaitMs ? kNapMs : kLongNapMs;
    web_layer::Sleep(std::min(wait, nap));
  }
}

}  // namespace wm
