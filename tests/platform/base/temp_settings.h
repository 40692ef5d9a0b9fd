// A private settings location for one test: a fresh directory that
// XDG_CONFIG_HOME (and HOME) point at while the object lives.
#pragma once

#include <filesystem>
#include <string>

class TempSettingsHome {
 public:
  TempSettingsHome();
  ~TempSettingsHome();
  TempSettingsHome(const TempSettingsHome&) = delete;
  TempSettingsHome& operator=(const TempSettingsHome&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // Where the registry must look: <root>/xdg/drovane/settings.reg.
  std::filesystem::path SettingsFile() const { return root_ / "xdg" / "drovane" / "settings.reg"; }
  // Writes the settings file (creating its directory) with exactly these bytes.
  void Write(const std::string& bytes) const;
  void WriteAt(const std::filesystem::path& file, const std::string& bytes) const;

 private:
  std::filesystem::path root_;
  std::string savedXdg_, savedHome_;
  bool hadXdg_ = false, hadHome_ = false;
};

// The text as the registry editor writes it: UTF-16LE with a byte-order mark.
// The text must be ASCII.
std::string Utf16LeWithBom(const std::string& ascii);
