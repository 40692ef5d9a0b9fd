// wsprintfA: like user32's, output is cut at 1024 characters.
#include <cstdarg>
#include <cstdio>

#include "win32.h"

extern "C" int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  constexpr int kLimit = 1024;
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(buffer, kLimit, format, args);
  va_end(args);
  if (written < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return written < kLimit ? written : kLimit - 1;
}
