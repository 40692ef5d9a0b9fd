// One frame: the checkered floor and the 256 balls under one directional
// light, all in immediate mode.
#include "opengl.h"
#include "render/render.h"
#include "render/render_internal.h"
#include "sim/scene.h"

namespace {
const GLfloat kLightAmbient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
const GLfloat kLightDiffuse[4] = {1.0f, 1.0f, 1.0f, 0.0f};
const GLfloat kLightSpecular[4] = {1.0f, 1.0f, 1.0f, 0.0f};
// Directional, given after the view: fixed in the world, from above and -z.
const GLfloat kLightPosition[4] = {0.0f, 1.0f, -1.0f, 0.0f};
// Full white emission shows the texture unchanged by the light.
const GLfloat kFloorEmission[4] = {1.0f, 1.0f, 1.0f, 0.0f};
const GLfloat kBallSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat kBallShininess = 50.0f;
const GLdouble kSphereRadius = 24.0;
const GLint kSphereSlices = 20;
const GLint kSphereStacks = 20;

// The grid around the origin: 19 squares along x, 23 along z.
const int kFloorFirstX = -864;
const int kFloorEndX = 960;
const int kFloorFirstZ = -1536;
const int kFloorEndZ = 672;
}  // namespace

void DrawFloor(Scene* scene) {
  const FloorOrigin origin = ComputeFloorOrigin(scene->camera.targetX, scene->camera.targetZ);
  int parity = origin.parity;

  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslated(origin.x, 0.0, origin.z);
  glMaterialfv(GL_FRONT, GL_EMISSION, kFloorEmission);
  glBindTexture(GL_TEXTURE_2D, scene->textureName);
  glBegin(GL_QUADS);
  glNormal3f(0.0f, 1.0f, 0.0f);
  for (int z = kFloorFirstZ; z < kFloorEndZ; z += kFloorSquare) {
    for (int x = kFloorFirstX; x < kFloorEndX; x += kFloorSquare) {
      const GLfloat s0 = parity != 0 ? 0.5f : 0.0f;
      // Counter-clockwise seen from above, so culling keeps them.
      glTexCoord2f(s0, 0.0f);
      glVertex3i(x, 0, z + kFloorSquare);
      glTexCoord2f(s0 + 0.5f, 0.0f);
      glVertex3i(x + kFloorSquare, 0, z + kFloorSquare);
      glTexCoord2f(s0 + 0.5f, 0.5f);
      glVertex3i(x + kFloorSquare, 0, z);
      glTexCoord2f(s0, 0.5f);
      glVertex3i(x, 0, z);
      parity = 1 - parity;
    }
  }
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void RenderScene(Scene* scene) {
  ApplyView(&scene->camera);

  glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
  glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glShadeModel(GL_FLAT);

  // Without its texture (resources never made, or their making failed) the
  // floor would be plain white: leave it out.
  if (scene->textureName != 0) {
    DrawFloor(scene);
  }

  glMaterialfv(GL_FRONT, GL_SPECULAR, kBallSpecular);
  glMaterialfv(GL_FRONT, GL_SHININESS, &kBallShininess);
  // gluSphere needs a quadric; the materials are filled before one is made,
  // so a quadric also vouches for them.
  if (scene->quadric != nullptr) {
    for (int i = 0; i < kBallCount; ++i) {
      const Ball& ball = scene->balls[i];
      glMatrixMode(GL_MODELVIEW);
      glPushMatrix();
      glTranslatef(ball.x, kBallRadius, ball.z);
      glMaterialfv(GL_FRONT, GL_EMISSION, scene->materialColourPtrs[ball.state]);
      gluSphere(scene->quadric, kSphereRadius, kSphereSlices, kSphereStacks);
      glMatrixMode(GL_MODELVIEW);
      glPopMatrix();
    }
  }

  glDisable(GL_LIGHT0);
  glDisable(GL_LIGHTING);
}
