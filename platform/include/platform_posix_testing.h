// What tests may ask the posix platform layer that Win32 itself cannot tell.
// Off Windows only; product code never includes this.
#pragma once

// GDI objects made by CreateSolidBrush or CreatePen and not yet deleted.
int PlatformLiveGdiObjects();

// Whether a handle is a GDI object that exists now.
bool PlatformGdiObjectExists(const void* object);
