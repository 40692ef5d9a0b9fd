#include "sdl_test_support.h"

#include <cstdio>

namespace sdl_test {

std::vector<Recorded> g_log;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> g_answer;
const char kClassName[] = "SdlLayerTestClass";

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_log.push_back(Recorded{window, message, wParam, lParam});
  LRESULT result = 0;
  if (g_answer && g_answer(window, message, wParam, lParam, &result)) {
    return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void SdlTest::SetUp() {
  g_log.clear();
  g_answer = nullptr;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
}

void SdlTest::TearDown() {
  for (HWND window : windows_) {
    if (IsWindow(window)) {
      DestroyWindow(window);
    }
  }
  g_answer = nullptr;
  EXPECT_TRUE(UnregisterClassA(kClassName, GetModuleHandleA(nullptr)));
}

HWND SdlTest::MakeWindow(const char* title, bool show, int width, int height, DWORD style) {
  HWND window = CreateWindowExA(0, kClassName, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                                height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) {
    windows_.push_back(window);
    if (show) {
      ShowWindow(window, SW_SHOW);
    }
  }
  return window;
}

bool SdlTest::ShowAndActivate(HWND window) {
  ShowWindow(window, SW_SHOW);
  return PumpUntil([window] {
    for (const Recorded& r : g_log) {
      if (r.window == window && r.message == WM_ACTIVATE && LOWORD(r.wParam) == WA_ACTIVE) {
        return true;
      }
    }
    return false;
  });
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      if (done()) {
        return true;
      }
    }
    if (done()) {
      return true;
    }
    if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) {
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpFor(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

std::vector<Recorded> Seen(UINT message) {
  std::vector<Recorded> found;
  for (const Recorded& r : g_log) {
    if (r.message == message) {
      found.push_back(r);
    }
  }
  return found;
}

std::vector<UINT> MessageOrder() {
  std::vector<UINT> order;
  for (const Recorded& r : g_log) {
    order.push_back(r.message);
  }
  return order;
}

std::string Shell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return output;
  }
  char buffer[256];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
    output.append(buffer, got);
  }
  pclose(pipe);
  return output;
}

std::string WindowPixel(const std::string& title, int x, int y) {
  return Shell("id=$(xdotool search --onlyvisible --name '^" + title + "$' | head -1); "
               "[ -n \"$id\" ] && import -window \"$id\" -crop 1x1+" + std::to_string(x) + "+" +
               std::to_string(y) + " txt:- | tail -1");
}

}  // namespace sdl_test
