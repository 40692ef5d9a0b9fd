// CBaseGLWindow: a CBaseWindow with an OpenGL context, windowed or full
// screen, switched by Alt+Enter by destroying the window and making a new one.
//
// A derived class supplies the module handle, its GL resources (built again
// in every new context), the drawing of one frame and the size for a switch.
// The window owns its device context, GL context and any changed display
// mode, and gives them back in OnNcDestroy.
#pragma once

#include "framework/base_window.h"
#include "win32.h"

class CBaseGLWindow;

// The arguments of CBaseGLWindow::Create; the title is passed beside it.
struct GLWindowCreateRecord {
  CBaseGLWindow* window;
  // Windowed: any style without WS_CHILD is replaced (0 will do).
  DWORD style;
  // 0 windowed, non-zero full screen.
  BOOL fullscreen;
  // A class registered with CBaseWindow::ClassWndProc.
  LPCSTR className;
  // Windowed: top-left of the client area, or CW_USEDEFAULT. Ignored full
  // screen.
  int x;
  int y;
  // Windowed: client size; full screen: display resolution and window size.
  int width;
  int height;
  int showCommand;
};

class CBaseGLWindow : public CBaseWindow {
 public:
  CBaseGLWindow();

  static HRESULT Create(LPCSTR title, const GLWindowCreateRecord* record);

  // Replaces the window by one in the other mode. S_FALSE when already in
  // that mode; E_FAIL without a window or for a child window.
  HRESULT SwitchScreenMode(BOOL fullscreen, int width, int height);
  // Turns a client-area placement into a window placement. CW_USEDEFAULT
  // positions stay.
  static HRESULT AdjustClientRect(int* x, int* y, int* width, int* height, DWORD style,
                                  DWORD exStyle);

  HDC GetDeviceContext() const { return m_deviceContext; }
  BOOL IsFullscreen() const { return m_fullscreen != 0; }

  void OnNcDestroy() override;
  HRESULT OnCreated(DWORD style, int showCommand) override;
  int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  // Builds the derived class's GL objects in the current (new) context.
  virtual HRESULT CreateGLResources() = 0;
  // Draws one frame; the caller clears, loads the identity and swaps.
  virtual void Render() = 0;
  // Alt+Enter: 1 to go full screen, 0 to go back. Calls SwitchScreenMode.
  virtual HRESULT SetFullscreen(BOOL fullscreen) = 0;

 protected:
  HRESULT SetupPixelFormat();
  void SetProjection(int width, int height);
  void InitGLState();
  // Gives back a display mode changed for full screen (see OnNcDestroy).
  void RestoreDisplayMode();

  int m_fullscreen;
  int m_colorBits;
  int m_depthBits;
  double m_nearPlane;
  double m_farPlane;
  HDC m_deviceContext;
  HGLRC m_glContext;

 private:
  // The screen's size when full screen was last entered (0 before).
  int m_desktopWidth;
  int m_desktopHeight;

  // The display mode and the cursor back as they were, if full screen.
  void LeaveFullScreen();
};
