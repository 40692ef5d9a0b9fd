// libFuzzer target: any bytes through the settings-file reader. Beyond what
// the sanitizers catch, it checks what callers rely on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "reg_file.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

void CheckKey(const RegFileKey& key) {
  Check(key.found || key.values.empty());
  for (std::size_t i = 0; i < key.values.size(); ++i) {
    const RegFileValue& value = key.values[i];
    // Names are unique, so a lookup by name finds this very value.
    if (std::memchr(value.name.data(), 0, value.name.size()) == nullptr) {
      Check(FindRegFileValue(key, value.name.c_str()) == &value);
    }
    for (std::size_t j = i + 1; j < key.values.size(); ++j) {
      Check(!SameName(value.name, key.values[j].name));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckKey(ParseRegFileKey(data, size, "HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane"));
  CheckKey(ParseRegFileKey(data, size, "HKEY_CURRENT_USER"));
  return 0;
}
