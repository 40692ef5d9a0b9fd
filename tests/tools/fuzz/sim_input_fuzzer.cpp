// libFuzzer target: any bytes through drovane-sim's option and events
// parsers. The input is an events file; its first line, when it reads
// "# args: ...", also gives the command line (words split at blanks and NUL
// bytes), as in the replay goldens. Every input must be accepted or refused
// with a one-line message; an accepted events file must hold what the tool
// relies on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "events.h"
#include "options.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\0'; }

void CheckMessage(const std::string& error) {
  Check(!error.empty());
  for (char c : error) Check(c >= 0x20 && c <= 0x7E);
}

std::vector<std::string> ArgsLine(const std::string& text) {
  std::vector<std::string> words;
  static const char kPrefix[] = "# args:";
  if (text.compare(0, sizeof kPrefix - 1, kPrefix) != 0) return words;
  const std::size_t end = std::min(text.find('\n'), text.size());
  std::size_t pos = sizeof kPrefix - 1;
  while (pos < end) {
    while (pos < end && IsBlank(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < end && !IsBlank(text[pos])) ++pos;
    if (pos > start) words.push_back(text.substr(start, pos - start));
  }
  return words;
}

// Lines that are neither blank nor comments: each is exactly one event.
std::size_t EventLines(const std::string& text) {
  std::size_t count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::size_t pos = start;
    while (pos < end && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r')) ++pos;
    if (pos < end && text[pos] != '#') ++count;
    start = end + 1;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> words = ArgsLine(text);
  std::vector<const char*> argv{"drovane-sim"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  ReplayOptions options;
  std::string error;
  if (!ParseOptions(static_cast<int>(argv.size()), argv.data(), &options, &error)) {
    CheckMessage(error);
    options = ReplayOptions();
  }

  std::vector<ReplayEvent> events;
  error.clear();
  if (!ParseEvents(text, "fuzz.events", options.frames, &events, &error)) {
    CheckMessage(error);
    Check(error.compare(0, 12, "fuzz.events:") == 0);
    return 0;
  }
  Check(events.size() == EventLines(text));
  std::uint32_t last = 1;
  for (const ReplayEvent& event : events) {
    Check(event.frame >= last && event.frame <= options.frames);
    last = event.frame;
  }
  return 0;
}
