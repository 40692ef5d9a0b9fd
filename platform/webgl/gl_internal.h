// OpenGL 1.1 on WebGL 2: the state shared by the files of this directory
// (not a public header).
//
// Immediate mode collects vertices in wasm memory. Consecutive primitives
// drawn under the same state form one run; a run whose vertices repeat an
// earlier run's of this frame (the same sphere drawn again elsewhere) is
// drawn from the earlier one's data. At a flush the frame's vertices go to
// WebGL in one upload and each run is one draw, preceded by the uniforms
// that changed: a frame of the program makes a few hundred WebGL calls.
#pragma once

#include <cstdint>
#include <vector>

#include "opengl.h"
#include "webgl_context.h"

namespace web_gl {

// Everything a draw depends on, compared bytewise to tell runs apart: keep
// it free of padding and pointers.
struct DrawState {
  float modelview[16];
  float normalMatrix[12];  // three columns, each padded to four floats
  float emission[4];
  float projection[16];
  float lightPosition[4];  // eye coordinates, as given to glLightfv
  float lightAmbient[4];
  float lightDiffuse[4];
  float lightSpecular[4];
  float materialAmbient[4];
  float materialDiffuse[4];
  float materialSpecular[4];  // w: shininess
  float modelAmbient[4];
  float colour[4];             // the current colour, used unlit
  float flags[4];              // lighting, light 0, textured, flat
  std::uint32_t texture;       // WebGL name of the bound complete texture, or 0
  std::uint32_t depthTest;
  std::uint32_t cullFace;
  std::uint32_t depthFunc;
};

constexpr int kObjectFloats = 32;  // modelview, normal matrix, emission
constexpr int kSceneFloats = sizeof(DrawState) / sizeof(float) - kObjectFloats - 4;

struct Vertex {
  float position[3];
  float normal[3];
  float texCoord[2];
};

struct Run {
  DrawState state;
  std::uint32_t firstIndex;
  std::uint32_t indexCount;
  std::uint32_t firstVertex;
  std::uint32_t vertexCount;
  std::uint32_t mesh;  // the one cached mesh the run draws, or 0
  bool borrowed;       // draws an earlier run's copy of that mesh
};

// A texture as the program made it, with a copy of its image and
// parameters: a lost WebGL context is restored without the program.
struct Texture {
  GLuint name;          // the program's name
  std::uint32_t webgl;  // WebGL's; 0 while the context is lost
  bool hasImage;
  GLint minFilter;
  GLint magFilter;
  GLint wrapS;  // as given to WebGL
  GLint wrapT;
  GLsizei width;
  GLsizei height;
  std::vector<std::uint8_t> pixels;  // RGBA rows; empty when none were given
};

struct Context {
  bool live;
  GLenum error;
  // Matrices: column-major, as GL keeps them.
  GLenum matrixMode;
  std::vector<std::vector<float>> modelviewStack;  // each 16 floats
  std::vector<std::vector<float>> projectionStack;
  // Enables and the rest of the fixed-function state.
  bool lighting;
  bool light0;
  bool texture2d;
  bool depthTest;
  bool cullFace;
  GLenum depthFunc;
  GLenum shadeModel;
  float clearColour[4];
  float clearDepth;
  float lightPosition[4];
  float lightAmbient[4];
  float lightDiffuse[4];
  float lightSpecular[4];
  float materialAmbient[4];
  float materialDiffuse[4];
  float materialSpecular[4];
  float materialEmission[4];
  float shininess;
  float modelAmbient[4];
  float colour[4];
  float normal[3];
  float texCoord[2];
  GLuint boundTexture;
  std::vector<Texture> textures;
  GLuint nextTextureName;
  // Immediate mode.
  bool inBegin;
  GLenum primitive;
  std::uint32_t primitiveStart;  // first vertex of the open primitive
  std::vector<Vertex> vertices;  // this frame's, uploaded at a flush
  std::vector<std::uint32_t> indices;
  std::vector<Run> runs;  // the last one is open until the state changes
  bool stateDirty;        // something a draw depends on changed since the last capture
};

extern Context g_gl;

void SetError(GLenum error);
float* CurrentMatrix();
void MultiplyCurrent(const float* m);  // current = current * m
// A fresh context: GL's initial state, this context's textures dropped.
void ResetState();
// The state a primitive begun now is drawn with.
void CaptureState(DrawState* state);
// Appends the triangle indices of primitive `mode` made of the n vertices
// from `first`.
void PrimitiveIndices(GLenum mode, std::uint32_t first, std::uint32_t n,
                      std::vector<std::uint32_t>* indices);
// Draws a mesh kept by its maker (indices relative to its first vertex)
// under the current state; `id` names its content for good.
void DrawMesh(std::uint32_t id, const std::vector<Vertex>& vertices,
              const std::vector<std::uint32_t>& indices);
// Sends every run collected so far to WebGL and empties the batch.
void Flush();
// After a lost WebGL context came back: every texture made again from its
// copy, and the draws collected for the lost frame dropped.
void RestoreTextures();

// The WebGL side (webgl.cpp).
bool WebGlReady();  // a context to draw into: made, and not lost
bool WebGlLost();   // made, lost, not yet restored: calls are absorbed
void WebGlResetState();
void WebGlDraw(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices,
               const std::vector<Run>& runs);
void WebGlClear(GLbitfield mask, const float* colour, float depth);
void WebGlViewport(GLint x, GLint y, GLsizei width, GLsizei height);
std::uint32_t WebGlNewTexture();
void WebGlDeleteTexture(std::uint32_t texture);
void WebGlTexParameter(std::uint32_t texture, GLenum name, GLint value);
void WebGlTexImage(std::uint32_t texture, GLsizei width, GLsizei height, const void* pixels);

}  // namespace web_gl
