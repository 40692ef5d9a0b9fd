// SDL events to window messages.
//
// Supports: keys -> WM_KEYDOWN / WM_KEYUP, or WM_SYSKEYDOWN / WM_SYSKEYUP
//   while Alt is held without Ctrl (and for Alt itself), with lParam as
//   Windows builds it (repeat count 1, scan code, extended bit, context bit
//   29 for Alt, previous state bit 30 on auto-repeat and key-up, transition
//   bit 31 on key-up); text -> WM_CHAR (WM_SYSCHAR under Alt), from
//   SDL_TEXTINPUT for printable characters (ASCII and Latin-1) and from key
//   events for the control characters SDL never sends as text (Backspace,
//   Tab, Enter, Escape, Ctrl+letter); wheel -> WM_MOUSEWHEEL, 120 per notch,
//   finer with precise wheels, positive away from the user, at the pointer's
//   screen position (in the mode's coordinates while full screen); focus ->
//   WM_ACTIVATE then WM_SETFOCUS / WM_KILLFOCUS; size, minimise, maximise,
//   restore -> WM_SIZE (the drawable size is read again after every window
//   event, as full-screen switches may bring no resize event); show and
//   exposure -> invalid; move -> WM_MOVE; the window manager's close ->
//   WM_CLOSE. SDL_QUIT is ignored: the program acts on WM_CLOSE.
// Input messages are posted; window-state messages are sent at once, as
//   Windows sends them.
// Lacks:    mouse buttons and motion (the program uses neither), IME
//   composition, characters outside Latin-1.
// Depends on: SDL2 events, keymap.cpp.
#include <cmath>

#include "sdl_internal.h"

namespace {

using sdl_layer::Window;

Window* TargetWindow(Uint32 sdlId) {
  if (Window* window = sdl_layer::FindWindowBySdlId(sdlId)) {
    return window;
  }
  return sdl_layer::FindWindow(wm::g_wm.focus);
}

bool SystemKey(const SDL_Keysym& key) {
  const bool alt = (key.mod & KMOD_ALT) != 0;
  const bool ctrl = (key.mod & KMOD_CTRL) != 0;
  const bool altKey = key.scancode == SDL_SCANCODE_LALT || key.scancode == SDL_SCANCODE_RALT;
  return (alt || altKey) && !ctrl;
}

// The control character a key makes, which SDL never reports as text.
int ControlCharacter(const SDL_Keysym& key, WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_BACK:
      return 8;
    case VK_TAB:
      return 9;
    case VK_RETURN:
      return 13;
    case VK_ESCAPE:
      return 27;
    default:
      break;
  }
  if ((key.mod & KMOD_CTRL) && !(key.mod & KMOD_ALT) && virtualKey >= 'A' && virtualKey <= 'Z') {
    return static_cast<int>(virtualKey - 'A' + 1);
  }
  return 0;
}

void TranslateKey(const SDL_KeyboardEvent& event) {
  Window* window = TargetWindow(event.windowID);
  if (window == nullptr) {
    return;
  }
  const sdl_layer::KeyInfo key = sdl_layer::MapKey(event.keysym);
  if (key.virtualKey == 0) {
    return;
  }
  const bool down = event.type == SDL_KEYDOWN;
  const bool system = SystemKey(event.keysym);
  DWORD bits = 1u | (key.scanCode & 0xFFu) << 16;
  if (key.extended) {
    bits |= 1u << 24;
  }
  if (event.keysym.mod & KMOD_ALT) {
    bits |= 1u << 29;
  }
  if (!down || event.repeat) {
    bits |= 1u << 30;
  }
  if (!down) {
    bits |= 1u << 31;
  }
  const UINT message =
      down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  sdl_layer::Post(window->handle, message, key.virtualKey, static_cast<LPARAM>(bits));
  if (down) {
    const int character = ControlCharacter(event.keysym, key.virtualKey);
    if (character != 0) {
      sdl_layer::Post(window->handle, system ? WM_SYSCHAR : WM_CHAR,
                      static_cast<WPARAM>(character), static_cast<LPARAM>(bits));
    }
  }
}

void TranslateText(const SDL_TextInputEvent& event) {
  Window* window = TargetWindow(event.windowID);
  if (window == nullptr) {
    return;
  }
  const SDL_Keymod mod = SDL_GetModState();
  const bool system = (mod & KMOD_ALT) && !(mod & KMOD_CTRL);
  // UTF-8 to the ANSI code page's Latin-1 range; other characters are
  // dropped rather than sent as something else.
  const unsigned char* text = reinterpret_cast<const unsigned char*>(event.text);
  size_t i = 0;
  while (text[i] != 0) {
    const unsigned lead = text[i];
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    unsigned code = lead < 0x80 ? lead : 0x110000u;
    if (length == 2 && (text[i + 1] & 0xC0u) == 0x80u) {
      code = ((lead & 0x1Fu) << 6) | (text[i + 1] & 0x3Fu);
    }
    size_t step = 1;
    while (step < length && text[i + step] != 0) {
      ++step;
    }
    i += step;
    if (code >= 0x20 && code != 0x7F && (code < 0x80 || (code >= 0xA0 && code <= 0xFF))) {
      sdl_layer::Post(window->handle, system ? WM_SYSCHAR : WM_CHAR, code, 1);
    }
  }
}

void TranslateWheel(const SDL_MouseWheelEvent& event) {
  Window* window = sdl_layer::FindWindow(wm::g_wm.focus);
  if (window == nullptr) {
    window = TargetWindow(event.windowID);
  }
  if (window == nullptr) {
    return;
  }
  float notches = event.preciseY != 0.0f ? event.preciseY : static_cast<float>(event.y);
  if (event.direction == SDL_MOUSEWHEEL_FLIPPED) {
    notches = -notches;
  }
  long delta = std::lround(static_cast<double>(notches) * WHEEL_DELTA);
  if (delta == 0) {
    return;  // a horizontal scroll, or less than 1/120 of a notch
  }
  delta = delta > 32767 ? 32767 : (delta < -32768 ? -32768 : delta);
  WORD keys = 0;
  const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
  if (buttons & SDL_BUTTON_MMASK) keys |= MK_MBUTTON;
  const SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
  if (mod & KMOD_CTRL) keys |= MK_CONTROL;
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  const SDL_Point at = sdl_layer::ScreenToMode(x, y);
  sdl_layer::Post(window->handle, WM_MOUSEWHEEL,
                  MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                  MAKELPARAM(static_cast<WORD>(static_cast<short>(at.x)),
                             static_cast<WORD>(static_cast<short>(at.y))));
}

WPARAM SizeKind(const Window* window) {
  const Uint32 flags = SDL_GetWindowFlags(window->sdl);
  if (flags & SDL_WINDOW_MINIMIZED) {
    return SIZE_MINIMIZED;
  }
  return (flags & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  Window* window = sdl_layer::FindWindowBySdlId(event.windowID);
  if (window == nullptr || window->destroying) {
    return;
  }
  HWND const handle = window->handle;
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
      window->invalid = true;
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      sdl_layer::SyncSize(window, SIZE_MINIMIZED, true);
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      sdl_layer::SyncSize(window, SIZE_MAXIMIZED, true);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      sdl_layer::SyncSize(window, SIZE_RESTORED, true);
      break;
    case SDL_WINDOWEVENT_MOVED:
      sdl_layer::Send(window, WM_MOVE, 0,
                      MAKELPARAM(static_cast<WORD>(static_cast<short>(event.data1)),
                                 static_cast<WORD>(static_cast<short>(event.data2))));
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: {
      const WORD minimised = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED) ? 1 : 0;
      sdl_layer::Send(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimised), 0);
      if (sdl_layer::FindWindow(handle) != nullptr) {
        sdl_layer::ChangeFocus(handle);
      }
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_LOST:
      sdl_layer::Send(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
      if (wm::g_wm.focus == handle) {
        sdl_layer::ChangeFocus(nullptr);
      }
      break;
    case SDL_WINDOWEVENT_CLOSE:
      sdl_layer::Send(window, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
  // Some SDL versions report no resize after a full-screen switch.
  window = sdl_layer::FindWindow(handle);
  if (window != nullptr && !window->destroying && SizeKind(window) != SIZE_MINIMIZED) {
    sdl_layer::SyncSize(window, SizeKind(window), false);
  }
}

}  // namespace

namespace sdl_layer {

void TranslateEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(event.key);
      break;
    case SDL_TEXTINPUT:
      TranslateText(event.text);
      break;
    case SDL_MOUSEWHEEL:
      TranslateWheel(event.wheel);
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event.window);
      break;
    default:
      break;  // SDL_QUIT among them: WM_CLOSE has already been sent
  }
}

}  // namespace sdl_layer
