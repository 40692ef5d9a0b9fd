// Swap interval through the WGL_EXT_swap_control extension, where the driver
// offers it.
#include <cstring>

#include "win32.h"

BOOL PlatformSetSwapInterval(int interval) {
  typedef BOOL(WINAPI * SwapIntervalProc)(int);
  PROC proc = wglGetProcAddress("wglSwapIntervalEXT");
  if (proc == nullptr) {
    return FALSE;
  }
  SwapIntervalProc swapInterval = nullptr;
  static_assert(sizeof(proc) == sizeof(swapInterval), "function pointers differ in size");
  std::memcpy(&swapInterval, &proc, sizeof(proc));
  return swapInterval(interval);
}
