// Loading the six colours from the settings (the registry on Windows, the
// settings file elsewhere) and the GDI objects made from them.
#include "config/colour_settings.h"

#include <gtest/gtest.h>

#include <set>

#include "settings_store.h"

namespace {

// The defaults, written out as the colours they stand for.
const COLORREF kDefaults[6] = {
    RGB(192, 192, 192),  // floor tile 0
    RGB(255, 255, 255),  // floor tile 1
    RGB(128, 144, 255),  // normal balls
    RGB(255, 0, 0),      // chasers
    RGB(0, 255, 0),      // the player
    RGB(0, 0, 0),        // tile border
};

class ColourSettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteColourObjects(); }

  // Loads, and checks every colour: those in `changed` against their given
  // value, the others against their defaults.
  void LoadAndExpect(std::initializer_list<std::pair<int, COLORREF>> changed) {
    LoadColourSettings();
    COLORREF expected[6];
    std::copy(std::begin(kDefaults), std::end(kDefaults), expected);
    for (const auto& entry : changed) expected[entry.first] = entry.second;
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(g_colourSettings.colours[i], expected[i]) << "Color" << i;
    }
  }

  SettingsStore store_;
};

TEST_F(ColourSettingsTest, DefaultsWithoutTheKeyOrWithAnEmptyKey) {
  LoadAndExpect({});
  EXPECT_EQ(store_.Describe(), "");  // reading made no key
  store_.CreateKey();
  LoadAndExpect({});
}

TEST_F(ColourSettingsTest, FourByteValuesReplaceTheirColourOnly) {
  store_.PutDword("Color3", 0x00FF0000);
  LoadAndExpect({{3, RGB(0, 0, 255)}});  // chasers blue

  store_.PutDword("Color1", 0x0000FFFF);
  LoadAndExpect({{1, RGB(255, 255, 0)}, {3, RGB(0, 0, 255)}});  // tile 1 yellow
}

TEST_F(ColourSettingsTest, ShortValuesReplaceOnlyTheirLowBytes) {
  store_.Put("Color0", REG_BINARY, {64, 128, 192});
  store_.Put("Color1", REG_BINARY, {0x12, 0x34});  // blue stays the default's 0xFF
  store_.Put("Color2", REG_BINARY, {0x56});
  store_.Put("Color4", REG_BINARY, {});
  LoadAndExpect({{0, RGB(64, 128, 192)}, {1, RGB(0x12, 0x34, 0xFF)}, {2, RGB(0x56, 0x90, 0xFF)}});
  EXPECT_EQ(g_colourSettings.colours[0] >> 24, 0u);
}

TEST_F(ColourSettingsTest, ValuesLongerThanFourBytesKeepTheDefault) {
  store_.Put("Color2", REG_BINARY, {1, 2, 3, 4, 5});
  store_.Put("Color3", REG_QWORD, {0x11, 0x22, 0x33, 0x00, 0, 0, 0, 0});
  store_.PutDword("Color5", 0x00203040);  // read after the long ones
  LoadAndExpect({{5, RGB(0x40, 0x30, 0x20)}});
}

TEST_F(ColourSettingsTest, AnyTypeOfFourBytesIsTakenByteForByte) {
  store_.Put("Color0", REG_SZ, {'a', 'b', 'c', 0});  // three characters and the NUL
  store_.Put("Color1", REG_MULTI_SZ, {'A', 'B', 0, 0});
  store_.Put("Color2", REG_NONE, {1, 2, 3, 0});
  store_.Put("Color4", 5 /* REG_DWORD_BIG_ENDIAN */, {0x10, 0x20, 0x30, 0x00});
  LoadAndExpect({{0, RGB('a', 'b', 'c')},
                 {1, RGB('A', 'B', 0)},
                 {2, RGB(1, 2, 3)},
                 {4, RGB(0x10, 0x20, 0x30)}});
}

TEST_F(ColourSettingsTest, ValueNamesAreNotCaseSensitive) {
  store_.PutDword("COLOR4", 0x00123456);
  store_.PutDword("Colour5", 0x00FFFFFF);  // not one of ours
  LoadAndExpect({{4, 0x00123456}});
}

TEST_F(ColourSettingsTest, LoadingNeverWritesTheSettings) {
  store_.PutDword("Color3", 0x00FF0000);
  store_.Put("Color0", REG_BINARY, {1, 2, 3, 4, 5});
  const std::string before = store_.Describe();
  LoadColourSettings();
  DeleteColourObjects();
  EXPECT_EQ(store_.Describe(), before);
}

TEST_F(ColourSettingsTest, MakesSixObjectsAndDeletesThemAll) {
  LoadColourSettings();
  std::set<HGDIOBJ> made{g_colourSettings.pen};
  for (HBRUSH brush : g_colourSettings.brushes) made.insert(brush);
  EXPECT_EQ(made.size(), 6u);
  for (HGDIOBJ object : made) {
    EXPECT_NE(object, nullptr);
    EXPECT_TRUE(GdiObjectExists(object));
  }

  DeleteColourObjects();
  EXPECT_EQ(g_colourSettings.pen, nullptr);
  for (HBRUSH brush : g_colourSettings.brushes) EXPECT_EQ(brush, nullptr);
  for (HGDIOBJ object : made) EXPECT_FALSE(GdiObjectExists(object));
  DeleteColourObjects();  // nothing left to delete: must do nothing
  // The colours outlive their objects.
  EXPECT_EQ(g_colourSettings.colours[3], kDefaults[3]);
}

}  // namespace
