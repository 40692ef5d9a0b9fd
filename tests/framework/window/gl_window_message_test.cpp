// CBaseGLWindow's messages: sizing, painting and Alt+Enter, and the GL state
// it sets (read back from an offscreen context).
#include <cmath>

#include "opengl.h"
#include "test_windows.h"

namespace {

class GLWindowMessageTest : public FakePlatformTest {
 protected:
  void SetUp() override {
    FakePlatformTest::SetUp();
    window = new TestGLWindow();
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (window->GetHandle() != nullptr) DestroyWindow(window->GetHandle());
    window->Release();
  }
  TestGLWindow* window = nullptr;
};

TEST_F(GLWindowMessageTest, PaintValidatesDrawsAndSwapsAndIsHandled) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  fake::ClearCalls();
  g_events.clear();
  EXPECT_EQ(SendMessageA(window->GetHandle(), WM_PAINT, 0, 0), 0);
  EXPECT_EQ(window->renderCalls, 1);
  EXPECT_EQ(fake::SwapBuffersCalls(), 1);
  EXPECT_LT(fake::FindCall("ValidateRect"), fake::FindCall("SwapBuffers"));
  EXPECT_EQ(fake::CountCalls("DefWindowProcA 15"), 0);
  // A swap that fails changes nothing: still painted and handled.
  fake::Inject(fake::Fault::SwapBuffers, ERROR_INVALID_HANDLE);
  EXPECT_EQ(SendMessageA(window->GetHandle(), WM_PAINT, 0, 0), 0);
  EXPECT_EQ(window->renderCalls, 2);
  EXPECT_EQ(fake::CountCalls("DefWindowProcA 15"), 0);
}

TEST_F(GLWindowMessageTest, PaintDoesNothingWhenValidateRectFails) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  fake::Inject(fake::Fault::ValidateRect, 0);
  SendMessageA(window->GetHandle(), WM_PAINT, 0, 0);
  EXPECT_EQ(window->renderCalls, 0);
  EXPECT_EQ(fake::SwapBuffersCalls(), 0);
  EXPECT_EQ(fake::CountCalls("DefWindowProcA 15"), 1);
}

TEST_F(GLWindowMessageTest, EveryAltEnterAsksForTheOtherMode) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  const LPARAM firstPress = 0x20000001;
  const LPARAM autoRepeat = 0x60000001;  // previous-key-state bit set
  EXPECT_EQ(SendMessageA(window->GetHandle(), WM_SYSKEYDOWN, VK_RETURN, firstPress), 0);
  ASSERT_EQ(window->setFullscreenCalls.size(), 1u);
  EXPECT_EQ(window->setFullscreenCalls[0], TRUE);
  EXPECT_EQ(window->lastSwitchResult, S_OK);
  EXPECT_EQ(window->FullscreenFlag(), 1);
  SendMessageA(window->GetHandle(), WM_SYSKEYDOWN, VK_RETURN, autoRepeat);
  ASSERT_EQ(window->setFullscreenCalls.size(), 2u);
  EXPECT_EQ(window->setFullscreenCalls[1], FALSE);
  EXPECT_EQ(window->FullscreenFlag(), 0);
  SendMessageA(window->GetHandle(), WM_SYSKEYDOWN, VK_RETURN, autoRepeat);
  EXPECT_EQ(window->setFullscreenCalls.size(), 3u);
  // Handled, so never passed on to default processing.
  EXPECT_EQ(fake::CountCalls("DefWindowProcA 260"), 0);
}

TEST_F(GLWindowMessageTest, OtherSystemKeysAndChildWindowsAreNotHandled) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  // Alt+F4 reaches default processing, which closes the window.
  HWND const first = window->GetHandle();
  SendMessageA(first, WM_SYSKEYDOWN, VK_F4, 0x20000001);
  EXPECT_EQ(fake::CountCalls("DefWindowProcA 260"), 1);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(window->GetHandle(), nullptr);
  ASSERT_EQ(CreateGL(window, FALSE, 200, 100, WS_CHILD, 0, 0), S_OK);
  SendMessageA(window->GetHandle(), WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
  EXPECT_TRUE(window->setFullscreenCalls.empty());
  EXPECT_EQ(fake::CountCalls("DefWindowProcA 260"), 2);
}

TEST_F(GLWindowMessageTest, AFailedSwitchIsIgnoredByTheMessage) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  fake::RefuseDisplayChange(DISP_CHANGE_FAILED);
  EXPECT_EQ(SendMessageA(window->GetHandle(), WM_SYSKEYDOWN, VK_RETURN, 0), 0);
  EXPECT_EQ(window->lastSwitchResult, E_FAIL);
  // The old window went before the mode was refused.
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_EQ(fake::CursorDisplayCount(), 0);
}

class GLStateTest : public GLWindowMessageTest {
 protected:
  void SetUp() override {
    // No silent skip: without a context there is nothing to read back.
    ASSERT_TRUE(MakeOffscreenGLCurrent()) << "no offscreen EGL context could be made";
    GLWindowMessageTest::SetUp();
  }
  void TearDown() override {
    if (window != nullptr) GLWindowMessageTest::TearDown();
  }
  static void Viewport(GLint out[4]) { glGetIntegerv(GL_VIEWPORT, out); }
};

TEST_F(GLStateTest, SizingSetsViewportAndPerspective) {
  window->SetFarPlane(2000.0);
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  GLint viewport[4] = {};
  Viewport(viewport);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
  GLdouble projection[16] = {};
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  const double f = 1.0 / std::tan(22.5 * 3.14159265358979323846 / 180.0);
  EXPECT_NEAR(projection[5], f, 1e-5);
  EXPECT_NEAR(projection[0], f / (640.0 / 480.0), 1e-5);
  EXPECT_NEAR(projection[10], -(2000.0 + 0.1) / (2000.0 - 0.1), 1e-5);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(GLStateTest, AMinimisedSizeGivesAViewportOnePixelHigh) {
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  SendMessageA(window->GetHandle(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(300, 0));
  GLint viewport[4] = {};
  Viewport(viewport);
  EXPECT_EQ(viewport[2], 300);
  EXPECT_EQ(viewport[3], 1);
  SendMessageA(window->GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 200));
  Viewport(viewport);
  EXPECT_EQ(viewport[2], 0);
  EXPECT_EQ(viewport[3], 200);
  // Both halves of lParam are unsigned.
  SendMessageA(window->GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(40000, 2));
  Viewport(viewport);
  EXPECT_GT(viewport[2], 2);  // clamped to the implementation's maximum, never negative
}

TEST_F(GLStateTest, CreationSetsTheDefaultState) {
  glDisable(GL_DEPTH_TEST);
  glBindTexture(GL_TEXTURE_2D, 0);
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  GLint value = 0;
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_SMOOTH);
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LEQUAL);
  glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
  EXPECT_EQ(value, GL_NICEST);
  GLfloat clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[0], 0.2f);
  EXPECT_FLOAT_EQ(clear[1], 0.2f);
  EXPECT_FLOAT_EQ(clear[2], 0.2f);
  EXPECT_FLOAT_EQ(clear[3], 0.5f);
  GLdouble depth = 0;
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
  EXPECT_EQ(depth, 1.0);
}

}  // namespace
