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
