// The settings store on Windows: the registry key itself. Values the key held
// before a test are put back afterwards.
#include "settings_store.h"

namespace {

const char kKey[] = "Software\\Vorlix\\Drovane";

struct Saved {
  std::string name;
  DWORD type;
  std::vector<BYTE> data;
};

// The key's values, or false when the key does not exist.
bool ReadValues(std::vector<Saved>* values) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name;
    DWORD type = 0;
    BYTE data[4096];
    DWORD dataSize = sizeof data;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) {
      break;
    }
    values->push_back(Saved{std::string(name, nameSize), type, std::vector<BYTE>(data, data + dataSize)});
  }
  RegCloseKey(key);
  return true;
}

void WriteValue(const char* name, DWORD type, const std::vector<BYTE>& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  if (name != nullptr) {
    RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  }
  RegCloseKey(key);
}

}  // namespace

struct SettingsStore::State {
  bool hadKey = false;
  std::vector<Saved> saved;
};

SettingsStore::SettingsStore() : state_(new State) {
  state_->hadKey = ReadValues(&state_->saved);
  RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

SettingsStore::~SettingsStore() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  if (state_->hadKey) {
    WriteValue(nullptr, 0, {});
    for (const Saved& value : state_->saved) {
      WriteValue(value.name.c_str(), value.type, value.data);
    }
  }
}

void SettingsStore::Put(const char* name, DWORD type, const std::vector<BYTE>& data) {
  WriteValue(name, type, data);
}

void SettingsStore::CreateKey() { WriteValue(nullptr, 0, {}); }

std::string SettingsStore::Describe() const {
  std::vector<Saved> values;
  if (!ReadValues(&values)) {
    return std::string();
  }
  std::string description = "key\n";
  for (const Saved& value : values) {
    description += value.name + ":" + std::to_string(value.type) + ":" +
                   std::string(value.data.begin(), value.data.end()) + "\n";
  }
  return description;
}

bool GdiObjectExists(HGDIOBJ object) { return GetObjectType(object) != 0; }
