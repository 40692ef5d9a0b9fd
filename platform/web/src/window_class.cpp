// Window classes, icons and cursors in the page.
//
// Supports: RegisterClassExA / UnregisterClassA (names compared without
//   case; found by name or atom), LoadIconA (any registered resource or
//   IDI_APPLICATION: the page's own favicon stands for it) and LoadCursorA
//   for IDC_ARROW.
// Lacks: class extra bytes, menus, background brushes (GL paints it all).
#include <strings.h>

#include "platform_resources.h"
#include "web_state.h"

namespace {

using web_layer::g_web;

HICON const kApplicationIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x7F00));
HCURSOR const kArrowCursor = reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(0x7F01));
constexpr ULONG_PTR kIconBase = 0x20000;
std::vector<int> g_iconIds;

bool IsAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }
WORD ResourceId(LPCSTR name) { return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)); }

long FindClass(LPCSTR name) {
  if (name == nullptr) {
    return -1;
  }
  for (size_t i = 0; i < g_web.classes.size(); ++i) {
    const web_layer::WindowClass& entry = g_web.classes[i];
    if (entry.atom != 0 && (IsAtom(name) ? entry.atom == ResourceId(name)
                                         : strcasecmp(entry.name.c_str(), name) == 0)) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

}  // namespace

namespace web_layer {
long FindClassIndex(LPCSTR name) { return FindClass(name); }
}  // namespace web_layer

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

extern "C" HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDC_ARROW) {
    return kArrowCursor;
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

extern "C" ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
      windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(windowClass->lpszClassName) >= 0) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  const ATOM atom = static_cast<ATOM>(0xC000 + g_web.classes.size());
  g_web.classes.push_back(web_layer::WindowClass{windowClass->lpszClassName, atom,
                                                 windowClass->lpfnWndProc,
                                                 windowClass->hInstance});
  return atom;
}

extern "C" BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  const long index = FindClass(className);
  if (index < 0) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (web_layer::Window* window : g_web.windows) {
    if (window->classIndex == static_cast<size_t>(index)) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  }
  g_web.classes[static_cast<size_t>(index)].atom = 0;
  return TRUE;
}
