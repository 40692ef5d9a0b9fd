// The scripted backend under the window manager core (platform/wm): making,
// showing, placing and activating windows, and the core's seam. Nothing is
// on a screen: each window is the core's record plus the fake's place and
// size for it; activation and focus follow ShowWindow at once.
#include <algorithm>

#include "fake_state.h"

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

void UpdateClientSize(WindowRecord& record, DWORD style) {
  const RECT frame = FrameOf(style);
  const RECT& rect = record.state.windowRect;
  record.state.clientWidth = std::max<LONG>(0, rect.right - rect.left - frame.left - frame.right);
  record.state.clientHeight =
      std::max<LONG>(0, rect.bottom - rect.top - frame.top - frame.bottom);
}

void ReportSize(wm::Window* window) {
  const fake::WindowState& state = S().windows[window->handle].state;
  window->reportedWidth = state.clientWidth;
  window->reportedHeight = state.clientHeight;
  wm::Send(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(state.clientWidth, state.clientHeight));
}

}  // namespace

namespace wm {

POINT CursorPosition() { return POINT{0, 0}; }

bool PaintHeld(const Window&) { return false; }

void PumpInput() {}

// Nothing sleeps: a wait moves the clock to the next timer, or through its
// whole time-out.
bool WaitForInput(DWORD milliseconds) {
  if (HasMessage()) {
    return true;
  }
  const DWORD timer = fake::UntilNextTimer();
  if (timer < milliseconds) {
    fake::AdvanceTickCount(timer);  // the timer's WM_TIMER ends the wait
    return true;
  }
  if (milliseconds != INFINITE) {
    fake::WaitOut(milliseconds);
  }
  return false;
}

void ReleaseWindow(Window* window) {
  fake::State& s = S();
  fake::WindowState& state = s.windows[window->handle].state;
  fake::TakeCoreState(*window, &state);
  state.exists = false;
  state.visible = false;
  if (s.foreground == window->handle) {
    s.foreground = nullptr;
  }
  delete window;
}

void ShowTitle(const Window&) {}

RECT FrameMargins(DWORD style, DWORD) { return FrameOf(style); }

}  // namespace wm

namespace fake {

DWORD UntilNextTimer() {
  DWORD best = INFINITE;
  const DWORD now = GetTickCount();
  for (const wm::Timer& timer : wm::g_wm.timers) {
    const DWORD left = timer.due - now;
    best = std::min(best, left < 0x80000000u ? left : 0);
  }
  return best;
}

}  // namespace fake

extern "C" HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID param) {
  Log(std::string("CreateWindowExA ") + (className ? className : "(null)"));
  // A clean slate, so that a refusal without an error reads as none.
  SetLastError(0);
  if (fake::Faulted(fake::Fault::CreateWindow)) {
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
  // The core makes top-level windows only. The framework's own handling of
  // the child style is what tests ask about, so a child is made as a
  // top-level window that keeps its style.
  const DWORD child = style & static_cast<DWORD>(WS_CHILD);
  const long classIndex = wm::CheckCreation(className, style & ~child, parent, &width, &height);
  if (classIndex < 0) {
    return nullptr;
  }
  HWND const handle = static_cast<HWND>(fake::NewHandle());
  wm::Window* window = new wm::Window{};
  wm::InitWindow(window, handle, static_cast<size_t>(classIndex), style, exStyle, title);
  wm::g_wm.windows.push_back(window);
  WindowRecord& record = s.windows[handle];
  record = WindowRecord{};
  record.state.windowRect = {x, y, x + width, y + height};
  record.state.lastShowCommand = -1;
  record.state.instance = instance;
  record.state.menu = menu;
  record.state.createParam = param;
  UpdateClientSize(record, style);
  s.lastCreated = handle;

  MINMAXINFO limits = {};
  CREATESTRUCTA create = wm::CreationRecord(exStyle, className, title, style, x, y, width, height,
                                            parent, menu, instance, param);
  if (!wm::SendCreation(window, &create, &limits)) {
    return nullptr;
  }
  // Pop-ups and children hear of their size now; an overlapped window when it
  // is first shown, as on Windows.
  if (style & static_cast<DWORD>(WS_POPUP | WS_CHILD)) {
    ReportSize(window);
    if (wm::FindWindow(handle) == nullptr) {
      return nullptr;
    }
  }
  return wm::FinishCreation(handle, style);
}

extern "C" BOOL ShowWindow(HWND handle, int command) {
  Log("ShowWindow " + std::to_string(command));
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  S().windows[handle].state.lastShowCommand = command;
  const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    return wasVisible;
  }
  if (wasVisible) {
    return wasVisible;
  }
  // Shown from hidden: the window needs painting and, unless it is only
  // minimised, becomes the active window with the focus at once, as on
  // Windows.
  window->style |= WS_VISIBLE;
  window->invalid = true;
  if (command != SW_MINIMIZE && S().foreground != handle) {
    HWND const previous = S().foreground;
    S().foreground = handle;
    if (wm::Window* before = wm::FindWindow(previous)) {
      wm::Send(before, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    if (wm::Window* now = wm::FindWindow(handle)) {
      wm::Send(now, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, command == SW_SHOWMINIMIZED), 0);
    }
    if (wm::FindWindow(handle) != nullptr) {
      wm::ChangeFocus(handle);
    }
  }
  window = wm::FindWindow(handle);
  if (window != nullptr && window->reportedWidth < 0) {
    ReportSize(window);
  }
  return wasVisible;
}

extern "C" BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
  Log("MoveWindow " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(width) +
      "," + std::to_string(height) + "," + std::to_string(repaint));
  if (fake::Faulted(fake::Fault::MoveWindow)) return FALSE;
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  WindowRecord& record = S().windows[handle];
  const int oldWidth = record.state.clientWidth;
  const int oldHeight = record.state.clientHeight;
  record.state.windowRect = {x, y, x + width, y + height};
  UpdateClientSize(record, window->style);
  if (record.state.clientWidth != oldWidth || record.state.clientHeight != oldHeight ||
      window->reportedWidth < 0) {
    ReportSize(window);
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

extern "C" BOOL SetForegroundWindow(HWND window) {
  Log("SetForegroundWindow");
  if (FindWin(window) == nullptr) return FALSE;
  S().foreground = window;
  return TRUE;
}

extern "C" HWND SetFocus(HWND window) {
  Log("SetFocus");
  HWND const previous = wm::g_wm.focus;
  if (window != nullptr && wm::RequireWindow(window) == nullptr) {
    return nullptr;
  }
  wm::ChangeFocus(window);
  return previous;
}

extern "C" HICON LoadIconA(HINSTANCE, LPCSTR name) {
  Log("LoadIconA " + std::to_string(reinterpret_cast<ULONG_PTR>(name)));
  static int icon;
  return reinterpret_cast<HICON>(&icon);
}
