// The page's settings file (not a public header).
#pragma once

// Copies the settings file the page keeps in localStorage under
// "drovane.settings.reg" (the registry editor's export format, as on Linux)
// to where the registry code reads it; with none there, that file goes.
// The program's start calls it; so may anything that changes localStorage.
void WebInstallSettings();
