// The follow camera: orbits a target on the floor from the +z side, looking
// towards -z and down. GL-free, so the simulation can move it without GL.
#pragma once

struct Camera {
  double targetX;       // point looked at
  double targetY;       // always 0
  double targetZ;
  double heading;       // radians about y; always 0
  float pitch;          // degrees below the horizontal: 0 level, 90 straight down
  float turn;           // degrees about y; always 0
  float height;         // eye above the target
  float backDistance;   // eye behind the target, horizontally
};

// Sets pitch (degrees) and, from it and the orbit distance, height and
// backDistance. Clamps nothing.
void SetOrbit(Camera* camera, float pitch, float distance);

// Moves the target to (x, 0, z).
void Follow(Camera* camera, float x, float z);
