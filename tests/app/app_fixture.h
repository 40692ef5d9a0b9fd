// Helpers shared by the application tests: a registered window class and an
// application object made the way start-up makes it, on the fake platform.
#pragma once

#include <new>
#include <string>

#include "app/drovane_app.h"
#include "fake_platform.h"
#include "sim/scene.h"

inline bool StartsWith(const std::string& entry, const char* name) {
  return entry.rfind(name, 0) == 0;
}

inline ATOM RegisterDrovaneClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(WNDCLASSEXA);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = CBaseWindow::ClassWndProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kDrovaneClassName;
  return RegisterClassExA(&windowClass);
}

// Object and Scene from the heap, as start-up allocates them.
inline CDrovaneApp3D* NewApp(HINSTANCE instance) {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(CDrovaneApp3D));
  CDrovaneApp3D* app = new (memory) CDrovaneApp3D(instance);
  void* sceneMemory = HeapAlloc(GetProcessHeap(), 0, sizeof(Scene));
  app->SetScene(InitScene(static_cast<Scene*>(sceneMemory)));
  return app;
}

inline HRESULT CreateAppWindow(CDrovaneApp3D* app, int width, int height) {
  GLWindowCreateRecord record = {};
  record.window = app;
  record.className = kDrovaneClassName;
  record.x = CW_USEDEFAULT;
  record.y = CW_USEDEFAULT;
  record.width = width;
  record.height = height;
  record.showCommand = SW_SHOWNORMAL;
  return CBaseGLWindow::Create(kDrovaneTitle, &record);
}
