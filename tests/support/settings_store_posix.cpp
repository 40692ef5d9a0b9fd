// The settings store off Windows: a settings file in a private
// XDG_CONFIG_HOME, written as the registry editor exports a key (UTF-16LE
// with a byte-order mark, CRLF, version 5.00 header).
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform_posix_testing.h"
#include "reg_export.h"
#include "settings_store.h"

namespace fs = std::filesystem;

struct SettingsStore::State {
  fs::path root;
  std::string savedXdg;
  bool hadXdg = false;
  std::string lines;  // the key's values, one a line

  fs::path File() const { return root / "drovane" / "settings.reg"; }

  void Write() const {
    fs::create_directories(File().parent_path());
    std::ofstream out(File(), std::ios::binary | std::ios::trunc);
    out << "\xFF\xFE";
    for (char c : ExportedKey(lines)) {
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
  state_->lines += ExportedValueLine(name, type, data);
  state_->Write();
}

void SettingsStore::CreateKey() {
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
