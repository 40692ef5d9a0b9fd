// The window functions every window layer shares: the steps of creation
// around the system's window, destruction, titles, the frame's margins,
// window data, default processing and the stock cursor.
//
// Supports: window procedures that can be replaced (GWLP_WNDPROC), user
//   data (GWLP_USERDATA), styles read back (GWL_STYLE, GWL_EXSTYLE);
//   DefWindowProcA for the messages whose default matters (WM_CLOSE
//   destroys, WM_NCCREATE agrees, WM_PAINT validates, Alt+F4 closes);
//   DestroyWindow (WM_DESTROY then WM_NCDESTROY, then the layer releases
//   the system's window); class names and window titles, set and read
//   back; AdjustWindowRectEx with the layer's frame margins; UpdateWindow;
//   GetFocus; LoadCursorA for IDC_ARROW.
// Lacks:    child windows, extra window bytes, cursors other than the
//   arrow, changing styles after creation (a layer's system window cannot
//   be restyled in place).
// Depends on: the layer's ShowWindow and seam (wm_state.h); ValidateRect
//   (wm_paint.cpp).
#include <algorithm>
#include <cstring>

#include "wm_state.h"

namespace {

using wm::g_wm;

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
// Stock handle: a value no table entry ever takes.
HCURSOR const kArrowCursor = reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(0x7F01));

int CopyOut(const std::string& text, LPSTR buffer, int size) {
  const size_t count = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

}  // namespace

namespace wm {

long CheckCreation(LPCSTR className, DWORD style, HWND parent, int* width, int* height) {
  const long classIndex = FindClassIndex(className);
  if (classIndex < 0) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return -1;
  }
  if (style & WS_CHILD) {
    SetLastError(parent == nullptr ? ERROR_TLW_WITH_WSCHILD : ERROR_NOT_SUPPORTED);
    return -1;
  }
  if (*width == CW_USEDEFAULT || *width <= 0) {
    *width = kDefaultWidth;
    *height = kDefaultHeight;
  }
  if (*height <= 0) {
    *height = kDefaultHeight;
  }
  return classIndex;
}

void InitWindow(Window* window, HWND handle, size_t classIndex, DWORD style, DWORD exStyle,
                LPCSTR title) {
  window->handle = handle;
  window->classIndex = classIndex;
  window->procedure = g_wm.classes[classIndex].procedure;
  window->style = style & ~static_cast<DWORD>(WS_VISIBLE);
  window->exStyle = exStyle;
  window->title = title != nullptr ? title : "";
  window->reportedWidth = -1;
  window->reportedHeight = -1;
  window->invalid = true;
}

CREATESTRUCTA CreationRecord(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                             int y, int width, int height, HWND parent, HMENU menu,
                             HINSTANCE instance, LPVOID param) {
  CREATESTRUCTA create{};
  create.lpCreateParams = param;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parent;
  create.cx = width;
  create.cy = height;
  create.x = x;
  create.y = y;
  create.style = static_cast<LONG>(style);
  create.lpszName = title;
  create.lpszClass = className;
  create.dwExStyle = exStyle;
  return create;
}

bool SendCreation(Window* window, CREATESTRUCTA* create, MINMAXINFO* limits) {
  HWND const handle = window->handle;
  Send(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(limits));
  bool created = FindWindow(handle) != nullptr &&
                 Send(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(create)) != 0;
  created = created && FindWindow(handle) != nullptr &&
            Send(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(create)) != -1;
  if (!created) {
    // As Windows: the half-made window hears only WM_NCDESTROY.
    if (FindWindow(handle) != nullptr) {
      window->destroying = true;
      Send(window, WM_NCDESTROY, 0, 0);
      Forget(window);
    }
    return false;
  }
  return FindWindow(handle) != nullptr;  // else destroyed by its own WM_CREATE
}

HWND FinishCreation(HWND handle, DWORD style) {
  if ((style & WS_VISIBLE) && FindWindow(handle) != nullptr) {
    ShowWindow(handle, SW_SHOW);
  }
  return FindWindow(handle) != nullptr ? handle : nullptr;
}

}  // namespace wm

extern "C" LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_PAINT:
      ValidateRect(handle, nullptr);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4) {
        if (wm::Window* window = wm::FindWindow(handle)) {
          wm::Send(window, WM_CLOSE, 0, 0);
        }
      }
      return 0;
    default:
      return 0;
  }
}

extern "C" LRESULT CallWindowProcA(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  return procedure != nullptr ? procedure(handle, message, wParam, lParam) : 0;
}

extern "C" LONG_PTR GetWindowLongPtrA(HWND handle, int index) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return 0;
  }
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_USERDATA:
      return window->userData;
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(g_wm.classes[window->classIndex].instance);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(window->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(window->exStyle));
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

extern "C" LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return 0;
  }
  const LONG_PTR previous = GetWindowLongPtrA(handle, index);
  switch (index) {
    case GWLP_WNDPROC:
      if (value == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      window->procedure = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_USERDATA:
      window->userData = value;
      break;
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
  // Windows leaves the last error alone on success, so a caller can tell a
  // previous value of 0 from a failure only by clearing it first.
  return previous;
}

extern "C" LONG GetWindowLongA(HWND handle, int index) {
  if (index != GWL_STYLE && index != GWL_EXSTYLE) {
    // Pointer-sized values would be truncated here; 64-bit Windows refuses too.
    if (wm::RequireWindow(handle) != nullptr) {
      SetLastError(ERROR_INVALID_INDEX);
    }
    return 0;
  }
  return static_cast<LONG>(GetWindowLongPtrA(handle, index));
}

extern "C" BOOL DestroyWindow(HWND handle) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (window->destroying) {
    return TRUE;  // already on its way out (DestroyWindow from WM_DESTROY)
  }
  window->destroying = true;
  wm::Send(window, WM_DESTROY, 0, 0);
  wm::Send(window, WM_NCDESTROY, 0, 0);
  wm::Forget(window);
  return TRUE;
}

extern "C" BOOL SetWindowTextA(HWND handle, LPCSTR text) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  window->title = text != nullptr ? text : "";
  wm::ShowTitle(*window);
  return TRUE;
}

extern "C" BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD exStyle) {
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT frame = wm::FrameMargins(style, exStyle);
  rect->left -= frame.left;
  rect->top -= frame.top;
  rect->right += frame.right;
  rect->bottom += frame.bottom;
  return TRUE;
}

extern "C" BOOL IsWindow(HWND handle) { return wm::FindWindow(handle) != nullptr; }

extern "C" int GetClassNameA(HWND handle, LPSTR buffer, int size) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return 0;
  }
  if (buffer == nullptr || size <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return CopyOut(g_wm.classes[window->classIndex].name, buffer, size);
}

extern "C" int GetWindowTextA(HWND handle, LPSTR buffer, int size) {
  if (buffer != nullptr && size > 0) {
    buffer[0] = '\0';
  }
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr || buffer == nullptr || size <= 0) {
    return 0;
  }
  return CopyOut(window->title, buffer, size);
}

extern "C" BOOL UpdateWindow(HWND handle) {
  wm::Window* window = wm::RequireWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (window->invalid && (window->style & WS_VISIBLE)) {
    wm::Send(window, WM_PAINT, 0, 0);
  }
  return TRUE;
}

extern "C" HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr && name == IDC_ARROW) {
    return kArrowCursor;
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

extern "C" HWND GetFocus(void) { return g_wm.focus; }
