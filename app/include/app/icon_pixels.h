// The program's icon (resource 101) as an RGBA table, for systems whose
// window manager takes pixels rather than a resource file.
#pragma once

constexpr int kIconResourceId = 101;

extern const int kIconPixelsSize;  // width and height
extern const unsigned char kIconPixels[];  // RGBA bytes, rows top to bottom

// Makes icon resource 101 available to LoadIconA; the entry point calls it
// before start-up (a no-op where the executable's resources hold the icon).
void RegisterDrovaneIcon();
