#include "events.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "options.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct Field {
  const char* text;
  std::size_t length;
};

std::string Where(const std::string& fileName, std::size_t line) {
  return EscapeForMessage(fileName.data(), fileName.size()) + ":" + std::to_string(line) + ": ";
}

}  // namespace

bool ParseEvents(const std::string& text, const std::string& fileName, std::uint32_t frames,
                 std::vector<ReplayEvent>* events, std::string* error) {
  static const char* const kFieldNames[3] = {"FRAME", "MESSAGE", "WPARAM"};
  static const std::uint64_t kFieldMax[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, ~std::uint64_t{0}};

  events->clear();
  std::uint32_t lastFrame = 0;
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::size_t next = end + 1;
    ++lineNumber;

    // A trailing CR (CRLF files) and trailing blanks separate nothing.
    while (end > start && (IsBlank(text[end - 1]) || text[end - 1] == '\r')) --end;
    std::size_t pos = start;
    while (pos < end && IsBlank(text[pos])) ++pos;
    start = next;
    if (pos == end || text[pos] == '#') continue;

    Field fields[3];
    std::size_t count = 0;
    while (pos < end) {
      const std::size_t fieldStart = pos;
      while (pos < end && !IsBlank(text[pos])) ++pos;
      if (count < 3) fields[count] = Field{text.data() + fieldStart, pos - fieldStart};
      ++count;
      while (pos < end && IsBlank(text[pos])) ++pos;
    }
    if (count != 3) {
      *error = Where(fileName, lineNumber) + "expected 3 fields (FRAME MESSAGE WPARAM), found " +
               std::to_string(count);
      return false;
    }

    std::uint64_t values[3] = {0, 0, 0};
    for (int f = 0; f < 3; ++f) {
      if (!ParseUnsigned(fields[f].text, fields[f].length, kFieldMax[f], &values[f])) {
        *error = Where(fileName, lineNumber) + kFieldNames[f] + " " +
                 QuoteForMessage(fields[f].text, fields[f].length) + " is not an unsigned number of at most " +
                 (f == 2 ? "64" : "32") + " bits";
        return false;
      }
    }
    const std::uint64_t frame = values[0];
    if (frame < 1 || frame > frames) {
      *error = Where(fileName, lineNumber) + "FRAME " + std::to_string(frame) + " is outside 1 ... " +
               std::to_string(frames);
      return false;
    }
    if (frame < lastFrame) {
      *error = Where(fileName, lineNumber) + "FRAME " + std::to_string(frame) +
               " comes after FRAME " + std::to_string(lastFrame);
      return false;
    }
    lastFrame = static_cast<std::uint32_t>(frame);
    events->push_back(
        ReplayEvent{static_cast<std::uint32_t>(frame), static_cast<std::uint32_t>(values[1]), values[2]});
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
  text->clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = EscapeForMessage(path.data(), path.size()) + ": cannot be read: " + std::strerror(errno);
    return false;
  }
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    text->append(buffer, got);
    if (got < sizeof buffer) break;
  }
  const bool failed = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (failed) {
    *error = EscapeForMessage(path.data(), path.size()) + ": cannot be read: " + std::strerror(readErrno);
    return false;
  }
  return true;
}
