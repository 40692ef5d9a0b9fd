// OpenGL 1.1 and GLU on WebGL 2: what the window layer needs from the GL
// layer, which otherwise offers only the GL functions themselves.
#pragma once

// The context's lifetime, for the window layer's WGL.
bool WebGlCreateContext();  // makes the canvas's WebGL 2 context on first use
bool WebGlUnavailable();    // the browser offered no WebGL 2 context
void WebGlResetContext();   // a new GL context: fresh state, objects dropped
void WebGlFlushFrame();     // SwapBuffers: everything drawn reaches the canvas
// The browser lost the canvas's context (GPU reset, driver update, evicted
// tab): GL calls are absorbed until it is restored.
void WebGlContextLost();
// The browser restored it: the shader, buffers and textures are made again
// and the GL state is sent anew. False when they could not be.
bool WebGlContextRestored();
