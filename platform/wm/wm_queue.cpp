// The message queue and timers both window layers share.
//
// Supports: posted messages (PostMessageA, and the input a layer posts)
//   retrieved in order with window and range filters, PM_REMOVE and
//   PM_NOREMOVE; then, only when no posted message matches: WM_QUIT after
//   PostQuitMessage, WM_PAINT for a visible invalid window (it stays until
//   the window is validated), WM_TIMER for a due timer. Timers need no
//   threads: they are checked whenever the queue is looked at or waited on,
//   and a late timer gives one WM_TIMER, not several. Sent messages
//   (SendMessageA) call the procedure at once, as Windows does for
//   same-thread sends.
// Lacks:    waiting on handles (count must be 0), wake masks narrower than
//   QS_ALLINPUT (any message ends the wait), other threads' queues.
// Depends on: the layer's seam (wm_state.h) for input and waiting.
#include <algorithm>

#include "wm_state.h"

namespace {

using wm::g_wm;

HWND const kThreadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

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

void FillMessage(MSG* msg, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  msg->hwnd = window;
  msg->message = message;
  msg->wParam = wParam;
  msg->lParam = lParam;
  msg->time = GetTickCount();
  msg->pt = wm::CursorPosition();
}

// The next message by Windows' priorities, removed when asked.
bool Take(MSG* msg, HWND filter, UINT low, UINT high, bool remove) {
  for (auto it = g_wm.posted.begin(); it != g_wm.posted.end(); ++it) {
    if (Matches(it->hwnd, it->message, filter, low, high)) {
      *msg = *it;
      if (remove) {
        g_wm.posted.erase(it);
      }
      return true;
    }
  }
  if (g_wm.quitPosted && Matches(nullptr, WM_QUIT, nullptr, low, high)) {
    FillMessage(msg, nullptr, WM_QUIT, static_cast<WPARAM>(g_wm.quitCode), 0);
    if (remove) {
      g_wm.quitPosted = false;
    }
    return true;
  }
  for (wm::Window* window : g_wm.windows) {
    if (window->invalid && (window->style & WS_VISIBLE) && !window->destroying &&
        !wm::PaintHeld(*window) && Matches(window->handle, WM_PAINT, filter, low, high)) {
      FillMessage(msg, window->handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  const DWORD now = GetTickCount();
  for (wm::Timer& timer : g_wm.timers) {
    if (wm::TimerDue(timer, now) && Matches(timer.window, WM_TIMER, filter, low, high)) {
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

}  // namespace

namespace wm {

bool TimerDue(const Timer& timer, DWORD now) {
  return static_cast<DWORD>(now - timer.due) < 0x80000000u;
}

bool HasMessage() {
  MSG ignored{};
  return Take(&ignored, nullptr, 0, 0, false);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  FillMessage(&msg, window, message, wParam, lParam);
  g_wm.posted.push_back(msg);
}

}  // namespace wm

extern "C" BOOL PeekMessageA(MSG* msg, HWND window, UINT low, UINT high, UINT remove) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  wm::PumpInput();
  return Take(msg, window, low, high, (remove & PM_REMOVE) != 0);
}

extern "C" BOOL GetMessageA(MSG* msg, HWND window, UINT low, UINT high) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  for (;;) {
    wm::PumpInput();
    if (Take(msg, window, low, high, true)) {
      return msg->message != WM_QUIT;
    }
    wm::WaitForInput(INFINITE);
  }
}

extern "C" BOOL TranslateMessage(const MSG* msg) {
  // Characters are queued with their key message while the layer turns
  // input into messages, so nothing is left to do.
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
  wm::Window* window = wm::RequireWindow(msg->hwnd);
  if (window == nullptr) {
    return 0;
  }
  return wm::Send(window, msg->message, msg->wParam, msg->lParam);
}

extern "C" BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && wm::RequireWindow(window) == nullptr) {
    return FALSE;
  }
  wm::Post(window, message, wParam, lParam);
  return TRUE;
}

extern "C" LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return 0;
  }
  return wm::Send(window, message, wParam, lParam);
}

extern "C" void PostQuitMessage(int exitCode) {
  g_wm.quitPosted = true;
  g_wm.quitCode = exitCode;
}

extern "C" DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                           DWORD) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return wm::WaitForInput(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

extern "C" BOOL WaitMessage(void) {
  wm::WaitForInput(INFINITE);
  return TRUE;
}

extern "C" UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  if (window != nullptr && wm::RequireWindow(window) == nullptr) {
    return 0;
  }
  elapse = std::min<UINT>(std::max<UINT>(elapse, USER_TIMER_MINIMUM), USER_TIMER_MAXIMUM);
  if (window == nullptr) {
    // Windows picks the ID of a timer without a window.
    if (g_wm.nextTimerId == 0) {
      g_wm.nextTimerId = 0x7000;
    }
    id = ++g_wm.nextTimerId;
  }
  const DWORD due = GetTickCount() + elapse;
  for (wm::Timer& timer : g_wm.timers) {
    if (timer.window == window && timer.id == id) {
      timer.elapse = elapse;
      timer.due = due;
      timer.procedure = procedure;
      return id != 0 ? id : 1;
    }
  }
  g_wm.timers.push_back(wm::Timer{window, id, elapse, due, procedure});
  return id != 0 ? id : 1;
}

extern "C" BOOL KillTimer(HWND window, UINT_PTR id) {
  for (auto it = g_wm.timers.begin(); it != g_wm.timers.end(); ++it) {
    if (it->window == window && it->id == id) {
      g_wm.timers.erase(it);
      // A WM_TIMER already retrieved with PM_NOREMOVE is not taken back,
      // but none is ever queued: they are made when asked for.
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
