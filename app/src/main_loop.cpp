#include "app/main_loop.h"

#include "opengl.h"
#include "sim/update.h"

void RunMainLoop(IFrameSource* source) {
  MSG msg;
  // 0 so the first active iteration runs a frame straight away.
  DWORD last = 0;
  for (;;) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }

    if (!source->IsActive()) {
      // Nothing moves while another window has the focus: sleep until input.
      WaitMessage();
      continue;
    }

    const DWORD now = GetTickCount();
    const DWORD elapsed = now - last;  // unsigned: survives the 49.7-day wrap
    DWORD frameStart = now;
    if (elapsed < kFrameIntervalMs) {
      const DWORD wait = kFrameIntervalMs - elapsed;
      // Any wake-up other than the time-out (a failure included) means input
      // is waiting: take it before drawing.
      if (MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT) != WAIT_TIMEOUT) {
        continue;
      }
      // This frame was due 17 ms after the previous one, and that is where
      // the next 17 ms count from. Not the tick read before the wait: that
      // would let another frame follow straight after this one (two frames
      // per 17 ms). Nor a tick read after waking or drawing: oversleeping
      // and drawing time would then stretch every period.
      frameStart = now + wait;
    }

    UpdateScene(source->GetScene());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    source->Render();
    SwapBuffers(source->GetDeviceContext());
    last = frameStart;
  }
}
