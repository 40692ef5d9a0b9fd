// The entry point: everything happens in RunDrovane, so tests can run the
// same start-up with a scripted system.
#include "app/icon_pixels.h"
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  RegisterDrovaneIcon();
  return static_cast<int>(RunDrovane(instance, showCommand));
}
