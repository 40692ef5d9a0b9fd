// Interface identifiers of the framework and how any two are compared.
#pragma once

#include "win32.h"

// {60BA8858-E9C8-4F22-BD55-361CDF9BEC75}
extern const IID IID_IBaseWindow;

// Equal when all 16 bytes are equal; the GUID's fields are not interpreted.
bool IidEquals(REFIID a, REFIID b);
