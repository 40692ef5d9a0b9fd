// The fake platform's one state record, shared by its source files.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_platform.h"

namespace fake {

struct FaultSetting {
  bool active = false;
  bool once = false;
  DWORD lastError = 0;
};

struct WindowClass {
  std::string name;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
};

struct TimerRecord {
  DWORD elapse;
  DWORD due;
};

struct WindowRecord {
  WindowState state;
  WNDPROC procedure = nullptr;
  LONG_PTR userData = 0;
  bool invalid = false;   // needs a WM_PAINT
  bool needSize = false;  // overlapped, no WM_SIZE yet: sent on first show
  std::map<UINT_PTR, TimerRecord> timers;
};

struct WaitScript {
  DWORD result;
  DWORD advance;
};

struct State {
  std::vector<std::string> calls;
  std::function<void(const std::string&)> hook;

  // The model's true time, and the steps its clocks and waits move in.
  unsigned long long trueMicroseconds = 0;
  unsigned long long tickStepMicroseconds = 1000;
  std::vector<UINT> timerPeriods;  // granted by timeBeginPeriod, not yet ended

  int allocationCalls = 0;
  int failAt = 0;
  bool failAfter = false;
  int liveBlocks = 0;

  FaultSetting moduleFault;
  bool wheelSucceeds = true;
  UINT wheelLines = 3;
  DWORD wheelError = ERROR_INVALID_PARAMETER;

  std::deque<MSG> queue;
  bool quitPending = false;
  int quitCode = 0;
  std::deque<WaitScript> waitScript;
  std::vector<WaitCall> waitCalls;
  DWORD waitMessageAdvance = 0;
  std::vector<MSG> dispatched;
  int translateCalls = 0;

  std::vector<SentMessage> sent;
  std::vector<UINT> defMessages;
  std::map<std::string, WindowClass> classes;
  std::map<HWND, WindowRecord> windows;
  ULONG_PTR nextHandle = 0x1000;
  HWND lastCreated = nullptr;
  HWND foreground = nullptr;
  HWND focus = nullptr;
  int defaultX = 26, defaultY = 26, defaultWidth = 800, defaultHeight = 600;

  int screenCx = 1920, screenCy = 1080;
  int fullCx = 1920, fullCy = 1057;
  bool modeChanged = false;
  DEVMODEA mode = {};
  DWORD modeFlags = 0;
  LONG displayRefusal = DISP_CHANGE_SUCCESSFUL;
  int cursorCount = 0;
  int swapBuffers = 0;
  int swapInterval = -1;

  std::set<HDC> deviceContexts;
  std::set<HGLRC> glContexts;
  HGLRC currentContext = nullptr;
  PIXELFORMATDESCRIPTOR lastPixelFormat = {};

  std::map<Fault, FaultSetting> faults;
};

// The next message the queue gives, by Windows' priorities: posted ones,
// then WM_QUIT, then WM_PAINT for a visible invalid window, then WM_TIMER for
// a due timer (rescheduled when removed). False when there is none.
bool NextMessage(MSG* msg, bool remove);
// Milliseconds until the next timer falls due (0 if one is), INFINITE if none.
DWORD UntilNextTimer();

State& S();

// Appends to the call log and runs the hook.
void Log(const std::string& entry);
// True (and sets the last error) when the fault is armed; a `once` fault
// disarms itself.
bool Faulted(Fault fault);
HANDLE NewHandle();
WindowRecord* FindWin(HWND window);
// Calls the window's procedure and records the message.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A timed wait of `milliseconds` runs out: the true time moves on to the
// first step of the wait timer at or after the time-out.
void WaitOut(DWORD milliseconds);

}  // namespace fake
