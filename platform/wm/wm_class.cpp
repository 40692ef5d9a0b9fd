// The class table's entry points: registering and unregistering window
// classes.
//
// Supports: RegisterClassExA (names compared without case, atoms from 0xC000
//   never reused, like handles); UnregisterClassA while no window of the
//   class is left. A class's icon is kept for the layer, which shows it
//   when it makes a window of the class.
// Lacks:    class extra bytes, menus, background brushes (GL paints the
//   whole client area).
// Depends on: the class table (wm_state.cpp).
#include <cstring>

#include "wm_state.h"

namespace {

using wm::g_wm;

bool IsAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }

}  // namespace

extern "C" ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
      windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
      IsAtom(windowClass->lpszClassName) || windowClass->lpszClassName[0] == '\0' ||
      std::strlen(windowClass->lpszClassName) > 255) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (wm::FindClassIndex(windowClass->lpszClassName) >= 0) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  // Atoms are never reused, like handles.
  static WORD nextAtom = 0xC000;
  if (nextAtom == 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  const ATOM atom = nextAtom++;
  g_wm.classes.push_back(wm::WindowClass{windowClass->lpszClassName, atom, windowClass->style,
                                         windowClass->lpfnWndProc, windowClass->hInstance,
                                         windowClass->hIcon});
  return atom;
}

extern "C" BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  const long index = wm::FindClassIndex(className);
  if (index < 0) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  const size_t position = static_cast<size_t>(index);
  for (const wm::Window* window : g_wm.windows) {
    if (window->classIndex == position) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  }
  // Windows refer to classes by index: keep the slot, make it unfindable.
  g_wm.classes[position].name.clear();
  g_wm.classes[position].atom = 0;
  return TRUE;
}
