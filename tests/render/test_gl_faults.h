#pragma once

// GL and GLU failures that a working Mesa context never produces, injected by
// test_gl_faults.cpp. Each armed fault fires once.

// The first glGetError after the next glBindTexture reports
// GL_INVALID_OPERATION (the bind itself still reaches GL).
void FailNextBindTexture();
// The next gluNewQuadric returns null without making a quadric.
void FailNextNewQuadric();
// Disarms both.
void ClearGLFaults();
// Calls that went through the stand-ins, so a test can show that the render
// library's calls reach them at all.
int BindTextureCalls();
int NewQuadricCalls();
