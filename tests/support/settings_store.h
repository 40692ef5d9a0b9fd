// Where the colour tests put their settings: the settings file off Windows,
// the registry key HKEY_CURRENT_USER\Software\Vorlix\Drovane on Windows. The
// build picks one implementation.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win32.h"

class SettingsStore {
 public:
  // Starts with no key at all; what was there before comes back afterwards.
  SettingsStore();
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Sets a value as RegSetValueExA would (the key is made if missing).
  void Put(const char* name, DWORD type, const std::vector<BYTE>& data);
  void PutDword(const char* name, DWORD value);
  // The key, without values.
  void CreateKey();
  // Everything the store holds, to tell whether anything was written; empty
  // when the key does not exist.
  std::string Describe() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whether a handle is a GDI object that exists now.
bool GdiObjectExists(HGDIOBJ object);
