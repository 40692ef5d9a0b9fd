// OpenGL 1.1's state calls, as the program makes them: enables, lighting
// and materials, clearing, textures and errors.
//
// Supports: GL_LIGHTING, GL_LIGHT0 (one directional or positional light),
//   GL_TEXTURE_2D (GL_MODULATE; texture 0 or an incomplete texture means
//   untextured, as GL 1.1 has it), GL_DEPTH_TEST with glDepthFunc,
//   GL_CULL_FACE (back faces, counter-clockwise front), glShadeModel;
//   front-face materials (ambient, diffuse, specular, emission, shininess)
//   with GL's defaults; glTexImage2D of RGBA bytes, kept in a copy so the
//   textures outlive a lost WebGL context. Errors are recorded for
//   glGetError as GL records them (the first one sticks).
// Lacks: more lights, back-face materials, blending, fog, glColorMaterial.
#include <algorithm>
#include <cstring>

#include "gl_internal.h"

namespace web_gl {

Context g_gl;

void SetError(GLenum error) {
  if (g_gl.error == GL_NO_ERROR) g_gl.error = error;
}

namespace {

void Set4(float* to, float a, float b, float c, float d) {
  to[0] = a;
  to[1] = b;
  to[2] = c;
  to[3] = d;
}

Texture* FindTexture(GLuint name) {
  for (Texture& texture : g_gl.textures) {
    if (texture.name == name) return &texture;
  }
  return nullptr;
}

// A state change between glBegin and glEnd is an error; otherwise it ends
// nothing: runs are told apart when the next primitive begins.
bool Outside() {
  g_gl.stateDirty = true;
  if (g_gl.inBegin) {
    SetError(GL_INVALID_OPERATION);
    return false;
  }
  return true;
}

bool* Capability(GLenum cap) {
  switch (cap) {
    case GL_LIGHTING: return &g_gl.lighting;
    case GL_LIGHT0: return &g_gl.light0;
    case GL_TEXTURE_2D: return &g_gl.texture2d;
    case GL_DEPTH_TEST: return &g_gl.depthTest;
    case GL_CULL_FACE: return &g_gl.cullFace;
    default: return nullptr;
  }
}

}  // namespace

void ResetState() {
  std::vector<Texture> textures;
  textures.swap(g_gl.textures);
  for (const Texture& texture : textures) WebGlDeleteTexture(texture.webgl);
  Context fresh{};
  g_gl = std::move(fresh);
  g_gl.live = true;
  g_gl.stateDirty = true;
  g_gl.error = GL_NO_ERROR;
  g_gl.matrixMode = GL_MODELVIEW;
  const std::vector<float> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  g_gl.modelviewStack.assign(1, identity);
  g_gl.projectionStack.assign(1, identity);
  g_gl.depthFunc = GL_LESS;
  g_gl.shadeModel = GL_SMOOTH;
  g_gl.clearDepth = 1.0f;
  Set4(g_gl.lightPosition, 0, 0, 1, 0);
  Set4(g_gl.lightAmbient, 0, 0, 0, 1);
  Set4(g_gl.lightDiffuse, 1, 1, 1, 1);
  Set4(g_gl.lightSpecular, 1, 1, 1, 1);
  Set4(g_gl.materialAmbient, 0.2f, 0.2f, 0.2f, 1);
  Set4(g_gl.materialDiffuse, 0.8f, 0.8f, 0.8f, 1);
  Set4(g_gl.materialSpecular, 0, 0, 0, 1);
  Set4(g_gl.materialEmission, 0, 0, 0, 1);
  Set4(g_gl.modelAmbient, 0.2f, 0.2f, 0.2f, 1);
  Set4(g_gl.colour, 1, 1, 1, 1);
  g_gl.normal[2] = 1.0f;
  g_gl.nextTextureName = 1;
  WebGlResetState();
}

void RestoreTextures() {
  if (!g_gl.inBegin) {
    g_gl.vertices.clear();
    g_gl.indices.clear();
    g_gl.runs.clear();
  }
  for (Texture& texture : g_gl.textures) {
    texture.webgl = WebGlNewTexture();
    if (texture.webgl == 0) continue;  // lost again: the next restore retries
    WebGlTexParameter(texture.webgl, GL_TEXTURE_WRAP_S, texture.wrapS);
    WebGlTexParameter(texture.webgl, GL_TEXTURE_WRAP_T, texture.wrapT);
    WebGlTexParameter(texture.webgl, GL_TEXTURE_MIN_FILTER, texture.minFilter);
    WebGlTexParameter(texture.webgl, GL_TEXTURE_MAG_FILTER, texture.magFilter);
    if (texture.width > 0 && texture.height > 0) {
      WebGlTexImage(texture.webgl, texture.width, texture.height,
                    texture.pixels.empty() ? nullptr : texture.pixels.data());
    }
  }
}

void CaptureState(DrawState* s) {
  std::memset(s, 0, sizeof(*s));
  const float* mv = g_gl.modelviewStack.back().data();
  std::memcpy(s->modelview, mv, sizeof(s->modelview));
  // Normals go through the inverse transpose of the modelview's upper 3x3.
  const float a = mv[0], b = mv[4], c = mv[8];
  const float d = mv[1], e = mv[5], f = mv[9];
  const float g = mv[2], h = mv[6], i = mv[10];
  const float A = e * i - f * h, B = f * g - d * i, C = d * h - e * g;
  const float det = a * A + b * B + c * C;
  const float k = det != 0.0f ? 1.0f / det : 0.0f;
  // The cofactor matrix over the determinant, column by column.
  const float n[9] = {A * k, (c * h - b * i) * k, (b * f - c * e) * k,
                      B * k, (a * i - c * g) * k, (c * d - a * f) * k,
                      C * k, (b * g - a * h) * k, (a * e - b * d) * k};
  for (int col = 0; col < 3; ++col) {
    for (int row = 0; row < 3; ++row) s->normalMatrix[col * 4 + row] = n[col * 3 + row];
  }
  std::memcpy(s->emission, g_gl.materialEmission, sizeof(s->emission));
  std::memcpy(s->projection, g_gl.projectionStack.back().data(), sizeof(s->projection));
  std::memcpy(s->lightPosition, g_gl.lightPosition, 16);
  std::memcpy(s->lightAmbient, g_gl.lightAmbient, 16);
  std::memcpy(s->lightDiffuse, g_gl.lightDiffuse, 16);
  std::memcpy(s->lightSpecular, g_gl.lightSpecular, 16);
  std::memcpy(s->materialAmbient, g_gl.materialAmbient, 16);
  std::memcpy(s->materialDiffuse, g_gl.materialDiffuse, 16);
  std::memcpy(s->materialSpecular, g_gl.materialSpecular, 16);
  s->materialSpecular[3] = g_gl.shininess;
  std::memcpy(s->modelAmbient, g_gl.modelAmbient, 16);
  std::memcpy(s->colour, g_gl.colour, 16);
  const Texture* texture = g_gl.texture2d ? FindTexture(g_gl.boundTexture) : nullptr;
  const bool complete = texture != nullptr && texture->hasImage &&
                        (texture->minFilter == GL_NEAREST || texture->minFilter == GL_LINEAR);
  s->flags[0] = g_gl.lighting ? 1.0f : 0.0f;
  s->flags[1] = g_gl.light0 ? 1.0f : 0.0f;
  s->flags[2] = complete ? 1.0f : 0.0f;
  s->flags[3] = g_gl.shadeModel == GL_FLAT ? 1.0f : 0.0f;
  s->texture = complete ? texture->webgl : 0;
  s->depthTest = g_gl.depthTest;
  s->cullFace = g_gl.cullFace;
  s->depthFunc = g_gl.depthFunc;
}

}  // namespace web_gl

using web_gl::g_gl;

extern "C" void glEnable(GLenum cap) {
  bool* flag = web_gl::Capability(cap);
  if (flag == nullptr) return web_gl::SetError(GL_INVALID_ENUM);
  if (web_gl::Outside()) *flag = true;
}

extern "C" void glDisable(GLenum cap) {
  bool* flag = web_gl::Capability(cap);
  if (flag == nullptr) return web_gl::SetError(GL_INVALID_ENUM);
  if (web_gl::Outside()) *flag = false;
}

extern "C" void glShadeModel(GLenum mode) {
  if (mode != GL_FLAT && mode != GL_SMOOTH) return web_gl::SetError(GL_INVALID_ENUM);
  if (web_gl::Outside()) g_gl.shadeModel = mode;
}

extern "C" void glDepthFunc(GLenum func) {
  if (func < GL_NEVER || func > GL_ALWAYS) return web_gl::SetError(GL_INVALID_ENUM);
  if (web_gl::Outside()) g_gl.depthFunc = func;
}

extern "C" void glHint(GLenum target, GLenum mode) {
  if (target != GL_PERSPECTIVE_CORRECTION_HINT || (mode != GL_NICEST && mode != GL_FASTEST &&
                                                    mode != GL_DONT_CARE)) {
    web_gl::SetError(GL_INVALID_ENUM);
  }
  // Perspective-correct texturing is all WebGL does.
}

extern "C" void glLightfv(GLenum light, GLenum name, const GLfloat* v) {
  if (light != GL_LIGHT0) return web_gl::SetError(GL_INVALID_ENUM);
  if (!web_gl::Outside()) return;
  switch (name) {
    case GL_AMBIENT: std::memcpy(g_gl.lightAmbient, v, 16); break;
    case GL_DIFFUSE: std::memcpy(g_gl.lightDiffuse, v, 16); break;
    case GL_SPECULAR: std::memcpy(g_gl.lightSpecular, v, 16); break;
    case GL_POSITION: {
      // Kept in eye coordinates: transformed by the modelview of now.
      const float* m = g_gl.modelviewStack.back().data();
      for (int r = 0; r < 4; ++r) {
        g_gl.lightPosition[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
      }
      break;
    }
    default: web_gl::SetError(GL_INVALID_ENUM);
  }
}

extern "C" void glMaterialfv(GLenum face, GLenum name, const GLfloat* v) {
  g_gl.stateDirty = true;
  if (face != GL_FRONT && face != GL_FRONT_AND_BACK) {
    // Back faces are culled here: their material is never seen.
    if (face != GL_BACK) web_gl::SetError(GL_INVALID_ENUM);
    return;
  }
  switch (name) {
    case GL_AMBIENT: std::memcpy(g_gl.materialAmbient, v, 16); break;
    case GL_DIFFUSE: std::memcpy(g_gl.materialDiffuse, v, 16); break;
    case GL_AMBIENT_AND_DIFFUSE:
      std::memcpy(g_gl.materialAmbient, v, 16);
      std::memcpy(g_gl.materialDiffuse, v, 16);
      break;
    case GL_SPECULAR: std::memcpy(g_gl.materialSpecular, v, 16); break;
    case GL_EMISSION: std::memcpy(g_gl.materialEmission, v, 16); break;
    case GL_SHININESS:
      if (v[0] < 0.0f || v[0] > 128.0f) return web_gl::SetError(GL_INVALID_VALUE);
      g_gl.shininess = v[0];
      break;
    default: web_gl::SetError(GL_INVALID_ENUM);
  }
}

extern "C" void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
  g_gl.stateDirty = true;
  g_gl.colour[0] = r;
  g_gl.colour[1] = g;
  g_gl.colour[2] = b;
  g_gl.colour[3] = 1.0f;
}

extern "C" void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  web_gl::Set4(g_gl.clearColour, std::clamp(r, 0.0f, 1.0f), std::clamp(g, 0.0f, 1.0f),
               std::clamp(b, 0.0f, 1.0f), std::clamp(a, 0.0f, 1.0f));
}

extern "C" void glClearDepth(GLclampd depth) {
  g_gl.clearDepth = static_cast<float>(std::clamp(depth, 0.0, 1.0));
}

extern "C" void glClear(GLbitfield mask) {
  if (mask & ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT |
                                      GL_STENCIL_BUFFER_BIT)) {
    return web_gl::SetError(GL_INVALID_VALUE);
  }
  if (!web_gl::Outside()) return;
  web_gl::Flush();
  web_gl::WebGlClear(mask, g_gl.clearColour, g_gl.clearDepth);
}

extern "C" void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (width < 0 || height < 0) return web_gl::SetError(GL_INVALID_VALUE);
  if (!web_gl::Outside()) return;
  web_gl::Flush();
  web_gl::WebGlViewport(x, y, width, height);
}

extern "C" GLenum glGetError(void) {
  const GLenum error = g_gl.error;
  g_gl.error = GL_NO_ERROR;
  return error;
}

extern "C" void glFlush(void) { web_gl::Flush(); }
extern "C" void glFinish(void) { web_gl::Flush(); }

extern "C" void glGenTextures(GLsizei count, GLuint* names) {
  if (count < 0) return web_gl::SetError(GL_INVALID_VALUE);
  if (!web_gl::Outside()) return;
  for (GLsizei i = 0; i < count; ++i) {
    // While the context is lost the name is WebGL's to give at the restore.
    const std::uint32_t webgl = web_gl::WebGlNewTexture();
    if (webgl == 0 && !web_gl::WebGlLost()) return web_gl::SetError(GL_OUT_OF_MEMORY);
    names[i] = g_gl.nextTextureName++;
    web_gl::Texture texture{};
    texture.name = names[i];
    texture.webgl = webgl;
    texture.minFilter = GL_NEAREST_MIPMAP_LINEAR;
    texture.magFilter = GL_LINEAR;
    texture.wrapS = GL_REPEAT;
    texture.wrapT = GL_REPEAT;
    g_gl.textures.push_back(std::move(texture));
  }
}

extern "C" void glDeleteTextures(GLsizei count, const GLuint* names) {
  if (count < 0) return web_gl::SetError(GL_INVALID_VALUE);
  if (!web_gl::Outside()) return;
  web_gl::Flush();  // batched draws may still sample them
  for (GLsizei i = 0; i < count; ++i) {
    auto it = std::find_if(g_gl.textures.begin(), g_gl.textures.end(),
                           [&](const web_gl::Texture& t) { return t.name == names[i]; });
    if (it == g_gl.textures.end()) continue;  // GL ignores unknown names
    web_gl::WebGlDeleteTexture(it->webgl);
    g_gl.textures.erase(it);
    if (g_gl.boundTexture == names[i]) g_gl.boundTexture = 0;
  }
}

extern "C" void glBindTexture(GLenum target, GLuint name) {
  if (target != GL_TEXTURE_2D) return web_gl::SetError(GL_INVALID_ENUM);
  if (!web_gl::Outside()) return;
  // Names never made by glGenTextures are refused (GL 1.1 would make them).
  if (name != 0 && web_gl::FindTexture(name) == nullptr) return web_gl::SetError(GL_INVALID_VALUE);
  g_gl.boundTexture = name;
}

extern "C" void glTexParameteri(GLenum target, GLenum name, GLint value) {
  if (target != GL_TEXTURE_2D) return web_gl::SetError(GL_INVALID_ENUM);
  if (!web_gl::Outside()) return;
  web_gl::Texture* texture = web_gl::FindTexture(g_gl.boundTexture);
  if (texture == nullptr) return;  // the default texture: never sampled here
  web_gl::Flush();
  switch (name) {
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
      if (value != GL_CLAMP && value != GL_REPEAT && value != GL_CLAMP_TO_EDGE) {
        return web_gl::SetError(GL_INVALID_ENUM);
      }
      // No border texels in WebGL: GL_CLAMP samples the edge, as it does
      // with nearest filtering.
      value = value == GL_REPEAT ? GL_REPEAT : GL_CLAMP_TO_EDGE;
      (name == GL_TEXTURE_WRAP_S ? texture->wrapS : texture->wrapT) = value;
      web_gl::WebGlTexParameter(texture->webgl, name, value);
      break;
    case GL_TEXTURE_MIN_FILTER:
      texture->minFilter = value;
      web_gl::WebGlTexParameter(texture->webgl, name, value);
      break;
    case GL_TEXTURE_MAG_FILTER:
      texture->magFilter = value;
      web_gl::WebGlTexParameter(texture->webgl, name, value);
      break;
    default:
      web_gl::SetError(GL_INVALID_ENUM);
  }
}

extern "C" void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const GLvoid* pixels) {
  if (target != GL_TEXTURE_2D) return web_gl::SetError(GL_INVALID_ENUM);
  if (level != 0 || border != 0 || width < 0 || height < 0) return web_gl::SetError(GL_INVALID_VALUE);
  if (format != GL_RGBA || type != GL_UNSIGNED_BYTE ||
      (internalFormat != GL_RGBA8 && internalFormat != GL_RGBA && internalFormat != 4)) {
    return web_gl::SetError(GL_INVALID_ENUM);
  }
  if (!web_gl::Outside()) return;
  web_gl::Texture* texture = web_gl::FindTexture(g_gl.boundTexture);
  if (texture == nullptr) return;
  web_gl::Flush();
  web_gl::WebGlTexImage(texture->webgl, width, height, pixels);
  texture->hasImage = width > 0 && height > 0;
  texture->width = width;
  texture->height = height;
  const std::uint8_t* bytes = static_cast<const std::uint8_t*>(pixels);
  if (bytes != nullptr) {
    texture->pixels.assign(bytes, bytes + static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
  } else {
    texture->pixels.clear();
  }
}
