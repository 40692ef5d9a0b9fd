// The process entry point on Linux: hands over to the program's WinMain as
// Windows' start-up code does.
//
// The command line is the arguments after the program name, joined by
// spaces; an argument with a space or tab (or an empty one) is quoted. The
// show command is SW_SHOWDEFAULT. WinMain's result is returned as the exit
// status, of which Linux keeps only the low byte: an HRESULT such as
// 0x8007000E exits as 14. The stop-signal handlers go in first, so SIGINT,
// SIGTERM or SIGHUP during start-up also end the program as a close does.
#include <string>

#include "win32.h"

namespace sdl_layer {
void InstallStopSignals();  // sdl/stop_signals.cpp
}

int main(int argc, char** argv) {
  sdl_layer::InstallStopSignals();
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      commandLine += ' ';
    }
    const std::string argument = argv[i];
    if (argument.empty() || argument.find_first_of(" \t") != std::string::npos) {
      commandLine += '"' + argument + '"';
    } else {
      commandLine += argument;
    }
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, &commandLine[0], SW_SHOWDEFAULT);
}
