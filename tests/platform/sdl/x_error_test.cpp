// An X protocol error neither ends the program nor makes a request from the
// error handler (SDL's handler did both: it put the mode back, then Xlib's
// default exited; on a dying server the request waited for ever).
#include "sdl_test_support.h"

// After gtest: Xlib defines None as a macro.
#include <X11/Xlib.h>

namespace sdl_test {
namespace {

TEST_F(SdlTest, AnXProtocolErrorIsReportedAndTheProgramCarriesOn) {
  ASSERT_NE(MakeWindow("x error", true), nullptr);  // the layer's handlers are in
  // Error handlers are the process's, whichever connection the error is on.
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  testing::internal::CaptureStderr();
  XMapWindow(other, 0x7ffffff0);  // no such window: BadWindow
  XSync(other, False);
  const std::string reported = testing::internal::GetCapturedStderr();
  XCloseDisplay(other);
  EXPECT_NE(reported.find("X error 3 on request 8."), std::string::npos) << reported;
}

}  // namespace
}  // namespace sdl_test
