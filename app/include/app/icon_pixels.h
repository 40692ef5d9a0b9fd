// The program's icon (resource 101) as RGBA tables at every size, for
// systems whose window manager takes pixels rather than a resource file.
// The build draws them (app/res/make_icon.py).
#pragma once

constexpr int kIconResourceId = 101;

struct IconImage {
  int size;                   // width and height
  const unsigned char* rgba;  // size * size pixels, rows top to bottom
};

extern const IconImage kIconImages[];
extern const int kIconImageCount;

// Makes icon resource 101 available to LoadIconA; the entry point calls it
// before start-up (a no-op where the executable's resources hold the icon).
void RegisterDrovaneIcon();
