// The program's only loop: delivers window messages and, while the window is
// active, runs one frame (update, clear, draw, present) at most every 17 ms.
#pragma once

#include "win32.h"

struct Scene;

// The four things the loop reads from the application window on every
// iteration; nothing else of it is needed, so tests can supply their own.
class IFrameSource {
 public:
  virtual int IsActive() = 0;             // 1 while the window is the active one
  virtual Scene* GetScene() = 0;          // stepped once per frame
  virtual HDC GetDeviceContext() = 0;     // read afresh each frame (mode switches replace it)
  virtual void Render() = 0;              // draws one frame into the current context

 protected:
  ~IFrameSource() = default;
};

// Shortest span between the start ticks of two frames, in milliseconds.
constexpr DWORD kFrameIntervalMs = 17;

// Returns when WM_QUIT is taken from the queue; its exit code is not used.
void RunMainLoop(IFrameSource* source);
