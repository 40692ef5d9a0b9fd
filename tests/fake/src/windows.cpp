// The in-memory window manager: classes, windows, window data, placement,
// focus and timers.
#include <algorithm>
#include <cstring>

#include "fake_state.h"

using fake::Deliver;
using fake::FindWin;
using fake::Log;
using fake::S;
using fake::WindowRecord;

namespace {

// The frame AdjustWindowRectEx adds: a thick frame and a caption for the
// overlapped-window style, nothing for pop-ups and children.
RECT FrameOf(DWORD style) {
  RECT frame = {0, 0, 0, 0};
  if ((style & static_cast<DWORD>(WS_CAPTION)) == static_cast<DWORD>(WS_CAPTION)) {
    const LONG side = (style & static_cast<DWORD>(WS_THICKFRAME)) ? fake::kFrameSide : 3;
    frame = {side, side + (fake::kFrameTop - fake::kFrameSide), side, side};
  } else if (style & static_cast<DWORD>(WS_THICKFRAME)) {
    frame = {fake::kFrameSide, fake::kFrameSide, fake::kFrameSide, fake::kFrameSide};
  }
  return frame;
}

void UpdateClientSize(WindowRecord& record) {
  const RECT frame = FrameOf(record.state.style);
  const RECT& rect = record.state.windowRect;
  record.state.clientWidth = std::max<LONG>(0, rect.right - rect.left - frame.left - frame.right);
  record.state.clientHeight =
      std::max<LONG>(0, rect.bottom - rect.top - frame.top - frame.bottom);
}

int CopyText(const std::string& text, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) {
    return 0;
  }
  const int count = std::min(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
  buffer[count] = '\0';
  return count;
}

}  // namespace

namespace fake {

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = S().windows.find(window);
  if (it == S().windows.end() || it->second.procedure == nullptr) {
    return 0;
  }
  const std::size_t index = S().sent.size();
  S().sent.push_back({window, message, wParam, lParam, 0});
  const LRESULT result = it->second.procedure(window, message, wParam, lParam);
  S().sent[index].result = result;
  return result;
}

}  // namespace fake

extern "C" ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  Log(std::string("RegisterClassExA ") + windowClass->lpszClassName);
  if (fake::Faulted(fake::Fault::RegisterClass)) {
    return 0;
  }
  if (S().classes.count(windowClass->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  fake::WindowClass record;
  record.name = windowClass->lpszClassName;
  record.procedure = windowClass->lpfnWndProc;
  record.instance = windowClass->hInstance;
  S().classes[record.name] = record;
  return static_cast<ATOM>(0xC000 + S().classes.size());
}

extern "C" BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  Log(std::string("UnregisterClassA ") + className);
  return S().classes.erase(className) ? TRUE : FALSE;
}

extern "C" HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
  Log(std::string("CreateWindowExA ") + (className ? className : "(null)"));
  // A clean slate, so that a refusal without an error reads as none.
  SetLastError(0);
  if (fake::Faulted(fake::Fault::CreateWindow)) {
    return nullptr;
  }
  auto cls = className ? S().classes.find(className) : S().classes.end();
  if (cls == S().classes.end()) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  fake::State& s = S();
  if (x == CW_USEDEFAULT) {
    x = s.defaultX;
    y = s.defaultY;
  }
  if (width == CW_USEDEFAULT) {
    width = s.defaultWidth;
    height = s.defaultHeight;
  }
  HWND window = static_cast<HWND>(fake::NewHandle());
  WindowRecord& record = s.windows[window];
  record.state.exists = true;
  record.state.className = className;
  record.state.title = title ? title : "";
  record.state.style = style;
  record.state.exStyle = exStyle;
  record.state.windowRect = {x, y, x + width, y + height};
  record.state.visible = (style & static_cast<DWORD>(WS_VISIBLE)) != 0;
  record.state.lastShowCommand = -1;
  record.state.instance = instance;
  record.state.menu = menu;
  record.state.createParam = param;
  record.procedure = cls->second.procedure;
  UpdateClientSize(record);
  s.lastCreated = window;

  MINMAXINFO minMax = {};
  Deliver(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&minMax));
  CREATESTRUCTA create = {param, instance, menu,  parent, height,    width,
                          y,     x,        static_cast<LONG>(style), title, className, exStyle};
  const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
  if (Deliver(window, WM_NCCREATE, 0, createParam) == 0 ||
      Deliver(window, WM_CREATE, 0, createParam) == -1) {
    Deliver(window, WM_NCDESTROY, 0, 0);
    S().windows[window].state.exists = false;
    return nullptr;
  }
  // Pop-ups and children hear of their size now; an overlapped window when it
  // is first shown, as on Windows.
  WindowRecord& created = S().windows[window];
  if (style & static_cast<DWORD>(WS_POPUP | WS_CHILD)) {
    Deliver(window, WM_SIZE, SIZE_RESTORED,
            MAKELPARAM(created.state.clientWidth, created.state.clientHeight));
  } else {
    created.needSize = true;
  }
  return window;
}

extern "C" BOOL DestroyWindow(HWND window) {
  Log("DestroyWindow");
  WindowRecord* record = FindWin(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (fake::Faulted(fake::Fault::DestroyWindow)) {
    return FALSE;
  }
  fake::State& s = S();
  if (s.foreground == window) s.foreground = nullptr;
  if (s.focus == window) s.focus = nullptr;
  Deliver(window, WM_DESTROY, 0, 0);
  Deliver(window, WM_NCDESTROY, 0, 0);
  WindowRecord& gone = S().windows[window];
  gone.state.exists = false;
  gone.state.visible = false;
  gone.timers.clear();
  return TRUE;
}

extern "C" BOOL IsWindow(HWND window) { return FindWin(window) != nullptr; }

extern "C" LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  Log("DefWindowProcA " + std::to_string(message));
  S().defMessages.push_back(message);
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_PAINT:
      // Painting validates, as BeginPaint/EndPaint would.
      if (WindowRecord* record = FindWin(window)) record->invalid = false;
      return 0;
    default:
      return 0;
  }
}

extern "C" LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

extern "C" LONG_PTR GetWindowLongPtrA(HWND window, int index) {
  WindowRecord* found = FindWin(window);  // a destroyed window's handle is dead
  if (found == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WindowRecord& record = *found;
  switch (index) {
    case GWLP_USERDATA: return record.userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(record.procedure);
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(record.state.style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(record.state.exStyle));
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(record.state.instance);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
}

extern "C" LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  Log("SetWindowLongPtrA " + std::to_string(index));
  WindowRecord* found = FindWin(window);  // a destroyed window's handle is dead
  if (found == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WindowRecord& record = *found;
  LONG_PTR previous = GetWindowLongPtrA(window, index);
  switch (index) {
    case GWLP_USERDATA: record.userData = value; break;
    case GWLP_WNDPROC: record.procedure = reinterpret_cast<WNDPROC>(value); break;
    case GWL_STYLE: record.state.style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: record.state.exStyle = static_cast<DWORD>(value); break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
  return previous;
}

// 32 bits only, as on Windows: pointers stored here would be cut.
extern "C" LONG GetWindowLongA(HWND window, int index) {
  return static_cast<LONG>(GetWindowLongPtrA(window, index));
}

extern "C" BOOL ShowWindow(HWND window, int command) {
  Log("ShowWindow " + std::to_string(command));
  WindowRecord* record = FindWin(window);
  if (record == nullptr) {
    return FALSE;
  }
  const BOOL wasVisible = record->state.visible ? TRUE : FALSE;
  record->state.visible = command != SW_HIDE;
  record->state.lastShowCommand = command;
  // Shown from hidden: the window needs painting and, unless it is only
  // minimised, becomes the active window with the focus at once, as on
  // Windows.
  if (!wasVisible && record->state.visible) {
    record->invalid = true;
    if (command != SW_MINIMIZE && S().foreground != window) {
      HWND const previous = S().foreground;
      S().foreground = window;
      if (FindWin(previous) != nullptr) Deliver(previous, WM_ACTIVATE, WA_INACTIVE, 0);
      Deliver(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, command == SW_SHOWMINIMIZED), 0);
      if (FindWin(window) != nullptr) S().focus = window;
    }
    record = FindWin(window);
    if (record != nullptr && record->needSize) {
      record->needSize = false;
      Deliver(window, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(record->state.clientWidth, record->state.clientHeight));
    }
  }
  return wasVisible;
}

// WM_PAINT at once for a visible window that needs painting.
extern "C" BOOL UpdateWindow(HWND window) {
  Log("UpdateWindow");
  WindowRecord* record = FindWin(window);
  if (record == nullptr) return FALSE;
  if (record->state.visible && record->invalid) Deliver(window, WM_PAINT, 0, 0);
  return TRUE;
}

extern "C" BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  Log("InvalidateRect " + std::to_string(erase));
  if (fake::Faulted(fake::Fault::InvalidateRect)) return FALSE;
  WindowRecord* record = FindWin(window);
  // An empty rectangle adds nothing to the update region.
  const bool empty = rect != nullptr && (rect->right <= rect->left || rect->bottom <= rect->top);
  if (record != nullptr && !empty) record->invalid = true;
  return record != nullptr;
}

extern "C" BOOL ValidateRect(HWND window, const RECT*) {
  Log("ValidateRect");
  if (fake::Faulted(fake::Fault::ValidateRect)) return FALSE;
  WindowRecord* record = FindWin(window);
  if (record != nullptr) record->invalid = false;
  return record != nullptr;
}

extern "C" BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  Log("MoveWindow " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(width) +
      "," + std::to_string(height) + "," + std::to_string(repaint));
  if (fake::Faulted(fake::Fault::MoveWindow)) return FALSE;
  WindowRecord* record = FindWin(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const int oldWidth = record->state.clientWidth;
  const int oldHeight = record->state.clientHeight;
  record->state.windowRect = {x, y, x + width, y + height};
  UpdateClientSize(*record);
  const int newWidth = record->state.clientWidth;
  const int newHeight = record->state.clientHeight;
  if (newWidth != oldWidth || newHeight != oldHeight || record->needSize) {
    record->needSize = false;
    Deliver(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(newWidth, newHeight));
  }
  return TRUE;
}

extern "C" BOOL GetClientRect(HWND window, RECT* rect) {
  WindowRecord* record = FindWin(window);
  if (record == nullptr || rect == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = {0, 0, record->state.clientWidth, record->state.clientHeight};
  return TRUE;
}

extern "C" BOOL GetWindowRect(HWND window, RECT* rect) {
  WindowRecord* record = FindWin(window);
  if (record == nullptr || rect == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = record->state.windowRect;
  return TRUE;
}

extern "C" BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD) {
  Log("AdjustWindowRectEx");
  if (fake::Faulted(fake::Fault::AdjustWindowRect)) return FALSE;
  const RECT frame = FrameOf(style);
  rect->left -= frame.left;
  rect->top -= frame.top;
  rect->right += frame.right;
  rect->bottom += frame.bottom;
  return TRUE;
}

extern "C" int GetSystemMetrics(int index) {
  Log("GetSystemMetrics " + std::to_string(index));
  switch (index) {
    case SM_CXSCREEN: return S().screenCx;
    case SM_CYSCREEN: return S().screenCy;
    case SM_CXFULLSCREEN: return S().fullCx;
    case SM_CYFULLSCREEN: return S().fullCy;
    default: return 0;
  }
}

extern "C" int GetClassNameA(HWND window, LPSTR buffer, int size) {
  Log("GetClassNameA");
  if (fake::Faulted(fake::Fault::GetClassName)) return 0;
  WindowRecord* record = FindWin(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CopyText(record->state.className, buffer, size);
}

extern "C" int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  Log("GetWindowTextA");
  if (fake::Faulted(fake::Fault::GetWindowText)) return 0;
  WindowRecord* record = FindWin(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CopyText(record->state.title, buffer, size);
}

extern "C" BOOL SetWindowTextA(HWND window, LPCSTR text) {
  Log("SetWindowTextA");
  WindowRecord* record = FindWin(window);
  if (record == nullptr) return FALSE;
  record->state.title = text ? text : "";
  return TRUE;
}

extern "C" BOOL SetForegroundWindow(HWND window) {
  Log("SetForegroundWindow");
  if (FindWin(window) == nullptr) return FALSE;
  S().foreground = window;
  return TRUE;
}

extern "C" HWND SetFocus(HWND window) {
  Log("SetFocus");
  HWND previous = S().focus;
  if (window != nullptr && FindWin(window) == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  S().focus = window;
  return previous;
}

extern "C" HWND GetFocus(void) { return S().focus; }

extern "C" UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC) {
  Log("SetTimer " + std::to_string(id) + "," + std::to_string(elapse));
  if (fake::Faulted(fake::Fault::SetTimer)) return 0;
  WindowRecord* record = FindWin(window);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  elapse = std::min<UINT>(std::max<UINT>(elapse, USER_TIMER_MINIMUM), USER_TIMER_MAXIMUM);
  record->timers[id] = fake::TimerRecord{elapse, GetTickCount() + elapse};
  return id;
}

extern "C" BOOL KillTimer(HWND window, UINT_PTR id) {
  Log("KillTimer " + std::to_string(id));
  WindowRecord* record = FindWin(window);
  if (record == nullptr || record->timers.erase(id) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

extern "C" HICON LoadIconA(HINSTANCE, LPCSTR name) {
  Log("LoadIconA " + std::to_string(reinterpret_cast<ULONG_PTR>(name)));
  static int icon;
  return reinterpret_cast<HICON>(&icon);
}

extern "C" HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  Log("LoadCursorA " + std::to_string(reinterpret_cast<ULONG_PTR>(name)));
  static int cursor;
  return reinterpret_cast<HCURSOR>(&cursor);
}
