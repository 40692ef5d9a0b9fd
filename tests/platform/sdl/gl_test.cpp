// Pixel formats and WGL contexts on the SDL layer, with a real GL driver.
#include "opengl.h"
#include "sdl_test_support.h"

namespace sdl_test {
namespace {

PIXELFORMATDESCRIPTOR ProgramFormat(BYTE depthBits) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = depthBits;
  return pfd;
}

struct Context {
  HDC dc = nullptr;
  HGLRC gl = nullptr;
};

// The steps of the GL window's WM_CREATE, on an existing window.
Context MakeCurrentContext(HWND window, BYTE depthBits) {
  Context made;
  const PIXELFORMATDESCRIPTOR pfd = ProgramFormat(depthBits);
  made.dc = GetDC(window);
  EXPECT_NE(made.dc, nullptr);
  const int format = ChoosePixelFormat(made.dc, &pfd);
  EXPECT_NE(format, 0);
  EXPECT_TRUE(SetPixelFormat(made.dc, format, &pfd));
  made.gl = wglCreateContext(made.dc);
  EXPECT_NE(made.gl, nullptr);
  // WGL leaves a new context not current.
  EXPECT_EQ(glGetString(GL_VERSION), nullptr);
  EXPECT_TRUE(wglMakeCurrent(made.dc, made.gl));
  return made;
}

void Release(HWND window, const Context& made) {
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(made.gl));
  EXPECT_EQ(ReleaseDC(window, made.dc), 1);
}

TEST_F(SdlTest, ContextIsCurrentAndDrawsIntoTheWindow) {
  HWND window = MakeWindow("gl", false, 640, 480);
  ASSERT_NE(window, nullptr);
  const Context made = MakeCurrentContext(window, 16);
  ASSERT_NE(glGetString(GL_VERSION), nullptr);
  ASSERT_NE(glGetString(GL_RENDERER), nullptr);
  GLint depth = 0;
  GLboolean doubleBuffered = GL_FALSE;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
  EXPECT_GE(depth, 16);
  EXPECT_EQ(doubleBuffered, GL_TRUE);

  ASSERT_TRUE(ShowAndActivate(window));
  // Fixed-function drawing works: this is a compatibility context.
  glViewport(0, 0, 640, 480);
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glColor3f(1.0f, 0.0f, 0.0f);
  glBegin(GL_QUADS);
  glVertex2f(-1.0f, -1.0f);
  glVertex2f(0.0f, -1.0f);
  glVertex2f(0.0f, 1.0f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  unsigned char left[4] = {};
  unsigned char right[4] = {};
  glReadBuffer(GL_BACK);
  glReadPixels(100, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left);
  glReadPixels(500, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right);
  EXPECT_EQ(left[0], 255);
  EXPECT_EQ(left[2], 0);
  EXPECT_EQ(right[0], 0);
  EXPECT_EQ(right[2], 255);
  EXPECT_TRUE(SwapBuffers(made.dc));

  // The swapped frame is what X shows.
  const std::string pixel = WindowPixel("gl", 100, 240);
  EXPECT_NE(pixel.find("(65535,0,0)"), std::string::npos) << pixel;

  Release(window, made);
  EXPECT_EQ(glGetString(GL_VERSION), nullptr);
  EXPECT_FALSE(SwapBuffers(made.dc));  // nothing current
}

TEST_F(SdlTest, DeeperDepthBufferRemakesTheHiddenWindow) {
  HWND window = MakeWindow("gl24", false, 320, 240);
  ASSERT_NE(window, nullptr);
  const Context made = MakeCurrentContext(window, 24);
  GLint depth = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  EXPECT_GE(depth, 24);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 240);
  // A second, different format is refused, the same one accepted.
  const PIXELFORMATDESCRIPTOR pfd = ProgramFormat(16);
  EXPECT_FALSE(SetPixelFormat(made.dc, ChoosePixelFormat(made.dc, &pfd), &pfd));
  const PIXELFORMATDESCRIPTOR same = ProgramFormat(24);
  EXPECT_TRUE(SetPixelFormat(made.dc, ChoosePixelFormat(made.dc, &same), &same));
  Release(window, made);
}

TEST_F(SdlTest, ContextNeedsAPixelFormatAndDeletingTheCurrentOneClearsIt) {
  HWND window = MakeWindow("glfail", false);
  ASSERT_NE(window, nullptr);
  HDC dc = GetDC(window);
  EXPECT_EQ(GetDC(window), dc);  // one device context per window
  SetLastError(0);
  EXPECT_EQ(wglCreateContext(dc), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PIXEL_FORMAT));
  PIXELFORMATDESCRIPTOR noGl = ProgramFormat(16);
  noGl.dwFlags = PFD_DRAW_TO_WINDOW;
  EXPECT_EQ(ChoosePixelFormat(dc, &noGl), 0);

  const Context made = MakeCurrentContext(window, 16);
  ASSERT_NE(glGetString(GL_VERSION), nullptr);
  // llvmpipe under Xvfb offers no swap control; either answer is honest,
  // but without a context there is nothing to set.
  PlatformSetSwapInterval(0);
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_FALSE(PlatformSetSwapInterval(0));
  ASSERT_TRUE(wglMakeCurrent(made.dc, made.gl));
  EXPECT_TRUE(wglDeleteContext(made.gl));
  EXPECT_EQ(glGetString(GL_VERSION), nullptr);
  EXPECT_FALSE(wglDeleteContext(made.gl));
  EXPECT_FALSE(wglMakeCurrent(made.dc, made.gl));
}

}  // namespace
}  // namespace sdl_test
