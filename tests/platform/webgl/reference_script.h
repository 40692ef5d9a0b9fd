// The GL calls run both on the WebGL layer (webgl_reference_test.cpp) and on
// Mesa (mesa_reference.cpp) to compare their results. Both define the same
// names, so each side compiles this into its own program.
#pragma once

#include "opengl.h"

namespace reference {

// The program's sphere (render/src/scene_drawing.cpp).
inline void Sphere(GLUquadric* quadric) { gluSphere(quadric, 24.0, 20, 20); }

// The window's projection and a camera's view as render/src/view.cpp turns
// it; the ball translated as below lies wholly in sight, 400 units ahead.
inline void View() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 640.0 / 480.0, 0.1, 2000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(-150.0f, 0.0f, 1.0f, 0.0f);
  glTranslated(-274.5, -250.25, 482.0);
}

// The matrix calls the program makes and a few beyond, with a checkpoint
// after each step: mark(label) reads both matrices there.
template <typename Mark>
void MatrixScript(Mark mark) {
  View();
  mark("view");
  glPushMatrix();
  glTranslatef(100.0f, 24.0f, -200.0f);
  glRotatef(33.0f, 1.0f, 2.0f, 3.0f);  // an axis not of unit length
  glRotatef(-725.5f, 0.0f, 0.0f, -2.0f);
  glRotatef(10.0f, 0.0f, 0.0f, 0.0f);  // no axis: GL leaves the matrix alone
  mark("rotations");
  const GLfloat skew[16] = {1, 0.5f, 0, 0, 0, 2, 0.25f, 0, -1, 0, 3, 0, 4, 5, 6, 1};
  glMultMatrixf(skew);
  const GLdouble perspectiveLike[16] = {0.3, 0, 0, 0, 0, 0.7, 0, 0.1, 0, 0, -1.5, -1, 0, 0, -2.5, 0.9};
  glMultMatrixd(perspectiveLike);
  glPushMatrix();
  glLoadIdentity();
  glPopMatrix();
  mark("products, pushed and popped");
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  gluPerspective(90.0, 0.5, 1.0, 10.0);
  mark("perspective on perspective");
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  mark("popped to the view");
}

// A ball lit as the program lights it: one directional light given after
// the view, specular white material, a dim emission (the program's ball
// colours are its emission) so that little is clamped away.
inline void LitBall(GLUquadric* quadric) {
  View();
  const GLfloat none[4] = {0, 0, 0, 0}, white[4] = {1, 1, 1, 0}, position[4] = {0, 1, -1, 0};
  const GLfloat specular[4] = {1, 1, 1, 1}, shininess = 50.0f, emission[4] = {0.05f, 0.1f, 0.2f, 0.2f};
  glLightfv(GL_LIGHT0, GL_AMBIENT, none);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_SPECULAR, white);
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
  glMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  glTranslatef(100.0f, 24.0f, -200.0f);
  glMaterialfv(GL_FRONT, GL_EMISSION, emission);
  Sphere(quadric);
}

}  // namespace reference
