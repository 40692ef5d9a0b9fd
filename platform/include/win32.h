// The one way the program reaches the Windows API.
//
// On Windows this is the SDK's own <windows.h>; elsewhere it is our own
// subset (win32_subset.h), implemented by the layers beside this folder
// (platform/README.md). Either way callers write the same Win32 code. Extensions that Win32
// lacks but the program needs on both systems are declared at the end.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// timeGetTime and the timer period (winmm), which WIN32_LEAN_AND_MEAN leaves out.
#include <mmsystem.h>
#include <ole2.h>
#else
#include "win32_subset.h"
#endif

// Sets the swap interval of the GL context current on this thread (0: do not
// wait for the vertical blank). Returns FALSE where the driver offers no way.
BOOL PlatformSetSwapInterval(int interval);
