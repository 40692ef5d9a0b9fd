// The fake platform's one state record, shared by its source files. Windows,
// classes, the queue and timers are the core's (wm_state.h).
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "wm_state.h"

namespace fake {

struct FaultSetting {
  bool active = false;
  bool once = false;
  DWORD lastError = 0;
};

// What the fake keeps of a window beside the core's record: its place and
// size, and what it was made with. It outlives the window, marked gone.
struct WindowRecord {
  WindowState state;
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

  std::deque<WaitScript> waitScript;
  std::vector<WaitCall> waitCalls;
  DWORD waitMessageAdvance = 0;
  std::vector<MSG> dispatched;
  int translateCalls = 0;

  std::vector<UINT> defMessages;
  std::map<HWND, WindowRecord> windows;
  ULONG_PTR nextHandle = 0x1000;
  HWND lastCreated = nullptr;
  HWND foreground = nullptr;
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

// Milliseconds until the next timer falls due (0 if one is), INFINITE if none.
DWORD UntilNextTimer();

State& S();

// Appends to the call log and runs the hook.
void Log(const std::string& entry);
// True (and sets the last error) when the fault is armed; a `once` fault
// disarms itself.
bool Faulted(Fault fault);
HANDLE NewHandle();
// The fake's record of a window the core has, else null.
WindowRecord* FindWin(HWND window);
// Copies what the core keeps of a live window into the test's view of it.
void TakeCoreState(const wm::Window& window, WindowState* state);
// A timed wait of `milliseconds` runs out: the true time moves on to the
// first step of the wait timer at or after the time-out.
void WaitOut(DWORD milliseconds);

}  // namespace fake
