// Icons in the page (the class table is the core's, wm_class.cpp).
//
// Supports: LoadIconA (any registered resource or IDI_APPLICATION: the
//   page's own favicon stands for it); LoadCursorA is the core's
//   (wm_window.cpp).
// Lacks: the program's own icon images: the page shows its favicon.
#include "platform_resources.h"
#include "web_state.h"

namespace {

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
