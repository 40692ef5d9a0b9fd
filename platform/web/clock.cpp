// The clocks on the browser's monotonic clock (performance.now in a page,
// the process clock in node). GetTickCount and timeGetTime both count
// milliseconds, truncated to 32 bits as on Windows. A page started with
// ?tick=N holds the clock at N until its first frame is presented, so that
// start-up and the first frame see the same tick on every run.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "web_clock.h"
#include "win32.h"

namespace {
double g_origin = -1.0;    // emscripten_get_now() at tick g_startTick
DWORD g_startTick = 0;
bool g_held = false;

// Windows' tick count is the time since the machine started, different on
// every run, and the program seeds its games from it: start from the wall
// clock so that pages opened at different times play different games.
double Origin() {
  if (g_origin < 0.0) {
    g_origin = emscripten_get_now();
    g_startTick = static_cast<DWORD>(std::fmod(emscripten_date_now(), 4294967296.0));
  }
  return g_origin;
}
}  // namespace

void WebSetStartTick(DWORD tick) {
  g_origin = emscripten_get_now();
  g_startTick = tick;
  g_held = true;
}

void WebReleaseClock() {
  if (g_held) {
    g_held = false;
    g_origin = emscripten_get_now();
  }
}

DWORD WebTickNow() {
  if (g_held) return g_startTick;
  const double elapsed = emscripten_get_now() - Origin();
  return g_startTick + static_cast<DWORD>(static_cast<unsigned long long>(elapsed));
}

extern "C" DWORD GetTickCount(void) { return WebTickNow(); }

// The browser clock is already fine-grained: the period requests only need
// to pair up as Windows' do.
extern "C" DWORD timeGetTime(void) { return WebTickNow(); }
extern "C" UINT timeBeginPeriod(UINT period) { return period == 0 ? 97u : 0u; }
extern "C" UINT timeEndPeriod(UINT period) { return period == 0 ? 97u : 0u; }
