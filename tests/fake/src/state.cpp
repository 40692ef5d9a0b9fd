// The fake's state, log, faults and the test-side controls that only read or
// set the state.
#include "fake_state.h"

#include <cstring>

namespace fake {

State& S() {
  static State state;
  return state;
}

void Log(const std::string& entry) {
  State& s = S();
  s.calls.push_back(entry);
  if (s.hook) {
    // Copy: the hook may replace itself.
    std::function<void(const std::string&)> hook = s.hook;
    hook(entry);
  }
}

bool Faulted(Fault fault) {
  auto it = S().faults.find(fault);
  if (it == S().faults.end() || !it->second.active) {
    return false;
  }
  SetLastError(it->second.lastError);
  if (it->second.once) {
    it->second.active = false;
  }
  return true;
}

HANDLE NewHandle() {
  State& s = S();
  s.nextHandle += 0x10;
  return reinterpret_cast<HANDLE>(s.nextHandle);
}

WindowRecord* FindWin(HWND window) {
  auto it = S().windows.find(window);
  if (it == S().windows.end() || !it->second.state.exists) {
    return nullptr;
  }
  return &it->second;
}

void Reset() {
  // Blocks still live belong to whoever has them: the count runs on.
  const int liveBlocks = S().liveBlocks;
  S() = State();
  S().liveBlocks = liveBlocks;
  SetLastError(0);
}

const std::vector<std::string>& Calls() { return S().calls; }
void ClearCalls() { S().calls.clear(); }

static std::string NameOf(const std::string& entry) {
  const std::size_t space = entry.find(' ');
  return space == std::string::npos ? entry : entry.substr(0, space);
}

int CountCalls(const std::string& entry) {
  int count = 0;
  for (const std::string& call : S().calls) {
    count += call == entry ? 1 : 0;
  }
  return count;
}

int CountCallsNamed(const std::string& name) {
  int count = 0;
  for (const std::string& call : S().calls) {
    count += NameOf(call) == name ? 1 : 0;
  }
  return count;
}

int FindCall(const std::string& entry, int from) {
  const std::vector<std::string>& calls = S().calls;
  for (std::size_t i = from < 0 ? 0 : static_cast<std::size_t>(from); i < calls.size(); ++i) {
    if (calls[i] == entry) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void SetCallHook(std::function<void(const std::string&)> hook) { S().hook = std::move(hook); }

void FailAllocation(int nth, bool andAllAfter) {
  S().allocationCalls = 0;
  S().failAt = nth;
  S().failAfter = andAllAfter;
}
int AllocationCalls() { return S().allocationCalls; }
int LiveBlocks() { return S().liveBlocks; }

void FailGetModuleHandle(DWORD lastError) {
  S().moduleFault.active = true;
  S().moduleFault.lastError = lastError;
}

void SetWheelScrollLines(bool succeed, UINT lines, DWORD lastError) {
  S().wheelSucceeds = succeed;
  S().wheelLines = lines;
  S().wheelError = lastError;
}

int QueuedMessages() { return static_cast<int>(S().queue.size()); }
bool QuitPosted() { return S().quitPending; }
int QuitExitCode() { return S().quitCode; }
void ScriptWaitResult(DWORD result, DWORD advance) { S().waitScript.push_back({result, advance}); }
const std::vector<WaitCall>& WaitCalls() { return S().waitCalls; }
void SetWaitMessageAdvance(DWORD milliseconds) { S().waitMessageAdvance = milliseconds; }
const std::vector<MSG>& Dispatched() { return S().dispatched; }
int TranslateCalls() { return S().translateCalls; }

const std::vector<SentMessage>& SentMessages() { return S().sent; }
const std::vector<UINT>& DefWindowProcMessages() { return S().defMessages; }

WindowState Window(HWND window) {
  auto it = S().windows.find(window);
  if (it == S().windows.end()) {
    WindowState none = {};
    none.exists = false;
    none.lastShowCommand = -1;
    return none;
  }
  WindowState state = it->second.state;
  state.timers = static_cast<int>(it->second.timers.size());
  return state;
}

HWND LastCreatedWindow() { return S().lastCreated; }

int LiveWindows() {
  int count = 0;
  for (const auto& entry : S().windows) {
    count += entry.second.state.exists ? 1 : 0;
  }
  return count;
}

HWND ForegroundWindow() { return S().foreground; }
HWND FocusWindow() { return S().focus; }

void SetDefaultPlacement(int x, int y, int width, int height) {
  State& s = S();
  s.defaultX = x;
  s.defaultY = y;
  s.defaultWidth = width;
  s.defaultHeight = height;
}

void SetFullscreenMetrics(int cx, int cy) {
  S().fullCx = cx;
  S().fullCy = cy;
}
void SetScreenMetrics(int cx, int cy) {
  S().screenCx = cx;
  S().screenCy = cy;
}
bool DisplayModeChanged() { return S().modeChanged; }
DEVMODEA CurrentDisplayMode() { return S().mode; }
DWORD LastDisplayModeFlags() { return S().modeFlags; }
int CursorDisplayCount() { return S().cursorCount; }
int SwapBuffersCalls() { return S().swapBuffers; }
int SwapInterval() { return S().swapInterval; }

int LiveDeviceContexts() { return static_cast<int>(S().deviceContexts.size()); }
int LiveGLContexts() { return static_cast<int>(S().glContexts.size()); }
HGLRC CurrentGLContext() { return S().currentContext; }
PIXELFORMATDESCRIPTOR LastPixelFormatRequest() { return S().lastPixelFormat; }

void Inject(Fault fault, DWORD lastError, bool once) {
  FaultSetting& setting = S().faults[fault];
  setting.active = true;
  setting.once = once;
  setting.lastError = lastError;
}

void RefuseDisplayChange(LONG result) { S().displayRefusal = result; }

}  // namespace fake
