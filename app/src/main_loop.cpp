#include "app/main_loop.h"

#include "framework/gl_frame.h"
#include "sim/update.h"

namespace {

// Windows' tick moves in 15.6 ms steps and its waits end on those steps,
// which cannot pace 17 ms frames: they would fall 15.6 or 31.25 ms apart.
// Frames are therefore timed on timeGetTime with a 1 ms timer period, which
// makes both it and the waits millisecond-exact. The simulation keeps
// reading GetTickCount for its key ramps.
const UINT kTimerPeriodMs = 1;

void Pace(IFrameSource* source) {
  MSG msg;
  // One period back, so the first active iteration runs a frame at once
  // whatever the clock reads.
  DWORD last = timeGetTime() - kFrameIntervalMs;
  for (;;) {
    const BOOL handled = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    if (handled) {
      if (msg.message == WM_QUIT) {
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }

    if (!source->IsActive()) {
      // Nothing moves while another window has the focus: sleep until input,
      // but only once the queue is empty. Windows' WaitMessage does not wake
      // for messages a PeekMessageA has already looked at, so sleeping with
      // one still queued would leave it there until the next input.
      if (!handled) {
        WaitMessage();
      }
      continue;
    }

    const DWORD now = timeGetTime();
    DWORD frameStart = now;
    // Signed: a wait that ended a little before the due time leaves `now`
    // behind `last`, and an unsigned difference would read that as 49 days
    // overdue and draw at once. More than two periods ahead is no such
    // wait but a clock read weeks after `last` (the difference wrapped the
    // other way): draw.
    const LONG ahead = static_cast<LONG>(last + kFrameIntervalMs - now);
    if (ahead > 0 && ahead <= static_cast<LONG>(2 * kFrameIntervalMs)) {
      const DWORD wait = static_cast<DWORD>(ahead);
      // Any wake-up other than the time-out (a failure included) means input
      // is waiting: take it before drawing.
      if (MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT) != WAIT_TIMEOUT) {
        continue;
      }
      // This frame was due 17 ms after the previous one, and that is where
      // the next 17 ms count from. Not the time read before the wait: that
      // would let another frame follow straight after this one (two frames
      // per 17 ms). Nor a time read after waking or drawing: oversleeping
      // and drawing time would then stretch every period.
      frameStart = now + wait;
    }

    UpdateScene(source->GetScene());
    DrawGLFrame(*source);
    last = frameStart;
  }
}

}  // namespace

void RunMainLoop(IFrameSource* source) {
  // Released on the way out only if it was granted: periods are counted.
  const bool finePeriod = timeBeginPeriod(kTimerPeriodMs) == TIMERR_NOERROR;
  Pace(source);
  if (finePeriod) {
    timeEndPeriod(kTimerPeriodMs);
  }
}
