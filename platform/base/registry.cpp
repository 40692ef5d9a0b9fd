// advapi32 subset off Windows: the registry is a settings file in the
// registry editor's export format, $XDG_CONFIG_HOME/drovane/settings.reg
// (else $HOME/.config/drovane/settings.reg), so a key exported on Windows
// works unchanged. Only HKEY_CURRENT_USER and keys below it; read only, the
// file is never created or written. Opening a key reads the file once; the
// handle owns what was read until RegCloseKey.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "reg_file.h"
#include "win32.h"

namespace {

const char kRootName[] = "HKEY_CURRENT_USER";

// Larger than any settings file; keeps a wrong file (or a link to a device)
// from being read without end.
constexpr std::size_t kMaxFileSize = 64u << 20;

struct OpenKey {
  std::string path;
  RegFileKey key;
};

// Handles the program holds, so that a stale or foreign HKEY is refused
// rather than followed.
std::mutex g_keysLock;
std::unordered_set<OpenKey*> g_keys;

OpenKey* FindOpenKey(HKEY handle) {
  OpenKey* key = reinterpret_cast<OpenKey*>(handle);
  return g_keys.count(key) != 0 ? key : nullptr;
}

std::string SettingsFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    return std::string(config) + "/drovane/settings.reg";
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') {
    return std::string(home) + "/.config/drovane/settings.reg";
  }
  return std::string();
}

// The whole file if it is a regular file of at most kMaxFileSize bytes.
bool ReadSettingsFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
  if (path.empty()) {
    return false;
  }
  // Non-blocking so that a FIFO in its place cannot hang the program.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return false;
  }
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
            static_cast<std::size_t>(info.st_size) <= kMaxFileSize;
  while (ok) {
    std::uint8_t chunk[16384];
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    bytes->insert(bytes->end(), chunk, chunk + n);
    ok = bytes->size() <= kMaxFileSize;
  }
  close(fd);
  return ok;
}

}  // namespace

extern "C" LONG RegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (result == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *result = nullptr;
  std::string path;
  {
    std::lock_guard<std::mutex> lock(g_keysLock);
    if (parent == HKEY_CURRENT_USER) {
      path = kRootName;
    } else if (OpenKey* open = FindOpenKey(parent)) {
      path = open->path;
    } else {
      return ERROR_INVALID_HANDLE;
    }
  }
  if (subKey != nullptr && subKey[0] != '\0') {
    path += '\\';
    path += subKey;
  }

  std::vector<std::uint8_t> bytes;
  if (!ReadSettingsFile(SettingsFilePath(), &bytes)) {
    return ERROR_FILE_NOT_FOUND;
  }
  RegFileKey key = ParseRegFileKey(bytes.data(), bytes.size(), path.c_str());
  if (!key.found) {
    return ERROR_FILE_NOT_FOUND;
  }
  OpenKey* open = new (std::nothrow) OpenKey{std::move(path), std::move(key)};
  if (open == nullptr) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  std::lock_guard<std::mutex> lock(g_keysLock);
  g_keys.insert(open);
  *result = reinterpret_cast<HKEY>(open);
  return ERROR_SUCCESS;
}

extern "C" LONG RegQueryValueExA(HKEY handle, LPCSTR name, LPDWORD reserved, LPDWORD type,
                                 LPBYTE data, LPDWORD size) {
  std::lock_guard<std::mutex> lock(g_keysLock);
  if (handle == HKEY_CURRENT_USER) {
    return ERROR_FILE_NOT_FOUND;  // the root's own values are not kept in the file
  }
  const OpenKey* open = FindOpenKey(handle);
  if (open == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  if (reserved != nullptr || (data != nullptr && size == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  const RegFileValue* value = FindRegFileValue(open->key, name);
  if (value == nullptr) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (type != nullptr) {
    *type = value->type;
  }
  const DWORD needed = static_cast<DWORD>(value->data.size());
  if (size == nullptr) {
    return ERROR_SUCCESS;
  }
  if (data != nullptr) {
    if (*size < needed) {
      // The buffer's content is undefined now; fill it as far as it goes, as
      // Windows does for some types, so that callers who use it anyway show.
      if (*size != 0) {
        std::memcpy(data, value->data.data(), *size);
      }
      *size = needed;
      return ERROR_MORE_DATA;
    }
    if (needed != 0) {
      std::memcpy(data, value->data.data(), needed);
    }
  }
  *size = needed;
  return ERROR_SUCCESS;
}

extern "C" LONG RegCloseKey(HKEY handle) {
  if (handle == HKEY_CURRENT_USER) {
    return ERROR_SUCCESS;
  }
  OpenKey* open = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_keysLock);
    open = FindOpenKey(handle);
    if (open == nullptr) {
      return ERROR_INVALID_HANDLE;
    }
    g_keys.erase(open);
  }
  delete open;
  return ERROR_SUCCESS;
}
