// The page's keys to Windows virtual keys and PC scan codes (not a public
// header). Pure: the native unit tests build it too.
#pragma once

#include "win32.h"

namespace web_layer {

struct KeyInfo {
  WPARAM virtualKey;  // 0: a key the layer does not pass on
  unsigned scanCode;  // PC set 1, 0 when unknown
  bool extended;      // the E0 prefix: bit 24 of lParam
};

// From the DOM's KeyboardEvent.code (the key's position) and .key (what it
// types now, or its name).
KeyInfo MapKey(const char* code, const char* key);

// Keeps the virtual key each held key went down with, so its release
// reports the same one even when Shift changed what it types meanwhile.
class HeldKeys {
 public:
  // The virtual key to report for this event.
  WPARAM Press(const char* code, WPARAM mapped, bool repeat);
  WPARAM Release(const char* code, WPARAM mapped);

 private:
  struct Held {
    char code[24];
    WPARAM virtualKey;
  };
  Held held_[16] = {};
};

}  // namespace web_layer
