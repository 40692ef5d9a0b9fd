#include "config/colour_settings.h"

ColourSettings g_colourSettings;

namespace {
const char kSettingsKey[] = "Software\\Vorlix\\Drovane";

// Defaults as COLORREF (0x00BBGGRR).
const COLORREF kDefaultColours[6] = {
    0x00C0C0C0,  // floor tile 0
    0x00FFFFFF,  // floor tile 1
    0x00FF9080,  // normal balls
    0x000000FF,  // chasers
    0x0000FF00,  // the player's ball
    0x00000000,  // ring along the edge of each tile
};
}  // namespace

void LoadColourSettings() {
  for (int i = 0; i < 6; ++i) {
    g_colourSettings.colours[i] = kDefaultColours[i];
  }

  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    for (int i = 0; i < 6; ++i) {
      char name[16];
      wsprintfA(name, "Color%d", i);
      // Read into a copy: a value longer than 4 bytes fails with
      // ERROR_MORE_DATA and leaves the buffer undefined, so only a
      // successful read may replace the colour.
      COLORREF value = g_colourSettings.colours[i];
      DWORD size = sizeof value;
      if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
          ERROR_SUCCESS) {
        g_colourSettings.colours[i] = value;
      }
    }
    RegCloseKey(key);
  }

  CreateColourObjects();
}

void CreateColourObjects() {
  DeleteColourObjects();
  ColourSettings& s = g_colourSettings;
  s.brushes[0] = CreateSolidBrush(s.colours[0]);
  s.brushes[1] = CreateSolidBrush(s.colours[1]);
  s.brushes[3] = CreateSolidBrush(s.colours[2]);
  s.brushes[4] = CreateSolidBrush(s.colours[3]);
  s.brushes[2] = CreateSolidBrush(s.colours[4]);
  s.pen = CreatePen(PS_SOLID, 0, s.colours[5]);
}

void DeleteColourObjects() {
  ColourSettings& s = g_colourSettings;
  if (s.pen != nullptr) {
    DeleteObject(s.pen);
    s.pen = nullptr;
  }
  for (HBRUSH& brush : s.brushes) {
    if (brush != nullptr) {
      DeleteObject(brush);
      brush = nullptr;
    }
  }
}
