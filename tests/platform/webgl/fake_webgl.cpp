// The WebGL side of the GL layer, replaced by a recorder: the batching
// above it runs natively and its draws can be inspected.
#include "fake_webgl.h"

namespace web_gl {

std::vector<RecordedDraw> g_draws;
std::uint32_t g_nextTexture = 1;

bool g_lost = false;
std::map<std::uint32_t, FakeTexture> g_textures;

bool WebGlReady() { return !g_lost; }
bool WebGlLost() { return g_lost; }
void WebGlResetState() {}
void WebGlDraw(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices,
               const std::vector<Run>& runs) {
  g_draws.push_back(RecordedDraw{vertices, indices, runs});
}
void WebGlClear(GLbitfield, const float*, float) {}
void WebGlViewport(GLint, GLint, GLsizei, GLsizei) {}
std::uint32_t WebGlNewTexture() { return g_lost ? 0 : g_nextTexture++; }
void WebGlDeleteTexture(std::uint32_t) {}
void WebGlTexParameter(std::uint32_t texture, GLenum name, GLint value) {
  if (!g_lost) g_textures[texture].parameters[name] = value;
}
void WebGlTexImage(std::uint32_t texture, GLsizei width, GLsizei height, const void* pixels) {
  if (g_lost) return;
  const auto* bytes = static_cast<const std::uint8_t*>(pixels);
  g_textures[texture].image.assign(bytes, bytes + width * height * 4);
}

}  // namespace web_gl
