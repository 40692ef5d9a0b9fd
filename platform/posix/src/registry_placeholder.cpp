// Temporary until the settings-file reader lands: no key, no GDI objects.
#include "win32.h"
extern "C" LONG RegOpenKeyExA(HKEY, LPCSTR, DWORD, REGSAM, PHKEY) { return ERROR_FILE_NOT_FOUND; }
extern "C" LONG RegQueryValueExA(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) { return ERROR_FILE_NOT_FOUND; }
extern "C" LONG RegCloseKey(HKEY) { return ERROR_SUCCESS; }
extern "C" HBRUSH CreateSolidBrush(COLORREF) { return nullptr; }
extern "C" HPEN CreatePen(int, int, COLORREF) { return nullptr; }
extern "C" BOOL DeleteObject(HGDIOBJ) { return TRUE; }
