// The WebGL side of the GL layer, replaced by a recorder: the batching
// above it runs natively and its draws can be inspected.
#include "fake_webgl.h"

namespace web_gl {

std::vector<RecordedDraw> g_draws;
std::uint32_t g_nextTexture = 1;

bool WebGlReady() { return true; }
void WebGlResetState() {}
void WebGlDraw(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices,
               const std::vector<Run>& runs) {
  g_draws.push_back(RecordedDraw{vertices, indices, runs});
}
void WebGlClear(GLbitfield, const float*, float) {}
void WebGlViewport(GLint, GLint, GLsizei, GLsizei) {}
std::uint32_t WebGlNewTexture() { return g_nextTexture++; }
void WebGlDeleteTexture(std::uint32_t) {}
void WebGlTexParameter(std::uint32_t, GLenum, GLint) {}
void WebGlTexImage(std::uint32_t, GLsizei, GLsizei, const void*) {}

}  // namespace web_gl
