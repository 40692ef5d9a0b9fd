// Window classes, icons and cursors in the page.
//
// Supports: RegisterClassExA into the shared class table (wm_state.cpp
//   finds and unregisters classes), LoadIconA (any registered resource or
//   IDI_APPLICATION: the page's own favicon stands for it); LoadCursorA is
//   shared (wm_window.cpp).
// Lacks: class extra bytes, menus, background brushes (GL paints it all).
#include <cstring>

#include "platform_resources.h"
#include "web_state.h"

namespace {

using wm::g_wm;

HICON const kApplicationIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x7F00));
constexpr ULONG_PTR kIconBase = 0x20000;
std::vector<int> g_iconIds;

bool IsAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }
WORD ResourceId(LPCSTR name) { return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)); }

}  // namespace

// The page shows its own icon; only the resource numbers are kept.
void PlatformRegisterIcon(int id, const unsigned char*, int, int) {
  for (int known : g_iconIds) {
    if (known == id) {
      return;
    }
  }
  g_iconIds.push_back(id);
}

extern "C" HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDI_APPLICATION) {
    return kApplicationIcon;
  }
  if (IsAtom(name)) {
    for (size_t i = 0; i < g_iconIds.size(); ++i) {
      if (g_iconIds[i] == ResourceId(name)) {
        return reinterpret_cast<HICON>(kIconBase + i);
      }
    }
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

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
