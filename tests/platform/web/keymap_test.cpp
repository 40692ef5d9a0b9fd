// The page's key mapping, with the code and key pairs Chromium and Firefox
// report for the US, German and French layouts (the two agree on both; only
// their keyCodes differ).
#include <gtest/gtest.h>

#include <iterator>

#include "keymap.h"

namespace {

struct Case {
  const char* code;
  const char* key;
  WPARAM expected;
};

void ExpectMapped(const char* layout, const Case* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(web_layer::MapKey(c.code, c.key).virtualKey, c.expected)
        << layout << ": code " << c.code << ", key " << c.key;
  }
}

TEST(WebKeymap, ZoomKeysFollowTheLayoutAndDigitsStayDigits) {
  const Case us[] = {
      {"Equal", "=", VK_OEM_PLUS},       {"Equal", "+", VK_OEM_PLUS},  // with Shift
      {"Minus", "-", VK_OEM_MINUS},      {"Minus", "_", VK_OEM_MINUS},
      {"Digit6", "6", '6'},              {"KeyR", "r", 'R'},
      {"KeyR", "R", 'R'},                {"NumpadAdd", "+", VK_ADD},
      {"NumpadSubtract", "-", VK_SUBTRACT}, {"Numpad8", "ArrowUp", VK_NUMPAD8},
      {"ArrowUp", "ArrowUp", VK_UP},     {"Enter", "Enter", VK_RETURN},
      {"NumpadEnter", "Enter", VK_RETURN}, {"AltLeft", "Alt", VK_MENU},
  };
  const Case de[] = {
      {"BracketRight", "+", VK_OEM_PLUS}, {"Slash", "-", VK_OEM_MINUS},
      {"Minus", "ß", VK_OEM_8},           {"Equal", "Dead", VK_OEM_8},  // the ´ key
      {"KeyZ", "y", 'Y'},                 {"KeyY", "z", 'Z'},
      {"Digit6", "6", '6'},               {"Digit0", "=", '0'},  // with Shift
      {"NumpadAdd", "+", VK_ADD},         {"AltRight", "AltGraph", VK_MENU},
  };
  const Case fr[] = {
      {"Equal", "=", VK_OEM_PLUS}, {"Equal", "+", VK_OEM_PLUS},
      {"Digit6", "-", '6'},        {"Digit8", "_", '8'},
      {"Digit1", "&", '1'},        {"Digit1", "1", '1'},
      {"Minus", ")", VK_OEM_8},    {"KeyQ", "a", 'A'},
      {"KeyR", "r", 'R'},          {"NumpadSubtract", "-", VK_SUBTRACT},
  };
  ExpectMapped("us", us, std::size(us));
  ExpectMapped("de", de, std::size(de));
  ExpectMapped("fr", fr, std::size(fr));
}

TEST(WebKeymap, ScanCodesComeFromThePositionAndEventsWithoutACodeFromTheKey) {
  const web_layer::KeyInfo up = web_layer::MapKey("ArrowUp", "ArrowUp");
  EXPECT_EQ(up.scanCode, 0x48u);
  EXPECT_TRUE(up.extended);
  EXPECT_EQ(web_layer::MapKey("BracketRight", "+").scanCode, 0x1Bu);
  EXPECT_TRUE(web_layer::MapKey("NumpadEnter", "Enter").extended);
  // On-screen keyboards may leave the code empty.
  EXPECT_EQ(web_layer::MapKey("", "+").virtualKey, static_cast<WPARAM>(VK_OEM_PLUS));
  EXPECT_EQ(web_layer::MapKey("", "7").virtualKey, static_cast<WPARAM>('7'));
  EXPECT_EQ(web_layer::MapKey("", "ArrowLeft").virtualKey, static_cast<WPARAM>(VK_LEFT));
  EXPECT_EQ(web_layer::MapKey(nullptr, nullptr).virtualKey, 0u);
  EXPECT_EQ(web_layer::MapKey("AudioVolumeUp", "AudioVolumeUp").virtualKey, 0u);
}

TEST(WebKeymap, AKeyIsReleasedWithTheCodeItWentDownWith) {
  web_layer::HeldKeys held;
  // German '+' held, then Shift: it types '*' and repeats and is released so.
  EXPECT_EQ(held.Press("BracketRight", VK_OEM_PLUS, false), static_cast<WPARAM>(VK_OEM_PLUS));
  EXPECT_EQ(held.Press("BracketRight", VK_OEM_6, true), static_cast<WPARAM>(VK_OEM_PLUS));
  EXPECT_EQ(held.Release("BracketRight", VK_OEM_6), static_cast<WPARAM>(VK_OEM_PLUS));
  EXPECT_EQ(held.Release("BracketRight", VK_OEM_6), static_cast<WPARAM>(VK_OEM_6));
  // A release missed while the page lacked the keyboard: a fresh press wins.
  held.Press("KeyR", 'R', false);
  EXPECT_EQ(held.Press("KeyR", 'Q', false), static_cast<WPARAM>('Q'));
}

}  // namespace
