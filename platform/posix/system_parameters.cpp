// SystemParametersInfoA: the one setting the program asks for. There is no
// desktop-wide wheel setting to read here, so it answers Windows' default.
#include "win32.h"

extern "C" BOOL SystemParametersInfoA(UINT action, UINT, PVOID data, UINT) {
  if (action == SPI_GETWHEELSCROLLLINES && data != nullptr) {
    *static_cast<UINT*>(data) = 3;
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
