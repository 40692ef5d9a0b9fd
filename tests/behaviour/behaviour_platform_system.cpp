#include "behaviour_platform.h"

void ResetPlatformForTest() {}
