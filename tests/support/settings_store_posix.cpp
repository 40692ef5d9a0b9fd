// The settings store off Windows: a settings file in a private
// XDG_CONFIG_HOME, written as the registry editor exports a key (UTF-16LE
// with a byte-order mark, CRLF, version 5.00 header).
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform_posix_testing.h"
#include "settings_store.h"

namespace fs = std::filesystem;

struct SettingsStore::State {
  struct Value {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
  };
  fs::path root;
  std::string savedXdg;
  bool hadXdg = false;
  bool keyExists = false;
  std::vector<Value> values;

  fs::path File() const { return root / "drovane" / "settings.reg"; }

  void Write() const {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    text += "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n";
    for (const Value& value : values) {
      text += "\"" + value.name + "\"=";
      char hex[16];
      if (value.type == REG_DWORD && value.data.size() == 4) {
        std::snprintf(hex, sizeof hex, "dword:%02x%02x%02x%02x", value.data[3], value.data[2],
                      value.data[1], value.data[0]);
        text += hex;
      } else {
        // The editor writes string types as stored: UTF-16 (ASCII here).
        const bool wide =
            value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
        text += value.type == REG_BINARY ? std::string("hex:")
                                         : "hex(" + std::to_string(value.type) + "):";
        for (std::size_t i = 0; i < value.data.size(); ++i) {
          std::snprintf(hex, sizeof hex, wide ? "%02x,00" : "%02x", value.data[i]);
          text += (i != 0 ? "," : "") + std::string(hex);
        }
      }
      text += "\r\n";
    }
    text += "\r\n";
    fs::create_directories(File().parent_path());
    std::ofstream out(File(), std::ios::binary | std::ios::trunc);
    out << "\xFF\xFE";
    for (char c : text) {
      out.put(c);
      out.put('\0');
    }
  }
};

SettingsStore::SettingsStore() : state_(new State) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  state_->hadXdg = xdg != nullptr;
  if (xdg != nullptr) state_->savedXdg = xdg;
  std::string pattern = (fs::temp_directory_path() / "drovane-colours-XXXXXX").string();
  state_->root = mkdtemp(pattern.data());
  setenv("XDG_CONFIG_HOME", state_->root.c_str(), 1);
}

SettingsStore::~SettingsStore() {
  if (state_->hadXdg) {
    setenv("XDG_CONFIG_HOME", state_->savedXdg.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
  std::error_code ignored;
  fs::remove_all(state_->root, ignored);
}

void SettingsStore::Put(const char* name, DWORD type, const std::vector<BYTE>& data) {
  state_->keyExists = true;
  state_->values.push_back(State::Value{name, type, data});
  state_->Write();
}

void SettingsStore::PutDword(const char* name, DWORD value) {
  Put(name, REG_DWORD,
      {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
       static_cast<BYTE>(value >> 24)});
}

void SettingsStore::CreateKey() {
  state_->keyExists = true;
  state_->Write();
}

std::string SettingsStore::Describe() const {
  // Every file under the private configuration directory, with its bytes.
  std::string description;
  for (const auto& entry : fs::recursive_directory_iterator(state_->root)) {
    description += entry.path().string() + "\n";
    if (entry.is_regular_file()) {
      std::ifstream in(entry.path(), std::ios::binary);
      description.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  return description;
}

bool GdiObjectExists(HGDIOBJ object) { return PlatformGdiObjectExists(object); }
