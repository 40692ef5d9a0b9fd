// IBaseWindow and CBaseWindow: an object bound to one Win32 window.
//
// A window class used with the framework is registered with
// CBaseWindow::ClassWndProc. CreateBaseWindow passes the object as the
// creation parameter; on WM_NCCREATE the class procedure takes a reference
// (held until WM_NCDESTROY), binds the handle and switches the window to
// CBaseWindow::InstanceWndProc, which routes every message through the
// attached handlers (most recently attached first) and then OnMessage.
#pragma once

#include "framework/id_set.h"
#include "win32.h"

class CBaseWindow;

// RouteMessage flags.
#define ROUTE_HANDLERS 0x1u
#define ROUTE_SELF 0x2u
#define ROUTE_DEFAULT 0x4u

// Watches and may take a window's messages. Not reference-counted by the
// window; the handler outlives its attachment.
class IWindowHandler {
 public:
  virtual void OnAttach(CBaseWindow* window) = 0;
  virtual void OnDetach(CBaseWindow* window) = 0;
  // Non-zero when handled; the window procedure then returns *result.
  virtual int OnWindowMessage(CBaseWindow* window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* result) = 0;

 protected:
  ~IWindowHandler() {}
};

// {60BA8858-E9C8-4F22-BD55-361CDF9BEC75}
struct IBaseWindow : public IOleWindow {
  virtual int STDMETHODCALLTYPE RouteMessage(DWORD flags, UINT message, WPARAM wParam,
                                             LPARAM lParam, LRESULT* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE Show(int showCommand) = 0;
  virtual HRESULT STDMETHODCALLTYPE Destroy() = 0;
  virtual HRESULT STDMETHODCALLTYPE Invalidate(BOOL erase) = 0;
  virtual HRESULT STDMETHODCALLTYPE Move(int x, int y, int width, int height, BOOL repaint) = 0;
  virtual HMENU STDMETHODCALLTYPE GetMenu() = 0;
  virtual HRESULT STDMETHODCALLTYPE AttachHandler(IWindowHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE DetachHandler(IWindowHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE AllocMessageId(UINT* message) = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeMessageId(UINT message) = 0;
  virtual HRESULT STDMETHODCALLTYPE StartTimer(UINT elapse, UINT* timerId) = 0;
  virtual HRESULT STDMETHODCALLTYPE StopTimer(UINT timerId) = 0;
};

// Ranges the IDs are handed out from: [WM_USER + 100, WM_APP) and
// [1000, 10000).
#define BASE_WINDOW_FIRST_MESSAGE_ID (WM_USER + 100u)
#define BASE_WINDOW_MESSAGE_ID_END 0x8000u
#define BASE_WINDOW_FIRST_TIMER_ID 1000u
#define BASE_WINDOW_TIMER_ID_END 10000u

class CBaseWindow : public IBaseWindow {
 public:
  CBaseWindow();
  CBaseWindow(const CBaseWindow&) = delete;
  CBaseWindow& operator=(const CBaseWindow&) = delete;

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;
  // IBaseWindow
  int STDMETHODCALLTYPE RouteMessage(DWORD flags, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result) override;
  HRESULT STDMETHODCALLTYPE Show(int showCommand) override;
  HRESULT STDMETHODCALLTYPE Destroy() override;
  HRESULT STDMETHODCALLTYPE Invalidate(BOOL erase) override;
  HRESULT STDMETHODCALLTYPE Move(int x, int y, int width, int height, BOOL repaint) override;
  HMENU STDMETHODCALLTYPE GetMenu() override;
  HRESULT STDMETHODCALLTYPE AttachHandler(IWindowHandler* handler) override;
  HRESULT STDMETHODCALLTYPE DetachHandler(IWindowHandler* handler) override;
  HRESULT STDMETHODCALLTYPE AllocMessageId(UINT* message) override;
  HRESULT STDMETHODCALLTYPE FreeMessageId(UINT message) override;
  HRESULT STDMETHODCALLTYPE StartTimer(UINT elapse, UINT* timerId) override;
  HRESULT STDMETHODCALLTYPE StopTimer(UINT timerId) override;

  // Detaches every handler, then deletes both ID sets. Neither destroys the
  // window nor stops timers: a bound window holds a reference, so the object
  // cannot get here while it exists.
  virtual ~CBaseWindow();
  // The module handle passed to CreateWindowExA.
  virtual HINSTANCE GetInstance() = 0;
  // Called once the window is gone, while the handle is still set.
  virtual void OnNcDestroy() = 0;
  // Called right after creation: shows and updates a top-level window.
  virtual HRESULT OnCreated(DWORD style, int showCommand);
  // Non-zero when handled; *result starts at 0.
  virtual int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // Creates the window bound to this object. E_UNEXPECTED without a class
  // name or when a window exists; the folded last error (E_ABORT when there
  // is none) when creation fails; a failed OnCreated destroys the window and
  // is returned.
  HRESULT CreateBaseWindow(LPCSTR className, DWORD style, DWORD exStyle, LPCSTR title, int x,
                           int y, int width, int height, int showCommand);
  void DetachAllHandlers();

  // The procedure a framework window class is registered with.
  static LRESULT CALLBACK ClassWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The procedure a bound window runs on.
  static LRESULT CALLBACK InstanceWndProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam);

  // Null when unbound.
  HWND GetHandle() const { return m_window; }
  int GetHandlerCount() const { return m_handlerCount; }

 protected:
  HWND m_window;

 private:
  IWindowHandler** m_handlers;
  int m_handlerCount;
  IdSet* m_messageIds;
  IdSet* m_timerIds;
};
