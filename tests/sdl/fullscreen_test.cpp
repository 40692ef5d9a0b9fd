// Display-mode changes: exclusive full screen at 1024x768 and back.
#include <string>

#include "sdl_test_support.h"

namespace sdl_test {
namespace {

std::string ScreenSize() {
  return Shell("xdpyinfo | awk '/dimensions:/ {print $2}'");
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
  DEVMODEA missing = Mode(800, 600, 32);
  EXPECT_EQ(ChangeDisplaySettingsA(&missing, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  DEVMODEA oddDepth = Mode(1024, 768, 8);
  EXPECT_EQ(ChangeDisplaySettingsA(&oddDepth, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  // Nothing changed: a popup made now is an ordinary window.
  HWND popup = MakeWindow("not full", true, 300, 200, WS_POPUP);
  ASSERT_NE(popup, nullptr);
  PumpFor(200);
  EXPECT_EQ(ScreenSize(), "1280x1024\n");
  RECT client{};
  GetClientRect(popup, &client);
  EXPECT_EQ(client.right, 300);
}

TEST_F(SdlTest, FullScreenPopupSwitchesTheDisplayAndBack) {
  ASSERT_EQ(ScreenSize(), "1280x1024\n");
  DEVMODEA mode = Mode(1024, 768, 32);
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  HWND window = MakeWindow("full", false, 1024, 768,
                           static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ShowAndActivate(window));
  ASSERT_TRUE(PumpUntil([] { return ScreenSize() == "1024x768\n"; }, 5000)) << ScreenSize();
  RECT client{};
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right, 1024);
  EXPECT_EQ(client.bottom, 768);
  const std::vector<Recorded> sizes = Seen(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(LOWORD(sizes.back().lParam), 1024);
  EXPECT_EQ(HIWORD(sizes.back().lParam), 768);
  // The window covers the screen from its corner.
  const std::string where = Shell(
      "xdotool search --onlyvisible --name '^full$' getwindowgeometry | grep -E 'Position|Geometry'");
  EXPECT_NE(where.find("Position: 0,0"), std::string::npos) << where;
  EXPECT_NE(where.find("Geometry: 1024x768"), std::string::npos) << where;

  // As the GL window's WM_NCDESTROY does: the mode goes back, then the window.
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(DestroyWindow(window));
  ASSERT_TRUE(PumpUntil([] { return ScreenSize() == "1280x1024\n"; }, 5000)) << ScreenSize();
  EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 1024);

  // A later popup is not full screen any more.
  HWND after = MakeWindow("after", true, 200, 100, WS_POPUP);
  ASSERT_NE(after, nullptr);
  PumpFor(200);
  EXPECT_EQ(ScreenSize(), "1280x1024\n");
}

}  // namespace
}  // namespace sdl_test
