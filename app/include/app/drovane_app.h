// The application window object: one reference-counted OpenGL window that
// owns the Scene, tracks activation and hands input to the simulation.
#pragma once

#include "framework/gl_window.h"
#include "framework/heap.h"
#include "framework/private_unknown.h"
#include "win32.h"

struct Scene;

extern const char kDrovaneClassName[];  // "Drovane3DCls"
extern const char kDrovaneTitle[];      // "Drovane 3D"
constexpr int kDrovaneClientWidth = 640;
constexpr int kDrovaneClientHeight = 480;
constexpr int kFullscreenWidth = 1024;
constexpr int kFullscreenHeight = 768;

class CDrovaneApp3D : public CPrivateUnknown, public CBaseGLWindow {
 public:
  explicit CDrovaneApp3D(HINSTANCE instance);

  // IUnknown, through the controlling unknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // The storage comes from the process heap (start-up constructs in place),
  // and the last Release gives it back there.
  FRAMEWORK_HEAP_OBJECT

  // What the main loop reads.
  int IsActive() const { return active_; }
  Scene* GetScene() const { return scene_; }
  void SetScene(Scene* scene) { scene_ = scene; }

  // A failed mode switch that could not give the user a window back ends the
  // program; this is the HRESULT it ends with (S_OK when nothing failed).
  HRESULT GetFatalResult() const { return fatal_; }

  HINSTANCE GetInstance() override;
  int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  HRESULT CreateGLResources() override;
  void Render() override;
  HRESULT SetFullscreen(BOOL fullscreen) override;

  HRESULT PrivateQueryInterface(REFIID iid, void** out) override;

 protected:
  ~CDrovaneApp3D() override;

 private:
  HRESULT RecoverWindow(HRESULT failure);

  HINSTANCE instance_;
  int active_ = 0;
  int savedWidth_ = 0;
  int savedHeight_ = 0;
  Scene* scene_ = nullptr;
  HRESULT fatal_ = S_OK;
};
