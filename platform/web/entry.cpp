// main() for the page: reads the page's diagnostics and settings, installs
// its event handlers and hands over to the program's WinMain.
//
// Settings: the page may keep a settings file in localStorage
//   (web_settings.h); it is put where the settings code reads it before the
//   program starts.
// Diagnostics: ?tick=N starts the millisecond clocks at N (the simulation's
//   random layout follows from the tick the program starts at).
#include <emscripten.h>

#include <cstdlib>

#include "webgl_context.h"
#include "web_clock.h"
#include "web_settings.h"
#include "web_state.h"

namespace {

// -1 when absent or not a 32-bit number.
EM_JS(double, web_start_tick, (void), {
  var value = new URLSearchParams(window.location.search).get("tick");
  if (value === null || !/^[0-9]+$/.test(value)) return -1;
  var n = Number(value);
  return n <= 4294967295 ? n : -1;
});

// The page's status line says how the program ended: there is no console
// to read an exit code from. Only a browser that gave no WebGL 2 context is
// told it lacks WebGL 2; any other failure shows its code.
EM_JS(void, web_report_exit, (int result, int noWebGl2), {
  var line = document.getElementById("status");
  if (!line) return;
  var code = "0x" + (result >>> 0).toString(16);
  if (result == 0) {
    line.textContent = "The game has ended. Reload the page to play again.";
  } else if (noWebGl2) {
    line.textContent = "The game needs WebGL 2, which this browser does not offer or has turned off " +
                       "(error " + code + ").";
  } else {
    line.textContent = "The game stopped on error " + code + ". Reload the page to try again.";
  }
});

}  // namespace

int main() {
  WebInstallSettings();
  const double tick = web_start_tick();
  if (tick >= 0.0) WebSetStartTick(static_cast<DWORD>(tick));
  web_layer::InstallInput();
  web_layer::InstallTouch();
  char commandLine[] = "";
  const int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
  web_report_exit(result, WebGlUnavailable() ? 1 : 0);
  return result;
}
