// The message queue, timers and waiting in the page.
//
// Supports: posted messages in order with window and range filters,
//   PM_REMOVE / PM_NOREMOVE; then, only when none matches, WM_QUIT after
//   PostQuitMessage, WM_PAINT for a visible invalid window, WM_TIMER for a
//   due timer (a late timer gives one WM_TIMER). Waiting hands the thread
//   back to the browser (emscripten_sleep, under ASYNCIFY), so the page's
//   events arrive and are posted while the program waits; a wait ends as
//   soon as they give a message or a timer falls due. Sent messages call
//   the procedure at once.
// Lacks: waiting on handles (count must be 0), narrower wake masks.
#include <emscripten.h>

#include <algorithm>

#include "web_state.h"
#include "web_yield.h"

namespace {

using web_layer::g_web;
using web_layer::Window;

HWND const kThreadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
// Sleep between looks at the queue; the browser runs its event handlers
// in between.
constexpr DWORD kNapMs = 1;
constexpr DWORD kLongNapMs = 5;
constexpr DWORD kLongWaitMs = 50;

bool Matches(HWND messageWindow, UINT message, HWND filter, UINT low, UINT high) {
  if (filter == kThreadOnly) {
    if (messageWindow != nullptr) return false;
  } else if (filter != nullptr && messageWindow != filter) {
    return false;
  }
  return (low == 0 && high == 0) || (message >= low && message <= high);
}

bool TimerDue(const web_layer::Timer& timer, DWORD now) {
  return static_cast<DWORD>(now - timer.due) < 0x80000000u;
}

void FillMessage(MSG* msg, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  msg->hwnd = window;
  msg->message = message;
  msg->wParam = wParam;
  msg->lParam = lParam;
  msg->time = GetTickCount();
  msg->pt = POINT{0, 0};
}

bool Take(MSG* msg, HWND filter, UINT low, UINT high, bool remove) {
  for (auto it = g_web.posted.begin(); it != g_web.posted.end(); ++it) {
    if (Matches(it->hwnd, it->message, filter, low, high)) {
      *msg = *it;
      if (remove) g_web.posted.erase(it);
      return true;
    }
  }
  if (g_web.quitPosted && Matches(nullptr, WM_QUIT, nullptr, low, high)) {
    FillMessage(msg, nullptr, WM_QUIT, static_cast<WPARAM>(g_web.quitCode), 0);
    if (remove) g_web.quitPosted = false;
    return true;
  }
  for (Window* window : g_web.windows) {
    if (window->invalid && (window->style & WS_VISIBLE) && !window->destroying &&
        !window->minimised && Matches(window->handle, WM_PAINT, filter, low, high)) {
      FillMessage(msg, window->handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  const DWORD now = GetTickCount();
  for (web_layer::Timer& timer : g_web.timers) {
    if (TimerDue(timer, now) && Matches(timer.window, WM_TIMER, filter, low, high)) {
      FillMessage(msg, timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure));
      if (remove) timer.due = now + timer.elapse;
      return true;
    }
  }
  return false;
}

bool HasMessage() {
  MSG ignored{};
  return Take(&ignored, nullptr, 0, 0, false);
}

DWORD UntilNextTimer() {
  DWORD best = INFINITE;
  const DWORD now = GetTickCount();
  for (const web_layer::Timer& timer : g_web.timers) {
    best = std::min(best, TimerDue(timer, now) ? 0 : timer.due - now);
  }
  return best;
}

bool WaitForInput(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HasMessage()) {
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

}  // namespace

namespace web_layer {

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  FillMessage(&msg, window, message, wParam, lParam);
  g_web.posted.push_back(msg);
}

}  // namespace web_layer

extern "C" BOOL PeekMessageA(MSG* msg, HWND window, UINT low, UINT high, UINT remove) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Take(msg, window, low, high, (remove & PM_REMOVE) != 0);
}

extern "C" BOOL GetMessageA(MSG* msg, HWND window, UINT low, UINT high) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  for (;;) {
    if (Take(msg, window, low, high, true)) {
      return msg->message != WM_QUIT;
    }
    WaitForInput(INFINITE);
  }
}

// Characters are posted with their key messages: nothing is left to do.
extern "C" BOOL TranslateMessage(const MSG* msg) {
  return msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

extern "C" LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (msg->hwnd == nullptr) return 0;
  Window* window = web_layer::RequireWindow(msg->hwnd);
  return window != nullptr ? web_layer::Send(window, msg->message, msg->wParam, msg->lParam) : 0;
}

extern "C" BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && web_layer::RequireWindow(window) == nullptr) return FALSE;
  web_layer::Post(window, message, wParam, lParam);
  return TRUE;
}

extern "C" LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = web_layer::RequireWindow(handle);
  return window != nullptr ? web_layer::Send(window, message, wParam, lParam) : 0;
}

extern "C" void PostQuitMessage(int exitCode) {
  g_web.quitPosted = true;
  g_web.quitCode = exitCode;
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
  if (window != nullptr && web_layer::RequireWindow(window) == nullptr) return 0;
  elapse = std::min<UINT>(std::max<UINT>(elapse, USER_TIMER_MINIMUM), USER_TIMER_MAXIMUM);
  if (window == nullptr) {
    if (g_web.nextTimerId == 0) g_web.nextTimerId = 0x7000;
    id = ++g_web.nextTimerId;
  }
  const DWORD due = GetTickCount() + elapse;
  for (web_layer::Timer& timer : g_web.timers) {
    if (timer.window == window && timer.id == id) {
      timer.elapse = elapse;
      timer.due = due;
      timer.procedure = procedure;
      return id != 0 ? id : 1;
    }
  }
  g_web.timers.push_back(web_layer::Timer{window, id, elapse, due, procedure});
  return id != 0 ? id : 1;
}

extern "C" BOOL KillTimer(HWND window, UINT_PTR id) {
  for (auto it = g_web.timers.begin(); it != g_web.timers.end(); ++it) {
    if (it->window == window && it->id == id) {
      g_web.timers.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
