// The six colour settings, their defaults and their GDI objects.
#pragma once

#include "win32.h"

struct ColourSettings {
  COLORREF colours[6];  // "Color0" ... "Color5"
  HBRUSH brushes[5];    // tile 0, tile 1, then player, normal, chaser ball
  HPEN pen;             // colour 5
};

// The program-wide settings; zero until LoadColourSettings runs.
extern ColourSettings g_colourSettings;

void LoadColourSettings();
void CreateColourObjects();
void DeleteColourObjects();
