// GetTickCount and timeGetTime: a monotonic millisecond clock, truncated to
// 32 bits as on Windows (it wraps after about 49.7 days). Both are exact to
// the millisecond here, so the timer period asks for nothing.
#include <ctime>

#include "win32.h"

extern "C" DWORD GetTickCount(void) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const unsigned long long ms = static_cast<unsigned long long>(now.tv_sec) * 1000ull +
                                static_cast<unsigned long long>(now.tv_nsec) / 1000000ull;
  return static_cast<DWORD>(ms);
}

extern "C" DWORD timeGetTime(void) { return GetTickCount(); }

// Windows refuses a period of 0; any other is granted (a coarser one than
// the system's is still accepted there).
extern "C" MMRESULT timeBeginPeriod(UINT period) {
  return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR;
}

extern "C" MMRESULT timeEndPeriod(UINT period) {
  return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR;
}
