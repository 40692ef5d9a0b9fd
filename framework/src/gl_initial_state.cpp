#include "framework/gl_initial_state.h"

#include "opengl.h"

void ApplyInitialGLState() {
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.2f, 0.2f, 0.2f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBindTexture(GL_TEXTURE_2D, 0);
}
