#include "behaviour_platform.h"
#include "fake_platform.h"

void ResetPlatformForTest() { fake::Reset(); }
