#include "app/drovane_app.h"

#include "framework/interface_ids.h"
#include "render/render.h"
#include "sim/scene.h"
#include "sim/update.h"

const char kDrovaneClassName[] = "Drovane3DCls";
const char kDrovaneTitle[] = "Drovane 3D";

CDrovaneApp3D::CDrovaneApp3D(HINSTANCE instance) : instance_(instance) {
  // The floor reaches farther than the framework's default far plane.
  m_farPlane = 2000.0;
}

CDrovaneApp3D::~CDrovaneApp3D() {
  // The window and its context are gone by now; only the Scene is left.
  if (scene_ != nullptr) {
    ReleaseRenderResources(scene_);
    HeapFree(GetProcessHeap(), 0, scene_);
    scene_ = nullptr;
  }
}

HRESULT STDMETHODCALLTYPE CDrovaneApp3D::QueryInterface(REFIID iid, void** out) {
  return CPrivateUnknown::QueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE CDrovaneApp3D::AddRef() { return CPrivateUnknown::AddRef(); }

ULONG STDMETHODCALLTYPE CDrovaneApp3D::Release() { return CPrivateUnknown::Release(); }

HRESULT CDrovaneApp3D::PrivateQueryInterface(REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  if (IidEquals(iid, IID_IOleWindow) || IidEquals(iid, IID_IBaseWindow)) {
    *out = static_cast<IBaseWindow*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

HINSTANCE CDrovaneApp3D::GetInstance() { return instance_; }

int CDrovaneApp3D::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const int handled = CBaseGLWindow::OnMessage(message, wParam, lParam, result);
  if (handled != 0) {
    return handled;
  }
  if (message == WM_ACTIVATE) {
    // The high word (minimised) does not matter: activation is in the low word.
    active_ = LOWORD(wParam) != WA_INACTIVE ? 1 : 0;
  } else if (message == WM_CLOSE) {
    // Not reported handled, so default processing still destroys the window.
    PostQuitMessage(0);
  }
  return HandleSceneMessage(wParam, scene_, message);
}

HRESULT CDrovaneApp3D::CreateGLResources() { return CreateRenderResources(scene_); }

void CDrovaneApp3D::Render() { RenderScene(scene_); }

HRESULT CDrovaneApp3D::SetFullscreen(BOOL fullscreen) {
  HWND before = GetHandle();
  if (!IsFullscreen()) {
    // Remember the windowed size to come back to; a second request while
    // already full screen must not overwrite it with 1024 x 768.
    RECT client = {0, 0, 0, 0};
    GetClientRect(before, &client);
    savedWidth_ = client.right - client.left;
    savedHeight_ = client.bottom - client.top;
  }
  const HRESULT hr = fullscreen ? SwitchScreenMode(TRUE, kFullscreenWidth, kFullscreenHeight)
                                : SwitchScreenMode(FALSE, savedWidth_, savedHeight_);
  if (SUCCEEDED(hr)) {
    return hr;
  }
  HWND after = GetHandle();
  if (after != nullptr && after == before) {
    return hr;  // refused before anything was touched: the old window stays
  }
  // The old window is gone, and either no new one exists or it has no GL
  // resources to draw with. Without recovery the program would run on with
  // nothing on screen and no way for the user to end it.
  return RecoverWindow(hr);
}

HRESULT CDrovaneApp3D::RecoverWindow(HRESULT failure) {
  if (GetHandle() != nullptr) {
    Destroy();
  }
  // A refused or half-made full-screen attempt may have left the display mode
  // changed and the cursor hidden; put both back (the cursor count to 0).
  RestoreDisplayMode();
  if (ShowCursor(TRUE) > 0) {
    ShowCursor(FALSE);
  }

  // Windowed again, at the size from before full screen as far as it fits
  // the desktop, centred like a mode switch would.
  const int cx = GetSystemMetrics(SM_CXFULLSCREEN);
  const int cy = GetSystemMetrics(SM_CYFULLSCREEN);
  int width = savedWidth_ > 0 ? savedWidth_ : kDrovaneClientWidth;
  int height = savedHeight_ > 0 ? savedHeight_ : kDrovaneClientHeight;
  width = width < cx ? width : cx;
  height = height < cy ? height : cy;
  if (width > 0 && height > 0) {
    GLWindowCreateRecord record = {};
    record.window = this;
    record.style = 0;
    record.fullscreen = FALSE;
    record.className = kDrovaneClassName;
    record.x = cx / 2 - width / 2;
    record.y = cy / 2 - height / 2;
    record.width = width;
    record.height = height;
    record.showCommand = SW_SHOW;
    if (SUCCEEDED(Create(kDrovaneTitle, &record))) {
      return failure;  // the switch still failed, but the game goes on
    }
    if (GetHandle() != nullptr) {
      Destroy();  // made, but nothing to draw with
    }
  }
  // No window can be made: end the program with the failure as exit code.
  active_ = 0;
  fatal_ = failure;
  PostQuitMessage(static_cast<int>(failure));
  return failure;
}
