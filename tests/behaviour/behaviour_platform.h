// The one thing the behaviour suite asks that differs per implementation.
#pragma once

// Back to a clean state before each case: the fake forgets everything; the
// SDL layer, the web layer and Windows need nothing.
void ResetPlatformForTest();
