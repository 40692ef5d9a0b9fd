// The GL state every frame of the game starts from: texturing, smooth
// shading, the grey clear colour, depth test (LEQUAL), back-face culling,
// nicest perspective correction and no texture bound. The GL window sets it
// on a new context; the render tests and the start-up yardstick set the
// same, so a change here reaches all of them.
#pragma once

// Needs a current GL context.
void ApplyInitialGLState();
