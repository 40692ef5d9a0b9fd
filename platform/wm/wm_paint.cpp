// The update state behind WM_PAINT: one flag per window.
//
// Supports: InvalidateRect (a null window invalidates every window, as
//   Windows repaints them all; an empty rectangle adds nothing) and
//   ValidateRect (a null rectangle, or one covering the client area,
//   validates). The queue (wm_queue.cpp) makes WM_PAINT for a visible
//   invalid window.
// Lacks:    update regions: a partial InvalidateRect invalidates the whole
//   window, a partial ValidateRect validates nothing.
// Depends on: the layer's GetClientRect.
#include "wm_state.h"

namespace {

bool CoversClient(HWND handle, const RECT* rect) {
  if (rect == nullptr) {
    return true;
  }
  RECT client{};
  GetClientRect(handle, &client);
  return rect->left <= 0 && rect->top <= 0 && rect->right >= client.right &&
         rect->bottom >= client.bottom;
}

}  // namespace

extern "C" BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL) {
  if (handle == nullptr) {
    for (wm::Window* window : wm::g_wm.windows) {
      window->invalid = true;
    }
    return TRUE;
  }
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (rect == nullptr || (rect->right > rect->left && rect->bottom > rect->top)) {
    window->invalid = true;
  }
  return TRUE;
}

extern "C" BOOL ValidateRect(HWND handle, const RECT* rect) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (CoversClient(handle, rect)) {
    window->invalid = false;
  }
  return TRUE;
}
