// Windows: icon 101 is in the executable's resources (drovane.rc).
#include "app/icon_pixels.h"

void RegisterDrovaneIcon() {}
