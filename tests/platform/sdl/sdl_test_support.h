// Helpers for the SDL layer's integration tests: a recording window class,
// message pumping with a deadline, and shell commands against the X session.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32.h"

namespace sdl_test {

struct Recorded {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Every message the recording procedure sees, in order.
extern std::vector<Recorded> g_log;
// Optional override: return true and set *result to answer a message
// instead of DefWindowProcA.
extern std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> g_answer;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern const char kClassName[];

// Registers kClassName with RecordingProc; destroys leftover windows and
// unregisters it afterwards.
class SdlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A top-level window of the test class (client size width x height).
  HWND MakeWindow(const char* title, bool show, int width = 640, int height = 480,
                  DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  // Shows the window and waits until it is active (WM_ACTIVATE WA_ACTIVE).
  bool ShowAndActivate(HWND window);
  std::vector<HWND> windows_;
};

// Dispatches messages (PeekMessageA / TranslateMessage / DispatchMessageA)
// until `done` holds or `timeoutMs` pass; returns whether it held.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
void PumpFor(int milliseconds);

// Messages of one kind seen so far, in order.
std::vector<Recorded> Seen(UINT message);
std::vector<UINT> MessageOrder();

// Runs a shell command in the test's X session and returns its output.
std::string Shell(const std::string& command);

// The pixel at x, y of the visible window titled `title`, as ImageMagick's
// txt: line; empty if no such window is visible. Never runs `import` without
// a window: it would wait for a mouse click that never comes.
std::string WindowPixel(const std::string& title, int x, int y);

}  // namespace sdl_test
