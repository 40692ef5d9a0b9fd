// The page's keys to Windows virtual keys, by the rules of the SDL layer
// (platform/sdl/keymap.cpp), from the DOM's code and key rather
// than keyCode, whose values differ between browsers (Firefox gives 61 for
// '=', 173 for '-', 171 for the German '+').
//
// Supports: the keys of a 105-key PC keyboard by position (code). As on
//   Windows, the key typing '+' or '=' is VK_OEM_PLUS and the key typing
//   '-' (or '_', its shifted character in every common layout) is
//   VK_OEM_MINUS in every layout; a key at the US '=' or '-' position that
//   types something else gets VK_OEM_8 and does not zoom. Letters follow
//   what the key types when it is an ASCII letter; a digit-row key stays
//   its digit whatever it types (the French '-' on the 6 key is VK_6); the
//   keypad, arrows, Enter and modifiers keep their position's codes. An
//   event without a code (some on-screen keyboards) is mapped by its key.
// Lacks: media and international keys beyond VK_OEM_102 (0: not passed on).
#include "keymap.h"

#include <cstring>

namespace {

struct KeyRow {
  const char* code;
  WPARAM virtualKey;
  unsigned scanCode;
  bool extended;
};

const KeyRow kKeys[] = {
    {"KeyA", 'A', 0x1E, false},                  // letter A (position; what it types wins)
    {"KeyB", 'B', 0x30, false},                  // letter B
    {"KeyC", 'C', 0x2E, false},                  // letter C
    {"KeyD", 'D', 0x20, false},                  // letter D
    {"KeyE", 'E', 0x12, false},                  // letter E
    {"KeyF", 'F', 0x21, false},                  // letter F
    {"KeyG", 'G', 0x22, false},                  // letter G
    {"KeyH", 'H', 0x23, false},                  // letter H
    {"KeyI", 'I', 0x17, false},                  // letter I
    {"KeyJ", 'J', 0x24, false},                  // letter J
    {"KeyK", 'K', 0x25, false},                  // letter K
    {"KeyL", 'L', 0x26, false},                  // letter L
    {"KeyM", 'M', 0x32, false},                  // letter M
    {"KeyN", 'N', 0x31, false},                  // letter N
    {"KeyO", 'O', 0x18, false},                  // letter O
    {"KeyP", 'P', 0x19, false},                  // letter P
    {"KeyQ", 'Q', 0x10, false},                  // letter Q
    {"KeyR", 'R', 0x13, false},                  // letter R: new game
    {"KeyS", 'S', 0x1F, false},                  // letter S
    {"KeyT", 'T', 0x14, false},                  // letter T
    {"KeyU", 'U', 0x16, false},                  // letter U
    {"KeyV", 'V', 0x2F, false},                  // letter V
    {"KeyW", 'W', 0x11, false},                  // letter W
    {"KeyX", 'X', 0x2D, false},                  // letter X
    {"KeyY", 'Y', 0x15, false},                  // letter Y
    {"KeyZ", 'Z', 0x2C, false},                  // letter Z
    {"Digit1", '1', 0x02, false},                // digit row 1
    {"Digit2", '2', 0x03, false},                // digit row 2
    {"Digit3", '3', 0x04, false},                // digit row 3
    {"Digit4", '4', 0x05, false},                // digit row 4
    {"Digit5", '5', 0x06, false},                // digit row 5
    {"Digit6", '6', 0x07, false},                // digit row 6 (French '-')
    {"Digit7", '7', 0x08, false},                // digit row 7
    {"Digit8", '8', 0x09, false},                // digit row 8
    {"Digit9", '9', 0x0A, false},                // digit row 9
    {"Digit0", '0', 0x0B, false},                // digit row 0
    {"Enter", VK_RETURN, 0x1C, false},           // main Enter (Alt+Enter: full screen)
    {"Escape", VK_ESCAPE, 0x01, false},          // Escape
    {"Backspace", VK_BACK, 0x0E, false},         // Backspace
    {"Tab", VK_TAB, 0x0F, false},                // Tab
    {"Space", VK_SPACE, 0x39, false},            // space bar
    {"Minus", VK_OEM_MINUS, 0x0C, false},        // US '-' / '_' key (code follows the layout)
    {"Equal", VK_OEM_PLUS, 0x0D, false},         // US '=' / '+' key (code follows the layout)
    {"BracketLeft", VK_OEM_4, 0x1A, false},      // '[' key
    {"BracketRight", VK_OEM_6, 0x1B, false},     // ']' key (German '+')
    {"Backslash", VK_OEM_5, 0x2B, false},        // '\' key, or '#' left of Enter (ISO)
    {"Semicolon", VK_OEM_1, 0x27, false},        // ';' key
    {"Quote", VK_OEM_7, 0x28, false},            // ''' key
    {"Backquote", VK_OEM_3, 0x29, false},        // '`' key
    {"Comma", VK_OEM_COMMA, 0x33, false},        // ',' key
    {"Period", VK_OEM_PERIOD, 0x34, false},      // '.' key
    {"Slash", VK_OEM_2, 0x35, false},            // '/' key (German '-')
    {"IntlBackslash", VK_OEM_102, 0x56, false},  // '<' key right of left Shift (ISO)
    {"CapsLock", VK_CAPITAL, 0x3A, false},       // Caps Lock
    {"F1", VK_F1, 0x3B, false},                  // F1
    {"F2", VK_F2, 0x3C, false},                  // F2
    {"F3", VK_F3, 0x3D, false},                  // F3
    {"F4", VK_F4, 0x3E, false},                  // F4 (Alt+F4 closes)
    {"F5", VK_F5, 0x3F, false},                  // F5 (the page keeps it: reload)
    {"F6", VK_F6, 0x40, false},                  // F6
    {"F7", VK_F7, 0x41, false},                  // F7
    {"F8", VK_F8, 0x42, false},                  // F8
    {"F9", VK_F9, 0x43, false},                  // F9
    {"F10", VK_F10, 0x44, false},                // F10
    {"F11", VK_F11, 0x57, false},                // F11 (the page keeps it)
    {"F12", VK_F12, 0x58, false},                // F12 (the page keeps it)
    {"PrintScreen", VK_SNAPSHOT, 0x37, true},    // Print Screen
    {"ScrollLock", VK_SCROLL, 0x46, false},      // Scroll Lock
    {"Pause", VK_PAUSE, 0x45, false},            // Pause
    {"Insert", VK_INSERT, 0x52, true},           // Insert (navigation block)
    {"Home", VK_HOME, 0x47, true},               // Home
    {"PageUp", VK_PRIOR, 0x49, true},            // Page Up
    {"Delete", VK_DELETE, 0x53, true},           // Delete
    {"End", VK_END, 0x4F, true},                 // End
    {"PageDown", VK_NEXT, 0x51, true},           // Page Down
    {"ArrowRight", VK_RIGHT, 0x4D, true},        // right arrow: push ball right
    {"ArrowLeft", VK_LEFT, 0x4B, true},          // left arrow: push ball left
    {"ArrowDown", VK_DOWN, 0x50, true},          // down arrow: push ball back
    {"ArrowUp", VK_UP, 0x48, true},              // up arrow: push ball forward
    {"NumLock", VK_NUMLOCK, 0x45, true},         // Num Lock
    {"NumpadDivide", VK_DIVIDE, 0x35, true},     // keypad '/'
    {"NumpadMultiply", VK_MULTIPLY, 0x37, false},  // keypad '*'
    {"NumpadSubtract", VK_SUBTRACT, 0x4A, false},  // keypad '-': zoom out
    {"NumpadAdd", VK_ADD, 0x4E, false},          // keypad '+': zoom in
    {"NumpadEnter", VK_RETURN, 0x1C, true},      // keypad Enter (extended Return)
    {"Numpad1", VK_NUMPAD1, 0x4F, false},        // keypad 1 (Num Lock on)
    {"Numpad2", VK_NUMPAD2, 0x50, false},        // keypad 2
    {"Numpad3", VK_NUMPAD3, 0x51, false},        // keypad 3
    {"Numpad4", VK_NUMPAD4, 0x4B, false},        // keypad 4
    {"Numpad5", VK_NUMPAD5, 0x4C, false},        // keypad 5
    {"Numpad6", VK_NUMPAD6, 0x4D, false},        // keypad 6
    {"Numpad7", VK_NUMPAD7, 0x47, false},        // keypad 7
    {"Numpad8", VK_NUMPAD8, 0x48, false},        // keypad 8
    {"Numpad9", VK_NUMPAD9, 0x49, false},        // keypad 9
    {"Numpad0", VK_NUMPAD0, 0x52, false},        // keypad 0
    {"NumpadDecimal", VK_DECIMAL, 0x53, false},  // keypad '.'
    {"ContextMenu", VK_APPS, 0x5D, true},        // context-menu key
    {"ControlLeft", VK_CONTROL, 0x1D, false},    // left Ctrl (messages carry the generic code)
    {"ShiftLeft", VK_SHIFT, 0x2A, false},        // left Shift
    {"AltLeft", VK_MENU, 0x38, false},           // left Alt: WM_SYSKEYDOWN
    {"MetaLeft", VK_LWIN, 0x5B, true},           // left Windows / Super key
    {"ControlRight", VK_CONTROL, 0x1D, true},    // right Ctrl
    {"ShiftRight", VK_SHIFT, 0x36, false},       // right Shift
    {"AltRight", VK_MENU, 0x38, true},           // right Alt (AltGr)
    {"MetaRight", VK_RWIN, 0x5C, true},          // right Windows / Super key
};

// Named keys whose DOM key name differs from their code, for events
// without a code.
const struct {
  const char* key;
  const char* code;
} kKeyNames[] = {
    {"Alt", "AltLeft"},         {"Control", "ControlLeft"}, {"Shift", "ShiftLeft"},
    {"Meta", "MetaLeft"},       {" ", "Space"},             {"Esc", "Escape"},
    {"Up", "ArrowUp"},          {"Down", "ArrowDown"},      {"Left", "ArrowLeft"},
    {"Right", "ArrowRight"},
};

const KeyRow* FindRow(const char* code) {
  for (const KeyRow& row : kKeys) {
    if (std::strcmp(row.code, code) == 0) return &row;
  }
  return nullptr;
}

const KeyRow* FindRowByKey(const char* key) {
  for (const auto& name : kKeyNames) {
    if (std::strcmp(name.key, key) == 0) return FindRow(name.code);
  }
  return FindRow(key);  // most named keys are called as their code
}

// The one ASCII character a key types, or 0 (names, dead keys, others).
char TypedAscii(const char* key) {
  return key[0] > 0 && key[0] < 0x7F && key[1] == '\0' ? key[0] : '\0';
}

}  // namespace

namespace web_layer {

KeyInfo MapKey(const char* code, const char* key) {
  if (code == nullptr) code = "";
  if (key == nullptr) key = "";
  const KeyRow* row = code[0] != '\0' ? FindRow(code) : FindRowByKey(key);
  KeyInfo info = row != nullptr ? KeyInfo{row->virtualKey, row->scanCode, row->extended}
                                : KeyInfo{0, 0, false};
  if (info.virtualKey >= VK_NUMPAD0 && info.virtualKey <= VK_DIVIDE) {
    return info;  // the keypad keeps its own codes whatever the layout
  }
  const bool digitKey = info.virtualKey >= '0' && info.virtualKey <= '9';
  const char typed = TypedAscii(key);
  if (typed >= 'a' && typed <= 'z') {
    info.virtualKey = static_cast<WPARAM>(typed - 'a' + 'A');
  } else if (typed >= 'A' && typed <= 'Z') {
    info.virtualKey = static_cast<WPARAM>(typed);
  } else if (typed >= '0' && typed <= '9' &&
             (row == nullptr || (info.virtualKey >= '0' && info.virtualKey <= 'Z'))) {
    info.virtualKey = static_cast<WPARAM>(typed);
  } else if (digitKey) {
    // Digits stay digits, as on Windows.
  } else if (typed == '+' || typed == '=') {
    info.virtualKey = VK_OEM_PLUS;
  } else if (typed == '-' || typed == '_') {
    info.virtualKey = VK_OEM_MINUS;
  } else if (info.virtualKey == VK_OEM_PLUS || info.virtualKey == VK_OEM_MINUS) {
    info.virtualKey = VK_OEM_8;  // e.g. the German '´' and 'ß' keys: they must not zoom
  }
  return info;
}

WPARAM HeldKeys::Press(const char* code, WPARAM mapped, bool repeat) {
  if (code == nullptr || code[0] == '\0' || std::strlen(code) >= sizeof held_[0].code) {
    return mapped;
  }
  Held* slot = nullptr;
  for (Held& held : held_) {
    if (std::strcmp(held.code, code) == 0) {
      // An auto-repeat keeps the code it went down with; a fresh press (its
      // release was missed while the page lacked the keyboard) starts anew.
      if (repeat) return held.virtualKey;
      slot = &held;
      break;
    }
    if (slot == nullptr && held.code[0] == '\0') slot = &held;
  }
  if (slot != nullptr) {
    std::strcpy(slot->code, code);
    slot->virtualKey = mapped;
  }
  return mapped;
}

WPARAM HeldKeys::Release(const char* code, WPARAM mapped) {
  if (code == nullptr || code[0] == '\0') return mapped;
  for (Held& held : held_) {
    if (std::strcmp(held.code, code) == 0) {
      held.code[0] = '\0';
      return held.virtualKey;
    }
  }
  return mapped;
}

}  // namespace web_layer
