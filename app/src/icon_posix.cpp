// Linux: the window manager takes the icon as pixels, registered under its
// resource number before the window class asks for it.
#include "app/icon_pixels.h"
#include "platform_resources.h"

void RegisterDrovaneIcon() {
  PlatformRegisterIcon(kIconResourceId, kIconPixels, kIconPixelsSize, kIconPixelsSize);
}
