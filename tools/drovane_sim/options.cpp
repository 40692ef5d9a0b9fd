#include "options.h"

#include <cstring>

namespace {

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

const char kUsage[] =
    "Usage: drovane-sim [--frames N] [--start-tick T] [--frame-ms M]\n"
    "                   [--events FILE] [--dump-every K] [--wheel-lines L]\n"
    "       drovane-sim --help | --version\n"
    "Runs the Drovane 3D simulation headless with a scripted clock and input,\n"
    "and prints its whole state on standard output.\n"
    "\n"
    "  --frames N        frames to run (default 600)\n"
    "  --start-tick T    the clock while the game is set up, which seeds the\n"
    "                    first game (default 0)\n"
    "  --frame-ms M      how far the clock advances per frame (default 17)\n"
    "  --events FILE     scripted messages, one FRAME MESSAGE WPARAM a line\n"
    "  --dump-every K    also print the state after every K-th frame\n"
    "                    (default 0: only frame 0 and the last frame)\n"
    "  --wheel-lines L   the wheel's scroll-lines setting (default 3)\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n"
    "\n"
    "Numbers are unsigned, decimal or hexadecimal with 0x; option values fit\n"
    "32 bits, WPARAM 64. Exit status: 0 success, 1 output could not be\n"
    "written, 2 bad option or events file (one line on standard error).\n";

std::string EscapeForMessage(const char* text, std::size_t length) {
  static const char kHex[] = "0123456789abcdef";
  std::string quoted;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c > 0x7E) {
      quoted += "\\x";
      quoted += kHex[c >> 4];
      quoted += kHex[c & 15];
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted;
}

std::string QuoteForMessage(const char* text, std::size_t length) {
  return "'" + EscapeForMessage(text, length) + "'";
}

std::string QuoteForMessage(const std::string& text) {
  return QuoteForMessage(text.data(), text.size());
}

bool ParseUnsigned(const char* text, std::size_t length, std::uint64_t max, std::uint64_t* value) {
  bool hex = false;
  std::size_t i = 0;
  if (length >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    i = 2;
  }
  if (i == length) return false;  // empty, or a bare 0x
  const std::uint64_t base = hex ? 16u : 10u;
  std::uint64_t result = 0;
  for (; i < length; ++i) {
    const int digit = DigitValue(text[i], hex);
    if (digit < 0) return false;
    const std::uint64_t d = static_cast<std::uint64_t>(digit);
    if (result > (max - d) / base) return false;  // result * base + d > max
    result = result * base + d;
  }
  *value = result;
  return true;
}

bool ParseUnsigned(const std::string& text, std::uint64_t max, std::uint64_t* value) {
  return ParseUnsigned(text.data(), text.size(), max, value);
}

bool ParseOptions(int argc, const char* const* argv, ReplayOptions* options, std::string* error) {
  struct NumberOption {
    const char* name;
    std::uint32_t ReplayOptions::*field;
  };
  static const NumberOption kNumberOptions[] = {
      {"--frames", &ReplayOptions::frames},
      {"--start-tick", &ReplayOptions::startTick},
      {"--frame-ms", &ReplayOptions::frameMs},
      {"--dump-every", &ReplayOptions::dumpEvery},
      {"--wheel-lines", &ReplayOptions::wheelLines},
  };

  for (const InfoRequest request : {InfoRequest::kHelp, InfoRequest::kVersion}) {
    const char* name = request == InfoRequest::kHelp ? "--help" : "--version";
    for (int i = 1; i < argc; ++i) {
      if (std::strcmp(argv[i], name) == 0) {
        options->info = request;
        return true;
      }
    }
  }

  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const NumberOption* number = nullptr;
    for (const NumberOption& candidate : kNumberOptions) {
      if (std::strcmp(arg, candidate.name) == 0) number = &candidate;
    }
    const bool isEvents = std::strcmp(arg, "--events") == 0;
    if (number == nullptr && !isEvents) {
      if (arg[0] == '-') {
        *error = "unknown option " + QuoteForMessage(arg, std::strlen(arg));
      } else {
        *error = "unexpected argument " + QuoteForMessage(arg, std::strlen(arg)) +
                 " (drovane-sim takes options only)";
      }
      return false;
    }
    if (i + 1 >= argc) {
      *error = std::string(arg) + ": missing value";
      return false;
    }
    const char* value = argv[++i];
    if (isEvents) {
      options->hasEvents = true;
      options->eventsPath = value;
      continue;
    }
    std::uint64_t parsed = 0;
    if (!ParseUnsigned(value, std::strlen(value), 0xFFFFFFFFu, &parsed)) {
      *error = std::string(arg) + ": " + QuoteForMessage(value, std::strlen(value)) +
               " is not an unsigned number of at most 32 bits (decimal, or hexadecimal with 0x)";
      return false;
    }
    options->*(number->field) = static_cast<std::uint32_t>(parsed);
  }
  return true;
}
