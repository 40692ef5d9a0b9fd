// Yielding to the browser, and the page's frame timings.
//
// The frame timings (window.drovaneFrames: count, main-thread milliseconds
// from waking to presenting) serve the diagnostics of tests/web and anyone
// measuring in the browser's console.
#include <emscripten.h>

#include "web_clock.h"
#include "web_yield.h"

namespace {

bool g_yielded = true;

EM_JS(void, web_mark_awake, (void), {
  window.drovaneFrames = window.drovaneFrames || {count : 0, busyMs : 0, maxMs : 0, awake : 0};
  window.drovaneFrames.awake = performance.now();
});

EM_JS(void, web_frame_done, (void), {
  var f = window.drovaneFrames;
  if (!f) f = window.drovaneFrames = {count : 0, busyMs : 0, maxMs : 0, awake : performance.now()};
  var busy = performance.now() - f.awake;
  f.count += 1;
  f.samples = f.samples || [];
  if (f.samples.length < 4096) f.samples.push(busy);
  f.busyMs += busy;
  if (busy > f.maxMs) f.maxMs = busy;
  if (typeof window.drovaneOnFrame === "function") window.drovaneOnFrame(f.count);
});

}  // namespace

namespace web_layer {

void Sleep(DWORD milliseconds) {
  g_yielded = true;
  emscripten_sleep(milliseconds);
}

void MarkAwake() { web_mark_awake(); }

void FramePresented() {
  web_frame_done();
  WebReleaseClock();
  if (!g_yielded) emscripten_sleep(0);
  // The next frame's time counts from here even when the program draws it
  // at once, without a wait (catching up): else it would count this one's.
  web_mark_awake();
  g_yielded = false;
}

}  // namespace web_layer
