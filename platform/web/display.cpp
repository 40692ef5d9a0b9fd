// Display modes and screen metrics in the page.
//
// Supports: ChangeDisplaySettingsA to the modes the SDL layer offers too
//   (display_modes.cpp: the common sizes that fit the screen, and the
//   screen's own size, at 32 bits); any other mode is one the display
//   lacks, as on Windows. The canvas asks the browser for full screen (the
//   Fullscreen API) and the program waits for the answer; a refusal (no
//   user gesture, a browser setting, an iframe without permission) is a
//   failed mode change. In full screen a WS_POPUP window's drawing buffer
//   has the mode's size and the page scales it to fit the screen.
//   ChangeDisplaySettingsA(nullptr, 0) leaves full screen. GetSystemMetrics
//   gives the screen's size in CSS pixels.
// Lacks: refresh rates, CDS_TEST, noticing that the user left full screen
//   with Escape (the drawing buffer then stays at the mode's size, scaled).
#include <emscripten.h>
#include <emscripten/html5.h>

#include "display_modes.h"
#include "web_state.h"

namespace {

using web_layer::g_web;

EM_ASYNC_JS(int, web_enter_fullscreen, (void), {
  var canvas = document.getElementById("canvas");
  if (!canvas || !canvas.requestFullscreen) return 0;
  try {
    await canvas.requestFullscreen({navigationUI : "hide"});
    return 1;
  } catch (e) {
    return 0;
  }
});

EM_ASYNC_JS(void, web_leave_fullscreen, (void), {
  if (!document.fullscreenElement) return;
  try {
    await document.exitFullscreen();
  } catch (e) {
  }
});

EM_JS(void, web_size_canvas, (int width, int height), {
  var canvas = document.getElementById("canvas");
  if (!canvas) return;
  canvas.width = width;
  canvas.height = height;
  // Windowed, one drawing-buffer pixel per CSS pixel; in full screen the
  // page's style sheet scales the canvas to fit.
  canvas.style.width = width + "px";
  canvas.style.height = height + "px";
});

EM_JS(int, web_screen_width, (void), { return screen.width | 0; });
EM_JS(int, web_screen_height, (void), { return screen.height | 0; });

}  // namespace

namespace web_layer {
void SizeCanvas(int width, int height) { web_size_canvas(width, height); }
}  // namespace web_layer

extern "C" LONG ChangeDisplaySettingsA(DEVMODEA* request, DWORD) {
  if (request == nullptr) {
    g_web.modeSet = false;
    web_leave_fullscreen();
    return DISP_CHANGE_SUCCESSFUL;
  }
  wm::ModeSize size{};
  if (!wm::OfferedMode(*request, web_screen_width(), web_screen_height(), &size)) {
    return DISP_CHANGE_BADMODE;
  }
  if (!web_enter_fullscreen()) {
    return DISP_CHANGE_FAILED;
  }
  g_web.modeSet = true;
  g_web.modeWidth = size.width;
  g_web.modeHeight = size.height;
  return DISP_CHANGE_SUCCESSFUL;
}

extern "C" int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return web_screen_width();
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
      return web_screen_height();
    default:
      return 0;
  }
}
