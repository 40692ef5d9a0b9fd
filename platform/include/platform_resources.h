// Resources for the Linux build, where executables carry no resource section.
//
// The program registers its images at start-up; LoadIconA(module,
// MAKEINTRESOURCE(id)) then finds them, and a window class registered with
// such an icon shows it as the window icon.
#pragma once

// Registers one size of the icon for resource `id` (or replaces the image of
// that width): width * height pixels, four bytes each in the order red,
// green, blue, alpha, rows top to bottom. The pixels are copied. Register
// every size the program has; windows show the largest.
void PlatformRegisterIcon(int id, const unsigned char* rgba, int width, int height);
