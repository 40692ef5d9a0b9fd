// Start-up and shutdown: the whole life of the program between the entry
// point and its exit code.
#pragma once

#include "win32.h"

// Registers the window class, makes the application object, its Scene and
// its window, runs the main loop and releases everything. Returns the
// process exit code: 0 after a normal run, otherwise the failure HRESULT.
HRESULT RunDrovane(HINSTANCE instance, int showCommand);
