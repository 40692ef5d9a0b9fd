// The core's window and queue functions as the tests see them: each call is
// logged, the faults the tests arm are injected, and the rest is the core's
// own function (platform/wm). The linker routes every call of these names
// here (--wrap, tests/fake/CMakeLists.txt); __real_X is the core's X.
#include <string>

#include "fake_state.h"

using fake::Faulted;
using fake::Fault;
using fake::Log;
using fake::S;

extern "C" {

ATOM __real_RegisterClassExA(const WNDCLASSEXA* windowClass);
BOOL __real_UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL __real_DestroyWindow(HWND window);
LRESULT __real_DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LONG_PTR __real_SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
BOOL __real_UpdateWindow(HWND window);
BOOL __real_InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL __real_ValidateRect(HWND window, const RECT* rect);
BOOL __real_AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
int __real_GetClassNameA(HWND window, LPSTR buffer, int size);
int __real_GetWindowTextA(HWND window, LPSTR buffer, int size);
BOOL __real_SetWindowTextA(HWND window, LPCSTR text);
UINT_PTR __real_SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL __real_KillTimer(HWND window, UINT_PTR id);
HCURSOR __real_LoadCursorA(HINSTANCE instance, LPCSTR name);
BOOL __real_PeekMessageA(MSG* msg, HWND window, UINT low, UINT high, UINT remove);
BOOL __real_GetMessageA(MSG* msg, HWND window, UINT low, UINT high);
BOOL __real_TranslateMessage(const MSG* msg);
LRESULT __real_DispatchMessageA(const MSG* msg);
BOOL __real_PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT __real_SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void __real_PostQuitMessage(int exitCode);
DWORD __real_MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                       DWORD milliseconds, DWORD wakeMask);
BOOL __real_WaitMessage(void);

ATOM __wrap_RegisterClassExA(const WNDCLASSEXA* windowClass) {
  Log(std::string("RegisterClassExA ") +
      (windowClass != nullptr && windowClass->lpszClassName != nullptr
           ? windowClass->lpszClassName
           : "(null)"));
  if (Faulted(Fault::RegisterClass)) return 0;
  return __real_RegisterClassExA(windowClass);
}

BOOL __wrap_UnregisterClassA(LPCSTR className, HINSTANCE instance) {
  Log(std::string("UnregisterClassA ") + (className != nullptr ? className : "(null)"));
  return __real_UnregisterClassA(className, instance);
}

BOOL __wrap_DestroyWindow(HWND window) {
  Log("DestroyWindow");
  if (wm::FindWindow(window) != nullptr && Faulted(Fault::DestroyWindow)) return FALSE;
  return __real_DestroyWindow(window);
}

LRESULT __wrap_DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log("DefWindowProcA " + std::to_string(message));
  S().defMessages.push_back(message);
  return __real_DefWindowProcA(window, message, wParam, lParam);
}

LONG_PTR __wrap_SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  Log("SetWindowLongPtrA " + std::to_string(index));
  return __real_SetWindowLongPtrA(window, index, value);
}

BOOL __wrap_UpdateWindow(HWND window) {
  Log("UpdateWindow");
  return __real_UpdateWindow(window);
}

BOOL __wrap_InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  Log("InvalidateRect " + std::to_string(erase));
  if (Faulted(Fault::InvalidateRect)) return FALSE;
  return __real_InvalidateRect(window, rect, erase);
}

BOOL __wrap_ValidateRect(HWND window, const RECT* rect) {
  Log("ValidateRect");
  if (Faulted(Fault::ValidateRect)) return FALSE;
  return __real_ValidateRect(window, rect);
}

BOOL __wrap_AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  Log("AdjustWindowRectEx");
  if (Faulted(Fault::AdjustWindowRect)) return FALSE;
  return __real_AdjustWindowRectEx(rect, style, menu, exStyle);
}

int __wrap_GetClassNameA(HWND window, LPSTR buffer, int size) {
  Log("GetClassNameA");
  if (Faulted(Fault::GetClassName)) return 0;
  return __real_GetClassNameA(window, buffer, size);
}

int __wrap_GetWindowTextA(HWND window, LPSTR buffer, int size) {
  Log("GetWindowTextA");
  if (Faulted(Fault::GetWindowText)) return 0;
  return __real_GetWindowTextA(window, buffer, size);
}

BOOL __wrap_SetWindowTextA(HWND window, LPCSTR text) {
  Log("SetWindowTextA");
  return __real_SetWindowTextA(window, text);
}

UINT_PTR __wrap_SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  Log("SetTimer " + std::to_string(id) + "," + std::to_string(elapse));
  if (Faulted(Fault::SetTimer)) return 0;
  return __real_SetTimer(window, id, elapse, procedure);
}

BOOL __wrap_KillTimer(HWND window, UINT_PTR id) {
  Log("KillTimer " + std::to_string(id));
  return __real_KillTimer(window, id);
}

HCURSOR __wrap_LoadCursorA(HINSTANCE instance, LPCSTR name) {
  Log("LoadCursorA " + std::to_string(reinterpret_cast<ULONG_PTR>(name)));
  return __real_LoadCursorA(instance, name);
}

BOOL __wrap_PeekMessageA(MSG* msg, HWND window, UINT low, UINT high, UINT remove) {
  Log("PeekMessageA");
  return __real_PeekMessageA(msg, window, low, high, remove);
}

// Nothing can arrive while a test blocks: with no message and no timer,
// GetMessageA gives -1 (an error) rather than hanging the test.
BOOL __wrap_GetMessageA(MSG* msg, HWND window, UINT low, UINT high) {
  Log("GetMessageA");
  if (!wm::HasMessage() && wm::g_wm.timers.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return __real_GetMessageA(msg, window, low, high);
}

BOOL __wrap_TranslateMessage(const MSG* msg) {
  Log("TranslateMessage " + std::to_string(msg != nullptr ? msg->message : 0));
  ++S().translateCalls;
  return __real_TranslateMessage(msg);
}

LRESULT __wrap_DispatchMessageA(const MSG* msg) {
  Log("DispatchMessageA " + std::to_string(msg != nullptr ? msg->message : 0));
  if (msg != nullptr) S().dispatched.push_back(*msg);
  return __real_DispatchMessageA(msg);
}

BOOL __wrap_PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log("PostMessageA " + std::to_string(message));
  return __real_PostMessageA(window, message, wParam, lParam);
}

LRESULT __wrap_SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log("SendMessageA " + std::to_string(message));
  return __real_SendMessageA(window, message, wParam, lParam);
}

void __wrap_PostQuitMessage(int exitCode) {
  Log("PostQuitMessage " + std::to_string(exitCode));
  __real_PostQuitMessage(exitCode);
}

// A scripted result comes first; otherwise the core waits, which moves the
// clock (wm::WaitForInput in windows.cpp).
DWORD __wrap_MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                       DWORD milliseconds, DWORD wakeMask) {
  fake::State& s = S();
  s.waitCalls.push_back({count, waitAll, milliseconds, wakeMask});
  DWORD result;
  if (!s.waitScript.empty()) {
    const fake::WaitScript step = s.waitScript.front();
    s.waitScript.pop_front();
    fake::AdvanceTickCount(step.advance);
    result = step.result;
  } else {
    result = __real_MsgWaitForMultipleObjects(count, handles, waitAll, milliseconds, wakeMask);
  }
  Log("MsgWaitForMultipleObjects " + std::to_string(milliseconds));
  return result;
}

BOOL __wrap_WaitMessage(void) {
  fake::AdvanceTickCount(S().waitMessageAdvance);
  Log("WaitMessage");
  return __real_WaitMessage();
}

}  // extern "C"
