// Off Windows: colours from settings files as users will have them, and the
// count of live GDI objects.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/colour_settings.h"
#include "platform_posix_testing.h"
#include "settings_store.h"

namespace {

namespace fs = std::filesystem;

class ColourSettingsFileTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteColourObjects(); }

  void WriteFile(const std::string& bytes) {
    const fs::path file = fs::path(std::getenv("XDG_CONFIG_HOME")) / "drovane" / "settings.reg";
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }

  SettingsStore store_;  // provides the private XDG_CONFIG_HOME
};

std::string Utf16Le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}

TEST_F(ColourSettingsFileTest, ReadsAKeyExportedByTheRegistryEditor) {
  WriteFile(Utf16Le(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Vorlix]\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n"
      "\"Color0\"=dword:00101010\r\n"
      "\"Color1\"=hex:20,20,20,00\r\n"
      "\"Color2\"=hex(7):41,00,42,00,00,00,00,00\r\n"
      "\"Color3\"=\"abc\"\r\n"
      "\"Color4\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
      "  16,17,18\r\n"
      "\"Color5\"=hex(b):50,50,50,00,00,00,00,00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane\\Other]\r\n"
      "\"Color4\"=dword:00000000\r\n\r\n"));
  LoadColourSettings();
  EXPECT_EQ(g_colourSettings.colours[0], 0x00101010u);
  EXPECT_EQ(g_colourSettings.colours[1], 0x00202020u);
  EXPECT_EQ(g_colourSettings.colours[2], RGB('A', 'B', 0));
  EXPECT_EQ(g_colourSettings.colours[3], RGB('a', 'b', 'c'));
  EXPECT_EQ(g_colourSettings.colours[4], RGB(0, 255, 0));  // too long: default
  EXPECT_EQ(g_colourSettings.colours[5], RGB(0, 0, 0));    // eight bytes: default
}

TEST_F(ColourSettingsFileTest, DamagedLinesLeaveTheirColourAtTheDefault) {
  WriteFile(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\n"
      "\"Color0\"=dword:0010101\n"  // seven digits: still a number
      "\"Color1\"=dword:1234567890\n"
      "\"Color2\"=hex:10,,20\n"
      "\"Color3\"=hex:10,\\\n"
      "  20,30\n"
      "\"Color4\"=\"unterminated\n"
      "\"Color5\"=hex:11,22,33\n");
  LoadColourSettings();
  EXPECT_EQ(g_colourSettings.colours[0], 0x00010101u);
  EXPECT_EQ(g_colourSettings.colours[1], RGB(255, 255, 255));
  EXPECT_EQ(g_colourSettings.colours[2], RGB(128, 144, 255));
  EXPECT_EQ(g_colourSettings.colours[3], RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(g_colourSettings.colours[4], RGB(0, 255, 0));
  EXPECT_EQ(g_colourSettings.colours[5], RGB(0x11, 0x22, 0x33));
}

TEST_F(ColourSettingsFileTest, LiveObjectCountBalances) {
  const int before = PlatformLiveGdiObjects();
  LoadColourSettings();
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 6);
  CreateColourObjects();  // replaces, does not add
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 6);
  LoadColourSettings();
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 6);
  DeleteColourObjects();
  EXPECT_EQ(PlatformLiveGdiObjects(), before);
}

}  // namespace
