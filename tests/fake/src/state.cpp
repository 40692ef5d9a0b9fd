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
  if (it == S().windows.end() || wm::FindWindow(window) == nullptr) {
    return nullptr;
  }
  return &it->second;
}

void Reset() {
  // The core forgets its windows without a message to them.
  for (wm::Window* window : wm::g_wm.windows) {
    delete window;
  }
  wm::g_wm = wm::State{};
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

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  wm::Post(window, message, wParam, lParam);
}
int QueuedMessages() { return static_cast<int>(wm::g_wm.posted.size()); }
bool QuitPosted() { return wm::g_wm.quitPosted; }
int QuitExitCode() { return wm::g_wm.quitCode; }
void ScriptWaitResult(DWORD result, DWORD advance) { S().waitScript.push_back({result, advance}); }
const std::vector<WaitCall>& WaitCalls() { return S().waitCalls; }
void SetWaitMessageAdvance(DWORD milliseconds) { S().waitMessageAdvance = milliseconds; }
const std::vector<MSG>& Dispatched() { return S().dispatched; }
int TranslateCalls() { return S().translateCalls; }

const std::vector<UINT>& DefWindowProcMessages() { return S().defMessages; }

void TakeCoreState(const wm::Window& window, WindowState* state) {
  state->className = wm::g_wm.classes[window.classIndex].name;
  state->title = window.title;
  state->style = window.style;
  state->exStyle = window.exStyle;
  state->visible = (window.style & WS_VISIBLE) != 0;
  state->timers = 0;
  for (const wm::Timer& timer : wm::g_wm.timers) {
    state->timers += timer.window == window.handle ? 1 : 0;
  }
}

WindowState Window(HWND window) {
  auto it = S().windows.find(window);
  if (it == S().windows.end()) {
    WindowState none = {};
    none.exists = false;
    none.lastShowCommand = -1;
    return none;
  }
  WindowState state = it->second.state;
  if (const wm::Window* live = wm::FindWindow(window)) {
    state.exists = true;
    TakeCoreState(*live, &state);
  }
  return state;
}

HWND LastCreatedWindow() { return S().lastCreated; }

int LiveWindows() { return static_cast<int>(wm::g_wm.windows.size()); }

HWND ForegroundWindow() { return S().foreground; }
HWND FocusWindow() { return wm::g_wm.focus; }

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
