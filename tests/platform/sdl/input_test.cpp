// Real X input (xdotool, XTEST) translated into Windows messages.
#include <gmock/gmock.h>

#include <string>

#include "sdl_test_support.h"

namespace sdl_test {
namespace {

constexpr DWORD kRepeatOne = 1;
constexpr DWORD kExtended = 1u << 24;
constexpr DWORD kAltContext = 1u << 29;
constexpr DWORD kPrevious = 1u << 30;
constexpr DWORD kReleasing = 1u << 31;

DWORD Bits(LPARAM lParam) { return static_cast<DWORD>(lParam); }
unsigned ScanCode(LPARAM lParam) { return (Bits(lParam) >> 16) & 0xFFu; }

class InputTest : public SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    window_ = MakeWindow("input", false);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(ShowAndActivate(window_));
    PumpFor(100);
    g_log.clear();
  }

  // Sends keys with xdotool and waits for `count` messages of `message`.
  void Type(const std::string& keys, UINT message, size_t count) {
    Shell("xdotool key " + keys);
    EXPECT_TRUE(PumpUntil([message, count] { return Seen(message).size() >= count; }))
        << "after xdotool key " << keys;
    PumpFor(50);
  }

  std::vector<WPARAM> Keys(UINT message) {
    std::vector<WPARAM> keys;
    for (const Recorded& r : Seen(message)) {
      keys.push_back(r.wParam);
    }
    return keys;
  }

  HWND window_ = nullptr;
};

TEST_F(InputTest, ArrowKeyGivesVirtualKeyAndWindowsKeyBits) {
  Type("Up", WM_KEYUP, 1);
  const std::vector<Recorded> down = Seen(WM_KEYDOWN);
  const std::vector<Recorded> up = Seen(WM_KEYUP);
  ASSERT_EQ(down.size(), 1u);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(down[0].window, window_);
  EXPECT_EQ(down[0].wParam, static_cast<WPARAM>(VK_UP));
  EXPECT_EQ(Bits(down[0].lParam) & 0xFFFFu, kRepeatOne);
  EXPECT_EQ(ScanCode(down[0].lParam), 0x48u);
  EXPECT_EQ(Bits(down[0].lParam) & (kExtended | kAltContext | kPrevious | kReleasing), kExtended);
  EXPECT_EQ(up[0].wParam, static_cast<WPARAM>(VK_UP));
  EXPECT_EQ(Bits(up[0].lParam) & (kExtended | kPrevious | kReleasing),
            kExtended | kPrevious | kReleasing);
  EXPECT_TRUE(Seen(WM_CHAR).empty());  // arrows make no characters
}

TEST_F(InputTest, LetterGivesUpperCaseKeyAndTypedCharacter) {
  Type("r", WM_KEYUP, 1);
  EXPECT_THAT(Keys(WM_KEYDOWN), ::testing::ElementsAre(WPARAM{'R'}));
  EXPECT_THAT(Keys(WM_CHAR), ::testing::ElementsAre(WPARAM{'r'}));
  EXPECT_EQ(ScanCode(Seen(WM_KEYDOWN)[0].lParam), 0x13u);
  g_log.clear();
  Type("shift+r", WM_CHAR, 1);
  EXPECT_THAT(Keys(WM_CHAR), ::testing::ElementsAre(WPARAM{'R'}));
  EXPECT_THAT(Keys(WM_KEYDOWN), ::testing::ElementsAre(WPARAM{VK_SHIFT}, WPARAM{'R'}));
  // The key message comes before its character, as TranslateMessage orders them.
  const std::vector<UINT> order = MessageOrder();
  const auto keyDown = std::find(order.begin(), order.end(), WM_KEYDOWN);
  EXPECT_LT(keyDown - order.begin(),
            std::find(order.begin(), order.end(), WM_CHAR) - order.begin());
}

TEST_F(InputTest, AltEnterIsASystemKey) {
  Type("alt+Return", WM_SYSKEYDOWN, 2);
  const std::vector<Recorded> down = Seen(WM_SYSKEYDOWN);
  ASSERT_EQ(down.size(), 2u);
  EXPECT_EQ(down[0].wParam, static_cast<WPARAM>(VK_MENU));
  EXPECT_EQ(down[1].wParam, static_cast<WPARAM>(VK_RETURN));
  EXPECT_NE(Bits(down[1].lParam) & kAltContext, 0u);
  EXPECT_EQ(Bits(down[1].lParam) & kExtended, 0u);  // the main Enter key
  EXPECT_TRUE(Seen(WM_KEYDOWN).empty());
  EXPECT_THAT(Keys(WM_SYSCHAR), ::testing::ElementsAre(WPARAM{13}));
  EXPECT_TRUE(Seen(WM_CHAR).empty());
  PumpUntil([] { return Seen(WM_SYSKEYUP).size() + Seen(WM_KEYUP).size() >= 2; }, 1000);
  // Plain Enter afterwards is an ordinary key again, with its character.
  g_log.clear();
  Type("Return", WM_KEYUP, 1);
  EXPECT_THAT(Keys(WM_KEYDOWN), ::testing::ElementsAre(WPARAM{VK_RETURN}));
  EXPECT_THAT(Keys(WM_CHAR), ::testing::ElementsAre(WPARAM{13}));
}

TEST_F(InputTest, BothPlusAndBothMinusKeys) {
  Type("equal minus KP_Add KP_Subtract", WM_KEYUP, 4);
  EXPECT_THAT(Keys(WM_KEYDOWN),
              ::testing::ElementsAre(WPARAM{VK_OEM_PLUS}, WPARAM{VK_OEM_MINUS}, WPARAM{VK_ADD},
                                     WPARAM{VK_SUBTRACT}));
  EXPECT_THAT(Keys(WM_CHAR), ::testing::ElementsAre(WPARAM{'='}, WPARAM{'-'}, WPARAM{'+'},
                                                    WPARAM{'-'}));
  g_log.clear();
  // '+' typed on the main keyboard is Shift plus the '=' key.
  Type("plus", WM_CHAR, 1);
  EXPECT_THAT(Keys(WM_KEYDOWN), ::testing::Contains(WPARAM{VK_OEM_PLUS}));
  EXPECT_THAT(Keys(WM_CHAR), ::testing::ElementsAre(WPARAM{'+'}));
}

TEST_F(InputTest, HeldKeyRepeatsWithThePreviousStateBit) {
  Shell("xdotool keydown Left; sleep 0.8; xdotool keyup Left");
  ASSERT_TRUE(PumpUntil([] { return !Seen(WM_KEYUP).empty(); }));
  const std::vector<Recorded> down = Seen(WM_KEYDOWN);
  ASSERT_GE(down.size(), 2u) << "no auto-repeat from the X server";
  EXPECT_EQ(Bits(down[0].lParam) & kPrevious, 0u);
  for (size_t i = 1; i < down.size(); ++i) {
    EXPECT_EQ(down[i].wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_NE(Bits(down[i].lParam) & kPrevious, 0u);
  }
}

TEST_F(InputTest, WheelNotchesAre120EachWay) {
  Shell("xdotool mousemove --window \"$(xdotool search --onlyvisible --name '^input$')\" 50 50");
  PumpFor(100);
  g_log.clear();
  Shell("xdotool click 4");
  ASSERT_TRUE(PumpUntil([] { return Seen(WM_MOUSEWHEEL).size() >= 1; }));
  Shell("xdotool click 5");
  ASSERT_TRUE(PumpUntil([] { return Seen(WM_MOUSEWHEEL).size() >= 2; }));
  const std::vector<Recorded> wheel = Seen(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 2u);
  EXPECT_EQ(wheel[0].window, window_);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), 120);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[1].wParam), -120);
}

TEST_F(InputTest, FocusLossAndReturnAreActivations) {
  HWND other = MakeWindow("other", false, 200, 100);
  ASSERT_NE(other, nullptr);
  g_log.clear();
  ASSERT_TRUE(ShowAndActivate(other));
  ASSERT_TRUE(PumpUntil([this] {
    for (const Recorded& r : g_log) {
      if (r.window == window_ && r.message == WM_ACTIVATE && LOWORD(r.wParam) == WA_INACTIVE) {
        return true;
      }
    }
    return false;
  }));
  EXPECT_EQ(GetFocus(), other);
  // Keys now go to the other window.
  g_log.clear();
  Type("Down", WM_KEYUP, 1);
  ASSERT_EQ(Seen(WM_KEYDOWN).size(), 1u);
  EXPECT_EQ(Seen(WM_KEYDOWN)[0].window, other);
}

}  // namespace
}  // namespace sdl_test
