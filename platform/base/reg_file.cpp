#include "reg_file.h"

#include <cstring>
#include <unordered_map>
#include <utility>

namespace {

// The registry's own type numbers; this file must not depend on win32.h so
// that the fuzzer can build it alone.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

const char kHeader5[] = "Windows Registry Editor Version 5.00";
const char kHeader4[] = "REGEDIT4";

// ---------------------------------------------------------------------------
// Text decoding
// ---------------------------------------------------------------------------

void AppendUtf8(std::string* out, std::uint32_t cp) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// UTF-16LE to UTF-8. A trailing odd byte is dropped; a lone surrogate becomes
// U+FFFD, so any input gives valid output.
std::string Utf16LeToUtf8(const std::uint8_t* bytes, std::size_t size) {
  std::string out;
  out.reserve(size);
  const std::size_t units = size / 2;
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t unit = static_cast<std::uint32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
      std::uint32_t next =
          static_cast<std::uint32_t>(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8));
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(&out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      unit = 0xFFFD;
    }
    AppendUtf8(&out, unit);
  }
  return out;
}

// The file as 8-bit text: UTF-16LE (with its BOM) is converted to UTF-8, a
// UTF-8 BOM is dropped, anything else is taken as it is.
std::string DecodeText(const std::uint8_t* bytes, std::size_t size) {
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    return Utf16LeToUtf8(bytes + 2, size - 2);
  }
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    return std::string(reinterpret_cast<const char*>(bytes + 3), size - 3);
  }
  return std::string(reinterpret_cast<const char*>(bytes), size);
}

// ---------------------------------------------------------------------------
// Lines and characters
// ---------------------------------------------------------------------------

struct Line {
  const char* begin;
  const char* end;
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* lineEnd = eol != nullptr ? eol : end;
    const char* trimmed = lineEnd;
    if (trimmed > p && trimmed[-1] == '\r') {
      --trimmed;
    }
    lines.push_back(Line{p, trimmed});
    p = eol != nullptr ? eol + 1 : end;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p, const char* end) {
  while (p < end && IsBlank(*p)) {
    ++p;
  }
  return p;
}

const char* TrimTrailingBlanks(const char* begin, const char* end) {
  while (end > begin && (IsBlank(end[-1]) || end[-1] == '\r')) {
    --end;
  }
  return end;
}

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(const char* a, std::size_t aSize, const char* b, std::size_t bSize) {
  if (aSize != bSize) {
    return false;
  }
  for (std::size_t i = 0; i < aSize; ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) {
      return false;
    }
  }
  return true;
}

bool StartsWithIgnoringCase(const char* p, const char* end, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  return static_cast<std::size_t>(end - p) >= n && EqualsIgnoringCase(p, n, prefix, n);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// ---------------------------------------------------------------------------
// Value lines
// ---------------------------------------------------------------------------

// A quoted string starting at the opening quote; \\ and \" are escapes, any
// other backslash stands for itself. Returns the position after the closing
// quote, or null if the line ends first.
const char* ReadQuoted(const char* p, const char* end, std::string* out) {
  ++p;  // opening quote
  while (p < end) {
    char c = *p++;
    if (c == '"') {
      return p;
    }
    if (c == '\\' && p < end && (*p == '\\' || *p == '"')) {
      c = *p++;
    }
    out->push_back(c);
  }
  return nullptr;
}

// Reads up to 8 hex digits as a 32-bit number; null unless at least one digit
// and no more than 8 were there.
const char* ReadHexNumber(const char* p, const char* end, std::uint32_t* out) {
  std::uint32_t value = 0;
  int digits = 0;
  while (p < end && HexDigit(*p) >= 0) {
    if (++digits > 8) {
      return nullptr;
    }
    value = (value << 4) | static_cast<std::uint32_t>(HexDigit(*p));
    ++p;
  }
  *out = value;
  return digits > 0 ? p : nullptr;
}

// The comma-separated bytes of hex data, from `p` on line `*index` and on
// continuation lines (a line ending with a backslash goes on at the next
// line). On success `*index` is the last line used. A continuation into a
// line that does not start with a hex digit is malformed, and that line is
// left for the caller.
bool ReadHexBytes(const std::vector<Line>& lines, std::size_t* index, const char* p,
                  std::vector<std::uint8_t>* out) {
  std::size_t i = *index;
  const char* end = TrimTrailingBlanks(p, lines[i].end);
  bool expectByte = true;  // at the start, or after a comma
  for (;;) {
    p = SkipBlanks(p, end);
    if (p == end) {
      break;
    }
    if (*p == '\\' && p + 1 == end) {
      // Continuation: allowed after a comma, or at the very start.
      if (!expectByte || i + 1 >= lines.size()) {
        return false;
      }
      const char* next = SkipBlanks(lines[i + 1].begin, lines[i + 1].end);
      if (next == lines[i + 1].end || HexDigit(*next) < 0) {
        return false;
      }
      ++i;
      p = next;
      end = TrimTrailingBlanks(p, lines[i].end);
      continue;
    }
    if (expectByte) {
      int hi = HexDigit(*p);
      if (hi < 0) {
        return false;
      }
      ++p;
      int value = hi;
      if (p < end && HexDigit(*p) >= 0) {
        value = value * 16 + HexDigit(*p);
        ++p;
      }
      out->push_back(static_cast<std::uint8_t>(value));
      expectByte = false;
    } else {
      if (*p != ',') {
        return false;
      }
      ++p;
      expectByte = true;
    }
  }
  *index = i;
  return true;
}

enum class Data { kValue, kDelete, kMalformed };

// The data part of a value line, after the '='.
Data ReadData(const std::vector<Line>& lines, std::size_t* index, const char* p, bool unicodeFile,
              RegFileValue* value) {
  const char* end = TrimTrailingBlanks(p, lines[*index].end);
  p = SkipBlanks(p, end);
  if (p < end && *p == '-' && p + 1 == end) {
    return Data::kDelete;
  }
  if (p < end && *p == '"') {
    std::string text;
    p = ReadQuoted(p, end, &text);
    if (p == nullptr || SkipBlanks(p, end) != end) {
      return Data::kMalformed;
    }
    value->type = kRegSz;
    value->data.assign(text.begin(), text.end());
    value->data.push_back(0);
    return Data::kValue;
  }
  if (StartsWithIgnoringCase(p, end, "dword:")) {
    std::uint32_t number = 0;
    p = ReadHexNumber(p + 6, end, &number);
    if (p == nullptr || SkipBlanks(p, end) != end) {
      return Data::kMalformed;
    }
    value->type = kRegDword;
    for (int shift = 0; shift < 32; shift += 8) {
      value->data.push_back(static_cast<std::uint8_t>(number >> shift));
    }
    return Data::kValue;
  }
  if (!StartsWithIgnoringCase(p, end, "hex")) {
    return Data::kMalformed;
  }
  p += 3;
  value->type = kRegBinary;
  if (p < end && *p == '(') {
    p = ReadHexNumber(p + 1, end, &value->type);
    if (p == nullptr || p == end || *p != ')') {
      return Data::kMalformed;
    }
    ++p;
  }
  if (p == end || *p != ':') {
    return Data::kMalformed;
  }
  std::vector<std::uint8_t> bytes;
  if (!ReadHexBytes(lines, index, p + 1, &bytes)) {
    return Data::kMalformed;
  }
  const bool stringType =
      value->type == kRegSz || value->type == kRegExpandSz || value->type == kRegMultiSz;
  if (unicodeFile && stringType) {
    // Stored as UTF-16LE; the ANSI query converts it.
    std::string text = Utf16LeToUtf8(bytes.data(), bytes.size());
    value->data.assign(text.begin(), text.end());
  } else {
    value->data = std::move(bytes);
  }
  return Data::kValue;
}

// The key's values while the file is read, by case-folded name, so that a
// file with very many values still reads in linear time.
using ValueMap = std::unordered_map<std::string, RegFileValue>;

std::string FoldedName(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    c = FoldCase(c);
  }
  return folded;
}

// Whether `path` is `keyPath` or one of its ancestors (a deleted ancestor
// takes the key with it).
bool CoversKey(const char* path, std::size_t pathSize, const char* keyPath, std::size_t keySize) {
  if (pathSize > keySize || !EqualsIgnoringCase(path, pathSize, keyPath, pathSize)) {
    return false;
  }
  return pathSize == keySize || keyPath[pathSize] == '\\';
}

}  // namespace

RegFileKey ParseRegFileKey(const std::uint8_t* bytes, std::size_t size, const char* keyPath) {
  RegFileKey key;
  if (bytes == nullptr || keyPath == nullptr) {
    return key;
  }
  const std::size_t keySize = std::strlen(keyPath);
  const std::string text = DecodeText(bytes, size);
  const std::vector<Line> lines = SplitLines(text);

  // The header is the first line that is not blank.
  std::size_t i = 0;
  while (i < lines.size() && SkipBlanks(lines[i].begin, lines[i].end) == lines[i].end) {
    ++i;
  }
  if (i == lines.size()) {
    return key;
  }
  const char* headerBegin = SkipBlanks(lines[i].begin, lines[i].end);
  const std::size_t headerSize =
      static_cast<std::size_t>(TrimTrailingBlanks(headerBegin, lines[i].end) - headerBegin);
  bool unicodeFile;
  if (headerSize == sizeof kHeader5 - 1 && std::memcmp(headerBegin, kHeader5, headerSize) == 0) {
    unicodeFile = true;
  } else if (headerSize == sizeof kHeader4 - 1 &&
             std::memcmp(headerBegin, kHeader4, headerSize) == 0) {
    unicodeFile = false;
  } else {
    return key;
  }

  ValueMap values;
  bool inKey = false;
  for (++i; i < lines.size(); ++i) {
    const char* end = TrimTrailingBlanks(lines[i].begin, lines[i].end);
    const char* p = SkipBlanks(lines[i].begin, end);
    if (p == end || *p == ';') {
      continue;
    }
    if (*p == '[') {
      inKey = false;
      if (end[-1] != ']' || end - p < 2) {
        continue;  // unreadable section: what follows belongs to no key we read
      }
      const char* name = p + 1;
      const std::size_t nameSize = static_cast<std::size_t>(end - 1 - name);
      if (nameSize > 0 && name[0] == '-') {
        if (CoversKey(name + 1, nameSize - 1, keyPath, keySize)) {
          key.found = false;
          values.clear();
        }
      } else if (EqualsIgnoringCase(name, nameSize, keyPath, keySize)) {
        inKey = true;
        key.found = true;
      }
      continue;
    }
    RegFileValue value;
    if (*p == '@') {
      ++p;
    } else if (*p == '"') {
      p = ReadQuoted(p, end, &value.name);
      if (p == nullptr) {
        continue;
      }
    } else {
      continue;
    }
    p = SkipBlanks(p, end);
    if (p == end || *p != '=') {
      continue;
    }
    // Values of other keys are read too, so that their continuation lines
    // are not taken for lines of their own.
    const Data data = ReadData(lines, &i, p + 1, unicodeFile, &value);
    if (!inKey) {
      continue;
    }
    switch (data) {
      case Data::kValue: {
        std::string folded = FoldedName(value.name);
        values[std::move(folded)] = std::move(value);
        break;
      }
      case Data::kDelete:
        values.erase(FoldedName(value.name));
        break;
      case Data::kMalformed:
        break;
    }
  }
  key.values.reserve(values.size());
  for (auto& entry : values) {
    key.values.push_back(std::move(entry.second));
  }
  return key;
}

const RegFileValue* FindRegFileValue(const RegFileKey& key, const char* name) {
  if (name == nullptr) {
    name = "";
  }
  const std::size_t size = std::strlen(name);
  for (const RegFileValue& value : key.values) {
    if (EqualsIgnoringCase(value.name.data(), value.name.size(), name, size)) {
      return &value;
    }
  }
  return nullptr;
}
