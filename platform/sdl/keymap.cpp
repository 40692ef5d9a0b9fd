// SDL keys to Windows virtual-key codes and PC scan codes.
//
// Supports: the keys of a 105-key PC keyboard. As on Windows, the key that
//   types '+' (or '=' where the two share a key, as on US layouts) is
//   VK_OEM_PLUS and the key that types '-' is VK_OEM_MINUS in every layout,
//   so both come from the key code; a key that sits where the US layout has
//   '=' or '-' but types something else there gets VK_OEM_8. Letters and
//   digits follow the key code when it is an ASCII letter or digit, so 'R'
//   follows the layout; a digit-row key stays its digit whatever it types
//   (the French '-' on the 6 key is VK_6). Other punctuation maps from the
//   scan code (its position). Scan codes are always the position's.
// Lacks:    media and international keys beyond VK_OEM_102 (they map to 0 and
//   produce no key message); Windows' per-layout codes for the other
//   punctuation keys.
// Depends on: SDL2 scan codes and key codes.
#include "sdl_internal.h"

namespace {

struct KeyRow {
  SDL_Scancode scancode;
  WPARAM virtualKey;
  unsigned scanCode;  // PC set 1
  bool extended;      // the E0 prefix: bit 24 of lParam
};

const KeyRow kKeys[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false},                  // letter A (position; keycode wins)
    {SDL_SCANCODE_B, 'B', 0x30, false},                  // letter B
    {SDL_SCANCODE_C, 'C', 0x2E, false},                  // letter C
    {SDL_SCANCODE_D, 'D', 0x20, false},                  // letter D
    {SDL_SCANCODE_E, 'E', 0x12, false},                  // letter E
    {SDL_SCANCODE_F, 'F', 0x21, false},                  // letter F
    {SDL_SCANCODE_G, 'G', 0x22, false},                  // letter G
    {SDL_SCANCODE_H, 'H', 0x23, false},                  // letter H
    {SDL_SCANCODE_I, 'I', 0x17, false},                  // letter I
    {SDL_SCANCODE_J, 'J', 0x24, false},                  // letter J
    {SDL_SCANCODE_K, 'K', 0x25, false},                  // letter K
    {SDL_SCANCODE_L, 'L', 0x26, false},                  // letter L
    {SDL_SCANCODE_M, 'M', 0x32, false},                  // letter M
    {SDL_SCANCODE_N, 'N', 0x31, false},                  // letter N
    {SDL_SCANCODE_O, 'O', 0x18, false},                  // letter O
    {SDL_SCANCODE_P, 'P', 0x19, false},                  // letter P
    {SDL_SCANCODE_Q, 'Q', 0x10, false},                  // letter Q
    {SDL_SCANCODE_R, 'R', 0x13, false},                  // letter R: new game
    {SDL_SCANCODE_S, 'S', 0x1F, false},                  // letter S
    {SDL_SCANCODE_T, 'T', 0x14, false},                  // letter T
    {SDL_SCANCODE_U, 'U', 0x16, false},                  // letter U
    {SDL_SCANCODE_V, 'V', 0x2F, false},                  // letter V
    {SDL_SCANCODE_W, 'W', 0x11, false},                  // letter W
    {SDL_SCANCODE_X, 'X', 0x2D, false},                  // letter X
    {SDL_SCANCODE_Y, 'Y', 0x15, false},                  // letter Y
    {SDL_SCANCODE_Z, 'Z', 0x2C, false},                  // letter Z
    {SDL_SCANCODE_1, '1', 0x02, false},                  // digit row 1
    {SDL_SCANCODE_2, '2', 0x03, false},                  // digit row 2
    {SDL_SCANCODE_3, '3', 0x04, false},                  // digit row 3
    {SDL_SCANCODE_4, '4', 0x05, false},                  // digit row 4
    {SDL_SCANCODE_5, '5', 0x06, false},                  // digit row 5
    {SDL_SCANCODE_6, '6', 0x07, false},                  // digit row 6
    {SDL_SCANCODE_7, '7', 0x08, false},                  // digit row 7
    {SDL_SCANCODE_8, '8', 0x09, false},                  // digit row 8
    {SDL_SCANCODE_9, '9', 0x0A, false},                  // digit row 9
    {SDL_SCANCODE_0, '0', 0x0B, false},                  // digit row 0
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},       // main Enter (Alt+Enter: full screen)
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},       // Escape
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},      // Backspace
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},             // Tab
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},         // space bar
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},     // US '-' / '_' key (code follows the layout)
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},     // US '=' / '+' key (code follows the layout)
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},   // '[' key
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},  // ']' key
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},     // '\' key (ANSI position)
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5, 0x2B, false},     // '#' key left of Enter (ISO)
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},     // ';' key
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},    // ''' key
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},         // '`' key
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},     // ',' key
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},   // '.' key
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},         // '/' key
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},  // '<' key right of left Shift (ISO)
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},    // Caps Lock
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},               // F1
    {SDL_SCANCODE_F2, VK_F2, 0x3C, false},               // F2
    {SDL_SCANCODE_F3, VK_F3, 0x3D, false},               // F3
    {SDL_SCANCODE_F4, VK_F4, 0x3E, false},               // F4 (Alt+F4 closes)
    {SDL_SCANCODE_F5, VK_F5, 0x3F, false},               // F5
    {SDL_SCANCODE_F6, VK_F6, 0x40, false},               // F6
    {SDL_SCANCODE_F7, VK_F7, 0x41, false},               // F7
    {SDL_SCANCODE_F8, VK_F8, 0x42, false},               // F8
    {SDL_SCANCODE_F9, VK_F9, 0x43, false},               // F9
    {SDL_SCANCODE_F10, VK_F10, 0x44, false},             // F10
    {SDL_SCANCODE_F11, VK_F11, 0x57, false},             // F11
    {SDL_SCANCODE_F12, VK_F12, 0x58, false},             // F12
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true}, // Print Screen
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},   // Scroll Lock
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},         // Pause
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},        // Insert (navigation block)
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},            // Home
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},         // Page Up
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},        // Delete
    {SDL_SCANCODE_END, VK_END, 0x4F, true},              // End
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},        // Page Down
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},          // right arrow: push ball right
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},            // left arrow: push ball left
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},            // down arrow: push ball back
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},                // up arrow: push ball forward
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true}, // Num Lock
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},     // keypad '/'
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},  // keypad '*'
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},   // keypad '-': zoom out
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},         // keypad '+': zoom in
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},      // keypad Enter (extended Return)
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, 0x4F, false},        // keypad 1 (Num Lock on)
    {SDL_SCANCODE_KP_2, VK_NUMPAD2, 0x50, false},        // keypad 2
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, 0x51, false},        // keypad 3
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, 0x4B, false},        // keypad 4
    {SDL_SCANCODE_KP_5, VK_NUMPAD5, 0x4C, false},        // keypad 5
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, 0x4D, false},        // keypad 6
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, 0x47, false},        // keypad 7
    {SDL_SCANCODE_KP_8, VK_NUMPAD8, 0x48, false},        // keypad 8
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, 0x49, false},        // keypad 9
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false},        // keypad 0
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false},   // keypad '.'
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},     // context-menu key
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},       // left Ctrl (messages carry the generic code)
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},        // left Shift
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, false},           // left Alt: WM_SYSKEYDOWN
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},            // left Windows / Super key
    {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},        // right Ctrl
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},        // right Shift
    {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},            // right Alt (AltGr)
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},            // right Windows / Super key
};

}  // namespace

namespace sdl_layer {

KeyInfo MapKey(const SDL_Keysym& key) {
  KeyInfo info{0, 0, false};
  for (const KeyRow& row : kKeys) {
    if (row.scancode == key.scancode) {
      info = KeyInfo{row.virtualKey, row.scanCode, row.extended};
      break;
    }
  }
  if (info.virtualKey >= VK_NUMPAD0 && info.virtualKey <= VK_DIVIDE) {
    return info;  // the keypad keeps its own codes whatever the layout
  }
  const bool digitKey = info.virtualKey >= '0' && info.virtualKey <= '9';
  const SDL_Keycode code = key.sym;
  if (code >= 'a' && code <= 'z') {
    info.virtualKey = static_cast<WPARAM>(code - 'a' + 'A');
  } else if (code >= '0' && code <= '9' && info.virtualKey >= '0' && info.virtualKey <= 'Z') {
    info.virtualKey = static_cast<WPARAM>(code);
  } else if (digitKey) {
    // Digits stay digits, as on Windows.
  } else if (code == '+' || code == '=') {
    info.virtualKey = VK_OEM_PLUS;
  } else if (code == '-') {
    info.virtualKey = VK_OEM_MINUS;
  } else if (info.virtualKey == VK_OEM_PLUS || info.virtualKey == VK_OEM_MINUS) {
    info.virtualKey = VK_OEM_8;  // e.g. the German '´' and 'ß' keys: they must not zoom
  }
  return info;
}

}  // namespace sdl_layer
