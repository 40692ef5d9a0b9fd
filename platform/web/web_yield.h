// Handing the thread back to the browser (not a public header).
#pragma once

#include "win32.h"

namespace web_layer {

// Sleeps under ASYNCIFY: the browser runs its event handlers meanwhile.
void Sleep(DWORD milliseconds);
// A wait has ended: the program runs from here until its next wait or swap.
void MarkAwake();
// Called when a frame is presented: yields once if the program has not
// waited since the last one (the page would otherwise never get the thread
// back), and records the main-thread time spent on the frame.
void FramePresented();

}  // namespace web_layer
