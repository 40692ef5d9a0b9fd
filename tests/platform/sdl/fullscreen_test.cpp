// Full screen at 1024x768 on a 1280x1024 screen whose mode never changes:
// the window covers the screen and shows its 1024x768 picture scaled.
#include <cstdlib>
#include <string>

#include "opengl.h"
#include "sdl_test_support.h"

namespace sdl_test {
namespace {

std::string ScreenMode() {
  return Shell("xrandr --current | head -1 | sed 's/.*current \\([0-9]*\\) x \\([0-9]*\\).*/\\1x\\2/'");
}

// One pixel of the screen as ImageMagick prints it, e.g. "(0,0,0)".
std::string ScreenPixel(int x, int y) {
  return Shell("import -window root -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
               " txt:- | tail -1 | grep -o '([0-9,]*)' | head -1");
}

DEVMODEA Mode(DWORD width, DWORD height, DWORD bits) {
  DEVMODEA mode{};
  mode.dmSize = 156;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = bits;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  return mode;
}

TEST_F(SdlTest, ModesTheDisplayLacksAreRefused) {
  DEVMODEA unlisted = Mode(1000, 700, 32);
  EXPECT_EQ(ChangeDisplaySettingsA(&unlisted, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  DEVMODEA oddDepth = Mode(1024, 768, 8);
  EXPECT_EQ(ChangeDisplaySettingsA(&oddDepth, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  DEVMODEA larger = Mode(1600, 1200, 32);  // listed, but larger than the desktop
  EXPECT_EQ(ChangeDisplaySettingsA(&larger, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  // Nothing changed: a popup made now is an ordinary window.
  HWND popup = MakeWindow("not full", true, 300, 200, WS_POPUP);
  ASSERT_NE(popup, nullptr);
  PumpFor(200);
  RECT client{};
  GetClientRect(popup, &client);
  EXPECT_EQ(client.right, 300);
}

TEST_F(SdlTest, WithoutFramebufferObjectsNoFullScreenModeIsOffered) {
  // Each test runs in a process of its own: Mesa reads this when the first
  // GL window is made.
  setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
  DEVMODEA mode = Mode(1024, 768, 32);
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
}

TEST_F(SdlTest, FullScreenScalesTheModeWithoutChangingTheScreen) {
  ASSERT_EQ(ScreenMode(), "1280x1024\n");
  DEVMODEA mode = Mode(1024, 768, 32);
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 768);
  HWND window = MakeWindow("full", false, 1024, 768,
                           static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  ASSERT_NE(window, nullptr);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.cDepthBits = 16;
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
  HGLRC gl = wglCreateContext(dc);
  ASSERT_TRUE(wglMakeCurrent(dc, gl));
  ASSERT_TRUE(ShowAndActivate(window));
  PumpFor(300);  // the window manager has made it cover the screen

  // The program sees a 1024x768 screen, client area and framebuffer.
  RECT client{};
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right, 1024);
  EXPECT_EQ(client.bottom, 768);
  EXPECT_EQ(LOWORD(Seen(WM_SIZE).back().lParam), 1024);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1024);
  EXPECT_EQ(viewport[3], 768);
  GLint depth = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  EXPECT_GE(depth, 16);

  // Green right half; the present must leave the scissor test, colour
  // mask and clear colour as set.
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(512, 0, 512, 768);
  glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE);
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
  unsigned char corner[4] = {};
  glReadPixels(1023, 767, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
  EXPECT_EQ(corner[1], 255);
  EXPECT_TRUE(SwapBuffers(dc));
  EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), GL_TRUE);
  GLboolean mask[4] = {};
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  EXPECT_EQ(mask[1], GL_FALSE);
  GLfloat clearColour[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
  EXPECT_EQ(clearColour[1], 1.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  // The screen keeps its mode; the window covers it with the picture at
  // 1280x960, black bars of 32 rows above and below.
  // Mesa's software driver sees the window's new size from its next swap.
  EXPECT_TRUE(SwapBuffers(dc));
  PumpFor(100);
  EXPECT_EQ(ScreenMode(), "1280x1024\n");
  const std::string where = Shell(
      "xdotool search --onlyvisible --name '^full$' getwindowgeometry | grep -E 'Position|Geometry'");
  EXPECT_NE(where.find("Position: 0,0"), std::string::npos) << where;
  EXPECT_NE(where.find("Geometry: 1280x1024"), std::string::npos) << where;
  EXPECT_EQ(ScreenPixel(640, 16), "(0,0,0)\n");
  EXPECT_EQ(ScreenPixel(640, 1010), "(0,0,0)\n");
  EXPECT_EQ(ScreenPixel(320, 40), "(0,0,65535)\n");
  EXPECT_EQ(ScreenPixel(960, 980), "(0,65535,0)\n");

  // As the GL window's WM_NCDESTROY does: the mode goes back, then the window.
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(gl));
  EXPECT_TRUE(DestroyWindow(window));
  PumpFor(200);
  EXPECT_EQ(ScreenMode(), "1280x1024\n");
  EXPECT_EQ(Shell("xdotool search --onlyvisible --name '^full$'"), "");

  // A later popup is not full screen any more.
  HWND after = MakeWindow("after", true, 200, 100, WS_POPUP);
  ASSERT_NE(after, nullptr);
  ASSERT_TRUE(GetClientRect(after, &client));
  EXPECT_EQ(client.right, 200);
}

}  // namespace
}  // namespace sdl_test
