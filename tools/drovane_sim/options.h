// Command-line options of drovane-sim and the number syntax they share with
// the events file. Pure functions: no I/O, so tests can call them directly.
#pragma once

#include <cstdint>
#include <string>

// What the command line asks for besides a replay.
enum class InfoRequest { kNone, kHelp, kVersion };

struct ReplayOptions {
  InfoRequest info = InfoRequest::kNone;  // set: print it, run nothing
  std::uint32_t frames = 600;
  std::uint32_t startTick = 0;
  std::uint32_t frameMs = 17;
  std::uint32_t dumpEvery = 0;   // 0: only frame 0 and the last frame
  std::uint32_t wheelLines = 3;
  bool hasEvents = false;
  std::string eventsPath;
};

// An unsigned number: decimal digits, or 0x / 0X followed by hexadecimal
// digits; nothing else (no sign, no blanks). Fails when it exceeds max.
bool ParseUnsigned(const char* text, std::size_t length, std::uint64_t max, std::uint64_t* value);
bool ParseUnsigned(const std::string& text, std::uint64_t max, std::uint64_t* value);

// text with control characters and bytes above 0x7E written as \xNN, so
// that an error message stays on one line; Quote also puts it in quotes.
std::string EscapeForMessage(const char* text, std::size_t length);
std::string QuoteForMessage(const char* text, std::size_t length);
std::string QuoteForMessage(const std::string& text);

// The --help text, ending in a newline.
extern const char kUsage[];

// Reads argv[1 ... argc-1] into *options, starting from the defaults.
// On failure returns false with a one-line message naming the option.
// --help, then --version, anywhere on the line wins over everything else,
// errors included: options->info says which, the rest is left unread.
bool ParseOptions(int argc, const char* const* argv, ReplayOptions* options, std::string* error);
