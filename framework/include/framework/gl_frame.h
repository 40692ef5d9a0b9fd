// The one routine that draws a frame, for the main loop and WM_PAINT alike.
#pragma once

#include "opengl.h"
#include "win32.h"

// Clears colour and depth, loads the identity model-view matrix, lets the
// target draw, then presents on its device context. A failed swap is not
// looked at: the next frame simply tries again. `Target` has Render() and
// GetDeviceContext(): a CBaseGLWindow, or anything that stands for one.
template <typename Target>
void DrawGLFrame(Target& target) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  target.Render();
  SwapBuffers(target.GetDeviceContext());
}
