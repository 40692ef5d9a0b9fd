// The full-screen modes the layers off Windows offer (not a public header).
//
// Supports: one rule for ChangeDisplaySettingsA in the SDL and web layers,
//   which both scale a full-screen picture to the screen rather than change
//   its mode: the sizes a desktop display commonly lists that fit the
//   desktop, and the desktop's own size, at 32 bits per pixel whatever the
//   screen's own depth (an unset field takes the desktop's value, 32 bits).
// Lacks:    refresh rates, other depths.
// Depends on: the Win32 subset header.
#pragma once

#include "win32.h"

namespace wm {

struct ModeSize {
  int width;
  int height;
};

// TRUE when `request` names a mode the display offers over a desktop of
// desktopWidth x desktopHeight; `chosen` then holds its size.
bool OfferedMode(const DEVMODEA& request, int desktopWidth, int desktopHeight, ModeSize* chosen);

}  // namespace wm
