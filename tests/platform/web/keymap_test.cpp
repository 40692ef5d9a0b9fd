// The page's key mapping, with the code and key pairs Chromium and Firefox
// report for the US, German and French layouts (the two agree on both; only
// their keyCodes differ).
#include <gtest/gtest.h>

#include "keymap.h"

namespace {

struct Case {
  const char* layout;  // "-": an on-screen keyboard, which may leave the code empty
  const char* code;
  const char* key;
  WPARAM expected;
};

const Case kCases[] = {
    {"us", "Equal", "=", VK_OEM_PLUS},           {"us", "Equal", "+", VK_OEM_PLUS},  // with Shift
    {"us", "Minus", "-", VK_OEM_MINUS},          {"us", "Minus", "_", VK_OEM_MINUS},
    {"us", "Digit6", "6", '6'},                  {"us", "KeyR", "r", 'R'},
    {"us", "KeyR", "R", 'R'},                    {"us", "NumpadAdd", "+", VK_ADD},
    {"us", "NumpadSubtract", "-", VK_SUBTRACT},  {"us", "Numpad8", "ArrowUp", VK_NUMPAD8},
    {"us", "ArrowUp", "ArrowUp", VK_UP},         {"us", "Enter", "Enter", VK_RETURN},
    {"us", "NumpadEnter", "Enter", VK_RETURN},   {"us", "AltLeft", "Alt", VK_MENU},
    {"de", "BracketRight", "+", VK_OEM_PLUS},    {"de", "Slash", "-", VK_OEM_MINUS},
    {"de", "Minus", "ß", VK_OEM_8},              {"de", "Equal", "Dead", VK_OEM_8},  // the ´ key
    {"de", "KeyZ", "y", 'Y'},                    {"de", "KeyY", "z", 'Z'},
    {"de", "Digit6", "6", '6'},                  {"de", "Digit0", "=", '0'},  // with Shift
    {"de", "NumpadAdd", "+", VK_ADD},            {"de", "AltRight", "AltGraph", VK_MENU},
    {"fr", "Equal", "=", VK_OEM_PLUS},           {"fr", "Equal", "+", VK_OEM_PLUS},
    {"fr", "Digit6", "-", '6'},                  {"fr", "Digit8", "_", '8'},
    {"fr", "Digit1", "&", '1'},                  {"fr", "Digit1", "1", '1'},
    {"fr", "Minus", ")", VK_OEM_8},              {"fr", "KeyQ", "a", 'A'},
    {"fr", "KeyR", "r", 'R'},                    {"fr", "NumpadSubtract", "-", VK_SUBTRACT},
    {"-", "", "+", VK_OEM_PLUS},                 {"-", "", "7", '7'},
    {"-", "", "ArrowLeft", VK_LEFT},             {"-", "AudioVolumeUp", "AudioVolumeUp", 0},
};

TEST(WebKeymap, KeysMapByLayoutAndDigitsStayDigits) {
  for (const Case& c : kCases) {
    EXPECT_EQ(web_layer::MapKey(c.code, c.key).virtualKey, c.expected)
        << c.layout << ": code " << c.code << ", key " << c.key;
  }
  EXPECT_EQ(web_layer::MapKey(nullptr, nullptr).virtualKey, 0u);
}

TEST(WebKeymap, ScanCodesComeFromThePosition) {
  const web_layer::KeyInfo up = web_layer::MapKey("ArrowUp", "ArrowUp");
  EXPECT_EQ(up.scanCode, 0x48u);
  EXPECT_TRUE(up.extended);
  EXPECT_EQ(web_layer::MapKey("BracketRight", "+").scanCode, 0x1Bu);
  EXPECT_TRUE(web_layer::MapKey("NumpadEnter", "Enter").extended);
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
