// The canvas's touch events to window messages, through TouchGestures.
//
// Supports: the gestures touch_gestures.h describes, sent to the focused
//   window as a keyboard and wheel would send them: WM_KEYDOWN / WM_KEYUP
//   with lParam as Windows builds it (scan code, extended bit, previous
//   state and transition bits), WM_CHAR 'r' after the R key goes down, and
//   WM_MOUSEWHEEL. The canvas's touches are kept from the browser, so it
//   neither scrolls nor zooms the page under them nor makes mouse events of
//   them.
// Lacks: pointer events from pens and mice (the keyboard and wheel serve
//   them).
// Depends on: emscripten/html5.h, the shared queue (web_state.h).
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include "touch_gestures.h"
#include "web_state.h"

namespace {

struct KeyScan {
  WPARAM key;
  unsigned scan;
  bool extended;
};

// PC set-1 scan codes of the keys the gestures press.
constexpr KeyScan kScans[] = {
    {VK_UP, 0x48, true},          {VK_DOWN, 0x50, true},        {VK_LEFT, 0x4B, true},
    {VK_RIGHT, 0x4D, true},       {VK_OEM_PLUS, 0x0D, false},   {VK_OEM_MINUS, 0x0C, false},
    {'R', 0x13, false},
};

class MessageSink : public web_layer::GestureSink {
 public:
  void Key(WPARAM key, bool down) override {
    web_layer::Window* window = web_layer::FindWindow(wm::g_wm.focus);
    if (window == nullptr) return;
    DWORD bits = 1u;
    for (const KeyScan& entry : kScans) {
      if (entry.key == key) bits |= (entry.scan << 16) | (entry.extended ? 1u << 24 : 0u);
    }
    if (!down) bits |= (1u << 30) | (1u << 31);
    web_layer::Post(window->handle, down ? WM_KEYDOWN : WM_KEYUP, key, static_cast<LPARAM>(bits));
    if (down && key == 'R') web_layer::Post(window->handle, WM_CHAR, 'r', static_cast<LPARAM>(bits));
  }

  void Wheel(int delta) override {
    web_layer::Window* window = web_layer::FindWindow(wm::g_wm.focus);
    if (window == nullptr) return;
    web_layer::Post(window->handle, WM_MOUSEWHEEL,
                    MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
  }
};

MessageSink g_sink;
web_layer::TouchGestures g_gestures(&g_sink);
long g_zoomTimer = 0;  // ends a resting pinch's zoom, or 0

void OnZoomRested(void*) {
  g_zoomTimer = 0;
  g_gestures.StopZoom();
}

EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* event, void*) {
  // When the touch happened, not when a busy page got round to it: a
  // double tap stays one however late its events are handled.
  const double now = event->timestamp;
  const unsigned zoomSteps = g_gestures.ZoomSteps();
  if (type == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
    g_gestures.Cancel();
  } else {
    for (int i = 0; i < event->numTouches; ++i) {
      const EmscriptenTouchPoint& touch = event->touches[i];
      if (!touch.isChanged) continue;
      const double x = static_cast<double>(touch.targetX), y = static_cast<double>(touch.targetY);
      switch (type) {
        case EMSCRIPTEN_EVENT_TOUCHSTART: g_gestures.Start(touch.identifier, x, y, now); break;
        case EMSCRIPTEN_EVENT_TOUCHMOVE: g_gestures.Move(touch.identifier, x, y); break;
        default: g_gestures.End(touch.identifier, now); break;
      }
    }
    if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) g_gestures.Moved();
  }
  if (g_gestures.ZoomSteps() != zoomSteps) {
    if (g_zoomTimer != 0) emscripten_clear_timeout(g_zoomTimer);
    g_zoomTimer = emscripten_set_timeout(OnZoomRested, web_layer::TouchGestures::kZoomHoldMs, nullptr);
  }
  return EM_TRUE;  // the page must not scroll, zoom or click under the game
}

}  // namespace

namespace web_layer {

void InstallTouch() {
  emscripten_set_touchstart_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchmove_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchend_callback("#canvas", nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchcancel_callback("#canvas", nullptr, EM_TRUE, OnTouch);
}

}  // namespace web_layer
