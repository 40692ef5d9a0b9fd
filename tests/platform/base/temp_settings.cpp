#include "temp_settings.h"

#include <stdlib.h>

#include <cstdlib>
#include <fstream>

namespace {
void SaveEnv(const char* name, std::string* value, bool* had) {
  const char* current = std::getenv(name);
  *had = current != nullptr;
  if (current != nullptr) *value = current;
}
void RestoreEnv(const char* name, const std::string& value, bool had) {
  if (had) {
    setenv(name, value.c_str(), 1);
  } else {
    unsetenv(name);
  }
}
}  // namespace

TempSettingsHome::TempSettingsHome() {
  SaveEnv("XDG_CONFIG_HOME", &savedXdg_, &hadXdg_);
  SaveEnv("HOME", &savedHome_, &hadHome_);
  std::string pattern = (std::filesystem::temp_directory_path() / "drovane-settings-XXXXXX").string();
  root_ = mkdtemp(pattern.data());
  std::filesystem::create_directories(root_ / "xdg");
  std::filesystem::create_directories(root_ / "home");
  setenv("XDG_CONFIG_HOME", (root_ / "xdg").c_str(), 1);
  setenv("HOME", (root_ / "home").c_str(), 1);
}

TempSettingsHome::~TempSettingsHome() {
  RestoreEnv("XDG_CONFIG_HOME", savedXdg_, hadXdg_);
  RestoreEnv("HOME", savedHome_, hadHome_);
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void TempSettingsHome::Write(const std::string& bytes) const { WriteAt(SettingsFile(), bytes); }

void TempSettingsHome::WriteAt(const std::filesystem::path& file, const std::string& bytes) const {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Utf16LeWithBom(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}
