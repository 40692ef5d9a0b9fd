// The full-screen modes offered off Windows (see display_modes.h).
#include "display_modes.h"

namespace wm {
namespace {

// The sizes a desktop display commonly lists.
constexpr ModeSize kCommonSizes[] = {
    {640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},  {1280, 800},
    {1280, 960},  {1280, 1024}, {1360, 768},  {1366, 768},  {1440, 900},  {1600, 900},
    {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200}, {2560, 1440}, {3840, 2160},
};

}  // namespace

bool OfferedMode(const DEVMODEA& request, int desktopWidth, int desktopHeight, ModeSize* chosen) {
  const DWORD fields = request.dmFields;
  const long width = (fields & DM_PELSWIDTH) ? static_cast<long>(request.dmPelsWidth) : desktopWidth;
  const long height =
      (fields & DM_PELSHEIGHT) ? static_cast<long>(request.dmPelsHeight) : desktopHeight;
  if ((fields & DM_BITSPERPEL) && request.dmBitsPerPel != 32) {
    return false;
  }
  if (width <= 0 || height <= 0 || width > desktopWidth || height > desktopHeight) {
    return false;
  }
  bool listed = width == desktopWidth && height == desktopHeight;
  for (const ModeSize& size : kCommonSizes) {
    listed = listed || (size.width == width && size.height == height);
  }
  if (!listed) {
    return false;
  }
  if (chosen != nullptr) {
    *chosen = ModeSize{static_cast<int>(width), static_cast<int>(height)};
  }
  return true;
}

}  // namespace wm
