// CBaseWindow: construction, the window services and creation.
#include "framework/base_window.h"

#include "framework/hresult.h"

CBaseWindow::CBaseWindow()
    : m_window(nullptr),
      m_handlers(nullptr),
      m_handlerCount(0),
      m_messageIds(nullptr),
      m_timerIds(nullptr) {}

CBaseWindow::~CBaseWindow() {
  DetachAllHandlers();
  delete m_messageIds;
  m_messageIds = nullptr;
  delete m_timerIds;
  m_timerIds = nullptr;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::GetWindow(HWND* window) {
  if (window == nullptr) {
    return E_INVALIDARG;
  }
  *window = m_window;
  return m_window != nullptr ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::ContextSensitiveHelp(BOOL) { return S_FALSE; }

HRESULT STDMETHODCALLTYPE CBaseWindow::Show(int showCommand) {
  if (m_window == nullptr) {
    return E_HANDLE;
  }
  ShowWindow(m_window, showCommand);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::Destroy() {
  if (m_window == nullptr) {
    return E_FAIL;
  }
  return DestroyWindow(m_window) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::Invalidate(BOOL erase) {
  if (m_window == nullptr || !InvalidateRect(m_window, nullptr, erase)) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::Move(int x, int y, int width, int height, BOOL repaint) {
  if (m_window == nullptr || !MoveWindow(m_window, x, y, width, height, repaint)) {
    return E_FAIL;
  }
  return S_OK;
}

HMENU STDMETHODCALLTYPE CBaseWindow::GetMenu() { return nullptr; }

HRESULT STDMETHODCALLTYPE CBaseWindow::AllocMessageId(UINT* message) {
  return AllocateId(&m_messageIds, message, BASE_WINDOW_FIRST_MESSAGE_ID,
                    BASE_WINDOW_MESSAGE_ID_END);
}

HRESULT STDMETHODCALLTYPE CBaseWindow::FreeMessageId(UINT message) {
  return ReleaseId(m_messageIds, message);
}

HRESULT STDMETHODCALLTYPE CBaseWindow::StartTimer(UINT elapse, UINT* timerId) {
  if (m_window == nullptr) {
    return E_FAIL;
  }
  HRESULT hr = AllocateId(&m_timerIds, timerId, BASE_WINDOW_FIRST_TIMER_ID,
                          BASE_WINDOW_TIMER_ID_END);
  if (hr < 0) {
    return hr;
  }
  if (SetTimer(m_window, *timerId, elapse, nullptr) == 0) {
    // Read before ReleaseId can disturb it; never report the failure as S_OK.
    hr = HResultFromFailedCall();
    ReleaseId(m_timerIds, *timerId);
    return hr;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CBaseWindow::StopTimer(UINT timerId) {
  const HRESULT hr = ReleaseId(m_timerIds, timerId);
  if (hr >= 0) {
    KillTimer(m_window, timerId);
  }
  return hr;
}

HRESULT CBaseWindow::OnCreated(DWORD style, int showCommand) {
  if ((style & static_cast<DWORD>(WS_CHILD)) == 0) {
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
  }
  return S_OK;
}

int CBaseWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return 0; }

HRESULT CBaseWindow::CreateBaseWindow(LPCSTR className, DWORD style, DWORD exStyle, LPCSTR title,
                                      int x, int y, int width, int height, int showCommand) {
  if (className == nullptr || m_window != nullptr) {
    return E_UNEXPECTED;
  }
  HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, nullptr,
                                GetMenu(), GetInstance(), static_cast<CBaseWindow*>(this));
  m_window = window;
  if (window == nullptr) {
    return HResultFromFailedWindowCreation();
  }
  const HRESULT hr = OnCreated(style, showCommand);
  if (hr < 0) {
    Destroy();
  }
  return hr;
}
