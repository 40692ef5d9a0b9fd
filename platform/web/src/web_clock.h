// The web layer's clock, shared by its files (not a public header).
#pragma once

#include "win32.h"

// Makes the millisecond clocks read `tick` now.
void WebSetStartTick(DWORD tick);
// The millisecond clock GetTickCount and timeGetTime read.
DWORD WebTickNow();
