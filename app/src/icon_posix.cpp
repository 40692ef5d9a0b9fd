// Linux: the window manager takes the icon as pixels, registered under its
// resource number before the window class asks for it. Every size goes in,
// so a dock or a task switcher gets a sharp large image.
#include "app/icon_pixels.h"
#include "platform_resources.h"

void RegisterDrovaneIcon() {
  for (int i = 0; i < kIconImageCount; ++i) {
    PlatformRegisterIcon(kIconResourceId, kIconImages[i].rgba, kIconImages[i].size,
                         kIconImages[i].size);
  }
}
