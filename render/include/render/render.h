// Drawing the Scene with fixed-function OpenGL: the view, the GL resources the
// frame needs (floor texture, ball materials, sphere quadric) and the frame.
// Every call needs the Scene's GL context current on the calling thread.
#pragma once

#include "render/camera.h"
#include "win32.h"

struct Scene;

// Multiplies the current matrix by the camera's view transformation.
void ApplyView(const Camera* camera);

// Builds the floor texture, the three material colours and the quadric in the
// current context, replacing any made earlier. S_OK, E_FAIL (a GL error, or no
// quadric) or E_OUTOFMEMORY (no scratch memory for the image).
HRESULT CreateRenderResources(Scene* scene);

// Gives back the texture, the quadric and the colour settings' GDI objects.
void ReleaseRenderResources(Scene* scene);

// Draws one frame: view, light, floor, then the 256 balls. Parts whose GL
// resource is missing (texture 0, null quadric) are left out.
void RenderScene(Scene* scene);

// Draws the floor squares around the camera target; used by RenderScene.
void DrawFloor(Scene* scene);
