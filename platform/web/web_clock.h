// The web layer's clock, shared by its files (not a public header).
#pragma once

#include "win32.h"

// Holds the millisecond clocks at `tick` until WebReleaseClock, from when
// they run on from it.
void WebSetStartTick(DWORD tick);
void WebReleaseClock();
// The millisecond clock GetTickCount and timeGetTime read.
DWORD WebTickNow();
