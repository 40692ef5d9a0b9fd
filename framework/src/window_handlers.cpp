// CBaseWindow's handler list: most recently attached first, always exactly
// as long as the count.
#include "framework/base_window.h"

#include <cstring>

#include "framework/heap.h"

namespace {

IWindowHandler** AllocateList(long long count) {
  const long long bytes = count * static_cast<long long>(sizeof(IWindowHandler*));
  if (count <= 0 || bytes > 0x7FFFFFFFLL) {
    return nullptr;  // an overflowing size fails like an exhausted heap
  }
  return static_cast<IWindowHandler**>(FrameworkHeapAlloc(static_cast<std::size_t>(bytes)));
}

}  // namespace

HRESULT STDMETHODCALLTYPE CBaseWindow::AttachHandler(IWindowHandler* handler) {
  if (handler == nullptr) {
    return E_INVALIDARG;
  }
  IWindowHandler** list = AllocateList(static_cast<long long>(m_handlerCount) + 1);
  if (list == nullptr) {
    return E_OUTOFMEMORY;
  }
  list[0] = handler;
  if (m_handlerCount > 0) {
    std::memcpy(list + 1, m_handlers,
                static_cast<std::size_t>(m_handlerCount) * sizeof(IWindowHandler*));
  }
  FrameworkHeapFree(m_handlers);
  m_handlers = list;
  ++m_handlerCount;
  handler->OnAttach(this);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::DetachHandler(IWindowHandler* handler) {
  if (handler == nullptr) {
    return E_INVALIDARG;
  }
  int index = 0;
  while (index < m_handlerCount && m_handlers[index] != handler) {
    ++index;
  }
  if (index == m_handlerCount) {
    return E_INVALIDARG;
  }
  std::memmove(m_handlers + index, m_handlers + index + 1,
               static_cast<std::size_t>(m_handlerCount - index - 1) * sizeof(IWindowHandler*));
  --m_handlerCount;
  if (m_handlerCount == 0) {
    FrameworkHeapFree(m_handlers);
    m_handlers = nullptr;
  } else {
    IWindowHandler** list = AllocateList(m_handlerCount);
    if (list != nullptr) {  // otherwise the larger list stays in use
      std::memcpy(list, m_handlers,
                  static_cast<std::size_t>(m_handlerCount) * sizeof(IWindowHandler*));
      FrameworkHeapFree(m_handlers);
      m_handlers = list;
    }
  }
  handler->OnDetach(this);
  return S_OK;
}

void CBaseWindow::DetachAllHandlers() {
  for (int index = 0; index < m_handlerCount; ++index) {
    m_handlers[index]->OnDetach(this);
  }
  FrameworkHeapFree(m_handlers);
  m_handlers = nullptr;
  m_handlerCount = 0;
}

int STDMETHODCALLTYPE CBaseWindow::RouteMessage(DWORD flags, UINT message, WPARAM wParam,
                                                LPARAM lParam, LRESULT* result) {
  int handled = 0;
  if (flags & ROUTE_HANDLERS) {
    for (int index = 0; index < m_handlerCount; ++index) {
      if (m_handlers[index]->OnWindowMessage(this, message, wParam, lParam, result)) {
        handled = 1;
        break;
      }
    }
  }
  if ((flags & ROUTE_SELF) && handled == 0) {
    handled = OnMessage(message, wParam, lParam, result);
  }
  if ((flags & ROUTE_DEFAULT) && handled == 0) {
    DefWindowProcA(m_window, message, wParam, lParam);
  }
  return handled;
}
