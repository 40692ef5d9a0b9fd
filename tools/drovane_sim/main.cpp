// drovane-sim: replays the simulation headless and prints its whole state.
// Every input is checked before anything is printed; a bad input gives one
// line on stderr, nothing on stdout and exit status 2.
#include <cstdio>
#include <string>
#include <vector>

#include "binary_stdout.h"
#include "events.h"
#include "options.h"
#include "replay.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "drovane-sim: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  ReplayOptions options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) return Fail(error);
  if (options.info == InfoRequest::kHelp) {
    std::fputs(kUsage, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (options.info == InfoRequest::kVersion) {
    std::printf("drovane-sim %s\n", DROVANE_VERSION);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  std::vector<ReplayEvent> events;
  if (options.hasEvents) {
    std::string text;
    if (!ReadWholeFile(options.eventsPath, &text, &error)) return Fail(error);
    if (!ParseEvents(text, options.eventsPath, options.frames, &events, &error)) return Fail(error);
  }

  // The output is compared byte for byte across builds: no CRLF on Windows.
  SetStdoutBinary();
  const bool written = RunReplay(options, events, stdout);
  if (!written || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "drovane-sim: writing the output failed\n");
    return 1;
  }
  return 0;
}
