// A program for the entry-point test: prints what WinMain receives and
// returns an HRESULT, of which the exit status keeps the low byte.
#include <cstdio>

#include "win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  std::printf("module=%d previous=%d show=%d line=[%s]\n",
              instance == GetModuleHandleA(nullptr) && instance != nullptr, previous != nullptr,
              showCommand, commandLine);
  return static_cast<int>(E_OUTOFMEMORY);
}
