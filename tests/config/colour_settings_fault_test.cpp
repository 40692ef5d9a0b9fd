// Colour settings when the system fails them: a key that is there but
// refuses to open, and brushes or a pen that cannot be made. The registry
// and GDI functions below are linked in place of the platform's (which are
// then never pulled from its static library), so the failures can be had
// on demand.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "config/colour_settings.h"

namespace {

bool g_keyDenied = false;
int g_queries = 0;
int g_closes = 0;
int g_creations = 0;
std::set<int> g_failingCreations;  // 1 = the first creation after Reset
std::set<HGDIOBJ> g_liveObjects;
int g_keyHandle;

void Reset() {
  g_keyDenied = false;
  g_queries = g_closes = g_creations = 0;
  g_failingCreations.clear();
}

HGDIOBJ NewObject() {
  ++g_creations;
  if (g_failingCreations.count(g_creations) != 0) return nullptr;
  HGDIOBJ object = reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(0x1000 + g_creations * 4));
  g_liveObjects.insert(object);
  return object;
}

}  // namespace

// The key exists and holds Color3 = blue, but opening it may be refused.
extern "C" LONG RegOpenKeyExA(HKEY, LPCSTR, DWORD, REGSAM, PHKEY result) {
  *result = nullptr;
  if (g_keyDenied) return ERROR_ACCESS_DENIED;
  *result = reinterpret_cast<HKEY>(&g_keyHandle);
  return ERROR_SUCCESS;
}

extern "C" LONG RegQueryValueExA(HKEY, LPCSTR name, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) {
  ++g_queries;
  if (std::string(name) != "Color3") return ERROR_FILE_NOT_FOUND;
  const COLORREF blue = RGB(0, 0, 255);
  std::memcpy(data, &blue, sizeof blue);
  *size = sizeof blue;
  return ERROR_SUCCESS;
}

extern "C" LONG RegCloseKey(HKEY) {
  ++g_closes;
  return ERROR_SUCCESS;
}

extern "C" HBRUSH CreateSolidBrush(COLORREF) { return static_cast<HBRUSH>(NewObject()); }
extern "C" HPEN CreatePen(int, int, COLORREF) { return static_cast<HPEN>(NewObject()); }
extern "C" BOOL DeleteObject(HGDIOBJ object) { return g_liveObjects.erase(object) ? TRUE : FALSE; }

namespace {

class ColourSettingsFaultTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { DeleteColourObjects(); }
};

TEST_F(ColourSettingsFaultTest, AKeyThatCannotBeOpenedGivesTheDefaults) {
  LoadColourSettings();
  ASSERT_EQ(g_colourSettings.colours[3], RGB(0, 0, 255)) << "the key is read when it opens";
  Reset();
  g_keyDenied = true;
  LoadColourSettings();
  EXPECT_EQ(g_colourSettings.colours[3], RGB(255, 0, 0));
  EXPECT_EQ(g_queries + g_closes, 0) << "no value read, no key closed";
  EXPECT_EQ(g_creations, 6) << "the objects are still made";
  EXPECT_NE(g_colourSettings.pen, nullptr);
}

TEST_F(ColourSettingsFaultTest, ObjectsThatCannotBeMadeStayNull) {
  // In creation order: tile 0, tile 1, normal, chaser, player, then the pen.
  g_failingCreations = {2, 4, 6};
  const size_t before = g_liveObjects.size();
  LoadColourSettings();
  const ColourSettings& s = g_colourSettings;
  const HGDIOBJ made[6] = {s.brushes[0], s.brushes[1], s.brushes[3],
                           s.brushes[4], s.brushes[2], s.pen};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(made[i] == nullptr, i % 2 == 1) << "creation " << i + 1;
  EXPECT_EQ(s.colours[3], RGB(0, 0, 255)) << "the colours do not depend on the objects";
  EXPECT_EQ(g_liveObjects.size(), before + 3);
  DeleteColourObjects();
  EXPECT_EQ(g_liveObjects.size(), before);
}

}  // namespace
