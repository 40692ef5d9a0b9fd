// What a full-screen SwapBuffers costs on the layer: the 1024 x 768 picture
// scaled to the whole screen, against a plain swap of a 1024 x 768 window.
// Each frame is finished before the swap is timed, so only the present is
// measured: wall time and the CPU time of all threads (the software
// renderer's included). Run on a screen of the size to measure; prints one
// line per case.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "opengl.h"
#include "win32.h"

namespace {

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Times `frames` presents of a window; false when it cannot be made.
bool Measure(const char* label, DWORD style, int frames) {
  HWND window = CreateWindowExA(0, "PresentCost", label, style, 0, 0, 1024, 768, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    return false;
  }
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.cDepthBits = 16;
  SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
  HGLRC gl = wglCreateContext(dc);
  wglMakeCurrent(dc, gl);
  ShowWindow(window, SW_SHOW);
  Pump(500);
  std::vector<double> wall;
  std::vector<double> cpu;
  for (int i = 0; i < frames; ++i) {
    glClearColor(static_cast<float>(i % 2), 0.5f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFinish();
    const double wall0 = Seconds(CLOCK_MONOTONIC);
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    SwapBuffers(dc);
    glFinish();
    wall.push_back(Seconds(CLOCK_MONOTONIC) - wall0);
    cpu.push_back(Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0);
  }
  std::printf("  %-44s median %.2f ms wall, %.2f ms CPU (all threads), %d frames\n", label,
              Median(wall) * 1000, Median(cpu) * 1000, frames);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(gl);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  Pump(200);
  return true;
}

}  // namespace

int main() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PresentCost";
  if (!RegisterClassExA(&windowClass)) {
    return 1;
  }
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  std::printf("present per frame on a %dx%d screen:\n", width, height);
  if (!Measure("plain swap, 1024x768 window", WS_POPUP, 200)) {
    return 1;
  }
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = 32;
  mode.dmPelsWidth = 1024;
  mode.dmPelsHeight = 768;
  if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
    std::printf("  full screen refused\n");
    return 1;
  }
  const bool measured = Measure("full screen 1024x768, scaled to the screen", WS_POPUP, 200);
  ChangeDisplaySettingsA(nullptr, 0);
  return measured ? 0 : 1;
}
