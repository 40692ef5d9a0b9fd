// The yardstick for the game's start-up: a bare SDL2 program that opens a
// 640 x 480 GL window and draws the game's first frame with the game's own
// render code on a fresh Scene, then ends. What the game takes beyond this
// program to its first frame is the cost of our own layers. Drawing the
// real frame (not just a clear) matters: the software renderer compiles its
// shaders on the first real draw, and both programs pay that.
// `--clear-only` clears and swaps instead of drawing, to show what that
// first real draw costs on its own.
#include <SDL.h>

#include <cstring>
#include <new>

#include "framework/gl_initial_state.h"
#include "opengl.h"
#include "render/render.h"
#include "sim/scene.h"

int main(int argc, char** argv) {
  const bool clearOnly = argc > 1 && std::strcmp(argv[1], "--clear-only") == 0;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    return 1;
  }
  // The attributes the game's pixel format asks for.
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_Window* window = SDL_CreateWindow("Drovane 3D bare baseline", SDL_WINDOWPOS_UNDEFINED,
                                        SDL_WINDOWPOS_UNDEFINED, 640, 480, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  Scene* scene = InitScene(new (std::nothrow) Scene);
  if (context == nullptr || scene == nullptr) {
    return 1;
  }
  SDL_GL_SetSwapInterval(0);

  // The game's GL state and projection (near 0.1, far 2000).
  ApplyInitialGLState();
  glViewport(0, 0, 640, 480);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 640.0 / 480.0, 0.1, 2000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (FAILED(CreateRenderResources(scene))) {
    return 1;
  }

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (!clearOnly) {
    RenderScene(scene);
  }
  SDL_GL_SwapWindow(window);

  ReleaseRenderResources(scene);
  delete scene;
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
