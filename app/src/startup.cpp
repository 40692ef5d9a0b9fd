#include "app/startup.h"

#include <new>

#include "app/drovane_app.h"
#include "app/icon_pixels.h"
#include "app/main_loop.h"
#include "framework/hresult.h"
#include "sim/scene.h"

namespace {

// What the main loop needs of the application object, and nothing more.
class AppFrameSource final : public IFrameSource {
 public:
  explicit AppFrameSource(CDrovaneApp3D* app) : app_(app) {}
  int IsActive() override { return app_->IsActive(); }
  Scene* GetScene() override { return app_->GetScene(); }
  HDC GetDeviceContext() override { return app_->GetDeviceContext(); }
  void Render() override { app_->Render(); }

 private:
  CDrovaneApp3D* app_;
};

}  // namespace

HRESULT RunDrovane(HINSTANCE instance, int showCommand) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(WNDCLASSEXA);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = CBaseWindow::ClassWndProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResourceId));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // GL paints every pixel
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kDrovaneClassName;
  windowClass.hIconSm = nullptr;
  if (instance == nullptr) {
    return E_INVALIDARG;
  }
  if (RegisterClassExA(&windowClass) == 0) {
    const HRESULT folded = FoldWin32Error(GetLastError());
    if (folded != S_OK) {
      return folded;
    }
    // No error code: treated as registered (a second run in one process).
  }

  void* appMemory = HeapAlloc(GetProcessHeap(), 0, sizeof(CDrovaneApp3D));
  if (appMemory == nullptr) {
    return E_OUTOFMEMORY;
  }
  CDrovaneApp3D* app = new (appMemory) CDrovaneApp3D(instance);

  void* sceneMemory = HeapAlloc(GetProcessHeap(), 0, sizeof(Scene));
  Scene* scene = sceneMemory != nullptr ? InitScene(static_cast<Scene*>(sceneMemory)) : nullptr;
  app->SetScene(scene);

  HRESULT result = E_OUTOFMEMORY;
  if (scene != nullptr) {
    GLWindowCreateRecord record = {};
    record.window = app;
    record.style = 0;
    record.fullscreen = FALSE;
    record.className = kDrovaneClassName;
    record.x = CW_USEDEFAULT;
    record.y = CW_USEDEFAULT;
    record.width = kDrovaneClientWidth;
    record.height = kDrovaneClientHeight;
    record.showCommand = showCommand;
    result = CBaseGLWindow::Create(kDrovaneTitle, &record);
    if (SUCCEEDED(result)) {
      AppFrameSource source(app);
      RunMainLoop(&source);
      if (FAILED(app->GetFatalResult())) {
        result = app->GetFatalResult();
      }
    }
  }

  // Start-up's own reference; with the window gone it is the last one, and
  // the object takes its Scene with it. If CreateGLResources failed the
  // window keeps its reference and both live until the process ends.
  static_cast<CPrivateUnknown*>(app)->Release();
  return result;
}
