#include "framework/hresult.h"

HRESULT FoldWin32Error(DWORD code) {
  const LONG value = static_cast<LONG>(code);
  if (value <= 0) {
    return static_cast<HRESULT>(value);
  }
  return static_cast<HRESULT>(0x80070000u | (code & 0xFFFFu));
}

HRESULT HResultFromFailedCall(void) {
  const HRESULT hr = FoldWin32Error(GetLastError());
  return hr < 0 ? hr : E_FAIL;
}

HRESULT HResultFromFailedWindowCreation(void) {
  const HRESULT hr = FoldWin32Error(GetLastError());
  return hr == 0 ? E_ABORT : hr;
}
