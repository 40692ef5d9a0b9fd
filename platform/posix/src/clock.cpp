// GetTickCount: a monotonic millisecond clock, truncated to 32 bits as on
// Windows (it wraps after about 49.7 days).
#include <ctime>

#include "win32.h"

extern "C" DWORD GetTickCount(void) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const unsigned long long ms = static_cast<unsigned long long>(now.tv_sec) * 1000ull +
                                static_cast<unsigned long long>(now.tv_nsec) / 1000000ull;
  return static_cast<DWORD>(ms);
}
