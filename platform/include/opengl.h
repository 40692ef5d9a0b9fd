// OpenGL 1.1 and GLU, as the program uses them on every system.
#pragma once

#include "win32.h"  // Windows' <GL/gl.h> needs WINGDIAPI and APIENTRY first.

#include <GL/gl.h>
#include <GL/glu.h>
