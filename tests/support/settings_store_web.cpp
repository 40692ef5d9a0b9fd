// The settings store in the browser: the page's settings file in
// localStorage, as a user or the page check writes it (plain text, CRLF),
// handed to the layer the way the page's start does.
#include <emscripten.h>

#include <string>

#include "platform_posix_testing.h"
#include "reg_export.h"
#include "settings_store.h"
#include "web_settings.h"

namespace {

// -1 when there is none; else its length in UTF-8 bytes.
EM_JS(int, web_settings_length, (void), {
  var text = window.localStorage.getItem("drovane.settings.reg");
  return text === null ? -1 : lengthBytesUTF8(text);
});

EM_JS(void, web_copy_settings, (char* buffer, int size), {
  stringToUTF8(window.localStorage.getItem("drovane.settings.reg") || "", buffer, size);
});

EM_JS(void, web_write_settings, (const char* text, int exists), {
  if (exists) {
    window.localStorage.setItem("drovane.settings.reg", UTF8ToString(text));
  } else {
    window.localStorage.removeItem("drovane.settings.reg");
  }
});

std::string ReadSettings(bool* exists) {
  const int length = web_settings_length();
  *exists = length >= 0;
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  web_copy_settings(text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

struct SettingsStore::State {
  std::string saved;
  bool hadSaved = false;
  std::string lines;  // the key's values, one a line
  bool keyExists = false;

  void Write() const {
    const std::string text = keyExists ? ExportedKey(lines) : std::string();
    web_write_settings(text.c_str(), keyExists ? 1 : 0);
    WebInstallSettings();
  }
};

SettingsStore::SettingsStore() : state_(new State) {
  state_->saved = ReadSettings(&state_->hadSaved);
  state_->Write();
}

SettingsStore::~SettingsStore() {
  web_write_settings(state_->saved.c_str(), state_->hadSaved ? 1 : 0);
  WebInstallSettings();
}

void SettingsStore::Put(const char* name, DWORD type, const std::vector<BYTE>& data) {
  state_->lines += ExportedValueLine(name, type, data);
  state_->keyExists = true;
  state_->Write();
}

void SettingsStore::CreateKey() {
  state_->keyExists = true;
  state_->Write();
}

std::string SettingsStore::Describe() const {
  bool exists = false;
  const std::string text = ReadSettings(&exists);
  return exists ? text : std::string();
}

bool GdiObjectExists(HGDIOBJ object) { return PlatformGdiObjectExists(object); }
