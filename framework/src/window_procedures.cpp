// The two window procedures that bind a window to its CBaseWindow.
#include "framework/base_window.h"

LRESULT CALLBACK CBaseWindow::ClassWndProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object to go to.
  if (message != WM_NCCREATE) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  CBaseWindow* object = static_cast<CBaseWindow*>(create->lpCreateParams);
  object->AddRef();  // the window's own reference, until WM_NCDESTROY
  object->m_window = window;
  // Pointer-sized window data: SetWindowLongA would cut pointers to 32 bits.
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InstanceWndProc));
  return InstanceWndProc(window, message, wParam, lParam);
}

LRESULT CALLBACK CBaseWindow::InstanceWndProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  CBaseWindow* object = reinterpret_cast<CBaseWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (object == nullptr) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  const int handled =
      object->RouteMessage(ROUTE_HANDLERS | ROUTE_SELF, message, wParam, lParam, &result);
  if (message == WM_NCDESTROY) {
    object->OnNcDestroy();
    object->m_window = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    object->Release();  // may destroy the object; nothing of it is used after this
  }
  if (handled) {
    return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
