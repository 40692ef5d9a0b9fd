#include "sim/seams.h"

namespace {
// Null means the system's own source; a plain test avoids storing a pointer
// to a WINAPI function in a pointer of another calling convention.
TickSource g_tickSource = nullptr;
WheelLinesSource g_wheelLinesSource = nullptr;
// The C library starts as if seeded with 1.
std::uint32_t g_randState = 1;
}  // namespace

void SetTickSource(TickSource source) { g_tickSource = source; }

DWORD SimTick() { return g_tickSource != nullptr ? g_tickSource() : GetTickCount(); }

void SetWheelLinesSource(WheelLinesSource source) { g_wheelLinesSource = source; }

BOOL SimWheelLines(UINT* lines) {
  if (g_wheelLinesSource != nullptr) {
    return g_wheelLinesSource(lines);
  }
  return SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, lines, 0);
}

void SimSrand(std::uint32_t seed) { g_randState = seed; }

int SimRand() {
  g_randState = g_randState * 214013u + 2531011u;
  return static_cast<int>((g_randState >> 16) & 0x7FFFu);
}
