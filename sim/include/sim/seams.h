// Where the simulation meets the outside world: the clock, the random
// generator and the wheel setting. The game uses the system's; tests and
// drovane-sim script them.
#pragma once

#include <cstdint>

#include "win32.h"

// The millisecond tick the simulation reads (GetTickCount unless replaced).
using TickSource = DWORD (*)();
void SetTickSource(TickSource source);  // null restores GetTickCount
DWORD SimTick();

// The wheel scroll-lines setting: FALSE when it cannot be read
// (SystemParametersInfoA unless replaced).
using WheelLinesSource = BOOL (*)(UINT* lines);
void SetWheelLinesSource(WheelLinesSource source);  // null restores the system's
BOOL SimWheelLines(UINT* lines);

// The program's own srand/rand pair: the same sequence on every platform.
void SimSrand(std::uint32_t seed);
int SimRand();  // 0 ... 32767
