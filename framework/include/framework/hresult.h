// Turning Win32 error codes into HRESULTs, the one way the framework does it.
#pragma once

#include "win32.h"

// A positive Win32 code c becomes 0x80070000 | (c & 0xFFFF); 0 and codes that
// are already negative HRESULTs pass unchanged.
HRESULT FoldWin32Error(DWORD code);

// For a call that has just failed: the folded last error, or E_FAIL when the
// system left no error behind (a failure must never read as success).
HRESULT HResultFromFailedCall(void);

// For a failed CreateWindowExA: the folded last error, or E_ABORT when there
// is none (a window procedure refused the window).
HRESULT HResultFromFailedWindowCreation(void);
