// The message queue and the waits, which move the scripted clock instead of
// sleeping.
#include <algorithm>

#include "fake_state.h"

using fake::Log;
using fake::S;

namespace fake {

bool NextMessage(MSG* msg, bool remove) {
  fake::State& s = S();
  if (!s.queue.empty()) {
    *msg = s.queue.front();
    if (remove) s.queue.pop_front();
    return TRUE;
  }
  if (s.quitPending) {
    *msg = MSG{};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(s.quitCode);
    msg->time = GetTickCount();
    if (remove) s.quitPending = false;
    return TRUE;
  }
  for (auto& entry : s.windows) {
    if (entry.second.state.exists && entry.second.state.visible && entry.second.invalid) {
      *msg = MSG{};
      msg->hwnd = entry.first;
      msg->message = WM_PAINT;
      msg->time = GetTickCount();
      return TRUE;
    }
  }
  for (auto& entry : s.windows) {
    for (auto& timer : entry.second.timers) {
      if (static_cast<DWORD>(GetTickCount() - timer.second.due) < 0x80000000u) {
        *msg = MSG{};
        msg->hwnd = entry.first;
        msg->message = WM_TIMER;
        msg->wParam = timer.first;
        msg->time = GetTickCount();
        if (remove) timer.second.due = GetTickCount() + timer.second.elapse;
        return TRUE;
      }
    }
  }
  return FALSE;
}

DWORD UntilNextTimer() {
  DWORD best = INFINITE;
  for (const auto& entry : S().windows) {
    for (const auto& timer : entry.second.timers) {
      const DWORD left = timer.second.due - GetTickCount();
      best = std::min(best, left < 0x80000000u ? left : 0);
    }
  }
  return best;
}

}  // namespace fake

using fake::NextMessage;

namespace fake {

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  S().queue.push_back(msg);
}

}  // namespace fake

extern "C" BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
  Log("PeekMessageA");
  return NextMessage(msg, (remove & PM_REMOVE) != 0);
}

// Blocking has nothing to wait for here: an empty queue gives -1 (an error)
// rather than hanging the test.
extern "C" BOOL GetMessageA(MSG* msg, HWND, UINT, UINT) {
  Log("GetMessageA");
  if (!NextMessage(msg, true)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

extern "C" BOOL TranslateMessage(const MSG* msg) {
  Log("TranslateMessage " + std::to_string(msg->message));
  ++S().translateCalls;
  return msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
}

extern "C" LRESULT DispatchMessageA(const MSG* msg) {
  Log("DispatchMessageA " + std::to_string(msg->message));
  S().dispatched.push_back(*msg);
  if (fake::FindWin(msg->hwnd) == nullptr) {
    return 0;
  }
  return fake::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

extern "C" BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log("PostMessageA " + std::to_string(message));
  if (window != nullptr && fake::FindWin(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  fake::Post(window, message, wParam, lParam);
  return TRUE;
}

extern "C" LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log("SendMessageA " + std::to_string(message));
  if (fake::FindWin(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return fake::Deliver(window, message, wParam, lParam);
}

extern "C" void PostQuitMessage(int exitCode) {
  Log("PostQuitMessage " + std::to_string(exitCode));
  S().quitPending = true;
  S().quitCode = exitCode;
}

extern "C" DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL waitAll,
                                           DWORD milliseconds, DWORD wakeMask) {
  fake::State& s = S();
  s.waitCalls.push_back({count, waitAll, milliseconds, wakeMask});
  DWORD result;
  if (!s.waitScript.empty()) {
    const fake::WaitScript step = s.waitScript.front();
    s.waitScript.pop_front();
    fake::AdvanceTickCount(step.advance);
    result = step.result;
  } else if (MSG msg; NextMessage(&msg, false)) {
    result = WAIT_OBJECT_0 + count;
  } else if (const DWORD timer = fake::UntilNextTimer(); timer < milliseconds) {
    fake::AdvanceTickCount(timer);  // the timer's WM_TIMER ends the wait
    result = WAIT_OBJECT_0 + count;
  } else {
    if (milliseconds != INFINITE) fake::WaitOut(milliseconds);
    result = WAIT_TIMEOUT;
  }
  Log("MsgWaitForMultipleObjects " + std::to_string(milliseconds));
  return result;
}

extern "C" BOOL WaitMessage(void) {
  fake::AdvanceTickCount(S().waitMessageAdvance);
  Log("WaitMessage");
  return TRUE;
}
