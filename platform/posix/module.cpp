// Module handles: there is one module, the program itself.
#include "win32.h"

namespace {
int g_module;
}

extern "C" HMODULE GetModuleHandleA(LPCSTR name) {
  if (name != nullptr) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(&g_module);
}
