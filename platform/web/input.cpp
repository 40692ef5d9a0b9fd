// The page's events to window messages, as the SDL layer makes them.
//
// Supports: keys -> WM_KEYDOWN / WM_KEYUP (WM_SYSKEYDOWN / WM_SYSKEYUP
//   while Alt is held without Ctrl, and for Alt itself) with lParam as
//   Windows builds it (repeat count 1, scan code, extended bit, context bit
//   29 for Alt, previous-state bit 30, transition bit 31); the virtual key
//   comes from the DOM's code and key (keymap.cpp), not keyCode.
//   Characters -> WM_CHAR (WM_SYSCHAR under Alt) from the key's text
//   (Latin-1), and the control characters for Backspace, Tab, Enter and
//   Escape. The wheel over the
//   canvas -> WM_MOUSEWHEEL, 120 per notch (a notch being 100 pixels, 3
//   lines or one page), positive away from the user. The page's focus and
//   visibility -> activation, focus and minimising (web_state.cpp).
// The page keeps its own shortcuts: keys with Ctrl or Meta, F5, F11, F12.
// Lacks: mouse buttons and motion (the program uses neither), IME input.
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>

#include "keymap.h"
#include "web_state.h"

namespace {

using web_layer::g_web;

web_layer::HeldKeys g_heldKeys;

// The one Unicode character a key's text names, or 0.
unsigned SingleCharacter(const char* text) {
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  if (t[0] != 0 && t[0] < 0x80 && t[1] == 0) return t[0];
  if ((t[0] & 0xE0u) == 0xC0u && (t[1] & 0xC0u) == 0x80u && t[2] == 0) {
    return ((t[0] & 0x1Fu) << 6) | (t[1] & 0x3Fu);
  }
  return 0;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
  const web_layer::KeyInfo key = web_layer::MapKey(event->code, event->key);
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  const WPARAM virtualKey = down ? g_heldKeys.Press(event->code, key.virtualKey, event->repeat != 0)
                                 : g_heldKeys.Release(event->code, key.virtualKey);
  if (event->ctrlKey || event->metaKey || virtualKey == VK_F5 || virtualKey == VK_F11 ||
      virtualKey == VK_F12) {
    return EM_FALSE;
  }
  web_layer::Window* window = web_layer::FindWindow(wm::g_wm.focus);
  if (window == nullptr || virtualKey == 0) {
    return EM_FALSE;
  }
  const bool system = (event->altKey || virtualKey == VK_MENU) && !event->ctrlKey;
  DWORD bits = 1u | (key.scanCode << 16);
  if (key.extended) bits |= 1u << 24;
  if (event->altKey) bits |= 1u << 29;
  if (!down || event->repeat) bits |= 1u << 30;
  if (!down) bits |= 1u << 31;
  const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  web_layer::Post(window->handle, message, virtualKey, static_cast<LPARAM>(bits));
  if (down) {
    unsigned character = 0;
    switch (virtualKey) {
      case VK_BACK: character = 8; break;
      case VK_TAB: character = 9; break;
      case VK_RETURN: character = 13; break;
      case VK_ESCAPE: character = 27; break;
      default: {
        const unsigned code = SingleCharacter(event->key);
        if (code >= 0x20 && code != 0x7F && (code < 0x80 || (code >= 0xA0 && code <= 0xFF))) {
          character = code;
        }
      }
    }
    if (character != 0) {
      web_layer::Post(window->handle, system ? WM_SYSCHAR : WM_CHAR, character,
                      static_cast<LPARAM>(bits));
    }
  }
  return EM_TRUE;  // arrows must not scroll the page, nor Alt open its menu
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* event, void*) {
  web_layer::Window* window = web_layer::FindWindow(wm::g_wm.focus);
  if (window == nullptr) return EM_FALSE;
  double notches = -event->deltaY / 100.0;
  if (event->deltaMode == DOM_DELTA_LINE) notches = -event->deltaY / 3.0;
  if (event->deltaMode == DOM_DELTA_PAGE) notches = -event->deltaY;
  long delta = std::lround(notches * WHEEL_DELTA);
  if (delta == 0) return EM_TRUE;
  delta = delta > 32767 ? 32767 : (delta < -32768 ? -32768 : delta);
  WORD keys = 0;
  if (event->mouse.buttons & 1) keys |= MK_LBUTTON;
  if (event->mouse.buttons & 2) keys |= MK_RBUTTON;
  if (event->mouse.buttons & 4) keys |= MK_MBUTTON;
  if (event->mouse.shiftKey) keys |= MK_SHIFT;
  if (event->mouse.ctrlKey) keys |= MK_CONTROL;
  web_layer::Post(window->handle, WM_MOUSEWHEEL,
                  MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                  MAKELPARAM(static_cast<WORD>(static_cast<short>(event->mouse.screenX)),
                             static_cast<WORD>(static_cast<short>(event->mouse.screenY))));
  return EM_TRUE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
  g_web.pageFocused = type == EMSCRIPTEN_EVENT_FOCUS;
  web_layer::PageActivation();
  return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
  g_web.pageHidden = event->hidden != 0;
  web_layer::PageActivation();
  return EM_FALSE;
}

}  // namespace

namespace web_layer {

void InstallInput() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  EmscriptenVisibilityChangeEvent visibility{};
  g_web.pageHidden = emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS &&
                     visibility.hidden != 0;
  g_web.pageFocused = true;  // a page being opened has the keyboard; blur says otherwise
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
  emscripten_set_wheel_callback("#canvas", nullptr, EM_TRUE, OnWheel);
  emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnFocus);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnFocus);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
}

}  // namespace web_layer
