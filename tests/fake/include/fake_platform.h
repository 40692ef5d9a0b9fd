// A scripted stand-in for the `platform` library, for tests (Linux only).
//
// Link `platform_fake` + `platform_base` instead of `platform`. It is the
// game's own window manager core (platform/wm: classes, windows, window
// data, the message queue, timers, paint state, DefWindowProcA) on a
// scripted backend: the clock, the heap, module handles,
// SystemParametersInfoA, window placement, activation, display modes,
// cursor, pixel formats, WGL and PlatformSetSwapInterval. Nothing is drawn
// and nothing ever sleeps.
//
// Supports:
//   - a settable clock; MsgWaitForMultipleObjects/WaitMessage advance it
//     instead of sleeping (to the next due timer, or through the time-out);
//     optionally Windows' coarse timer, on which GetTickCount, timeGetTime
//     and waits move in 15.625 ms steps unless timeBeginPeriod asked for a
//     finer one;
//   - heap fault injection (fail the Nth allocation) and a live-block count;
//   - the core's creation messages; pop-ups (and children, which the fake
//     makes as top-level windows keeping their style) get WM_SIZE at once,
//     overlapped windows when first shown;
//   - ShowWindow of a hidden window invalidates it and (unless SW_MINIMIZE)
//     activates it at once: WM_ACTIVATE, foreground and focus;
//   - GetMessageA with nothing queued and no timer gives -1 instead of
//     blocking for ever;
//   - display modes: the screen's size and 1024x768 at 32 bits, others get
//     DISP_CHANGE_BADMODE;
//   - a log of calls (the core's functions included) and a hook run on every
//     logged call (to post WM_QUIT after N frames, say);
//   - a failure switch for each call the framework checks.
// Lacks: real input, window parents, any real GL context (GL calls made
// without a current context are no-ops under GLVND).
//
// Call fake::Reset() before each test (a GoogleTest fixture's SetUp). It
// forgets windows without sending them anything.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace fake {

// Everything back to the defaults below.
void Reset();

// ---- Call log --------------------------------------------------------------
// One entry per call into the fake, "Name" or "Name arg,arg" (e.g.
// "ShowWindow 5", "ChangeDisplaySettingsA 1024x768x32", "ChangeDisplaySettingsA
// null", "ShowCursor 0", "SetTimer 1000"). Heap calls are not logged.
const std::vector<std::string>& Calls();
void ClearCalls();
int CountCalls(const std::string& entry);  // entries equal to `entry`
int CountCallsNamed(const std::string& name);  // entries whose name is `name`
// Index of the first entry equal to `entry` at or after `from`, or -1.
int FindCall(const std::string& entry, int from = 0);
// Run after every logged call, with its log entry.
void SetCallHook(std::function<void(const std::string& entry)> hook);

// ---- Clock -----------------------------------------------------------------
// The model keeps a true time in microseconds. By default its timer ticks
// every millisecond, so GetTickCount and timeGetTime read the true time and
// a wait lasts exactly its time-out.
void SetTickCount(DWORD tick);  // true time <- tick ms; default 0
void AdvanceTickCount(DWORD milliseconds);
void AdvanceMicroseconds(unsigned long long microseconds);
DWORD CurrentTickCount();  // what GetTickCount returns now
unsigned long long TrueMicroseconds();
// Windows' timer: GetTickCount moves in 15.625 ms steps (15 or 16 ms apart).
// timeGetTime and the end of every timed wait do too, unless a period granted
// by timeBeginPeriod (and not yet ended) is finer: then they move in steps of
// that many milliseconds. A wait ends on the first step at or after its
// time-out.
void UseWindowsTimer();
int TimerPeriodsHeld();  // granted by timeBeginPeriod, not yet ended

// ---- Heap ------------------------------------------------------------------
// Counts HeapAlloc and HeapReAlloc calls from the last Reset or
// FailAllocation. The nth one from now (1 = the next) fails and returns null;
// with `andAllAfter` every later one fails too. 0 turns failures off.
void FailAllocation(int nth, bool andAllAfter = false);
int AllocationCalls();
// HeapAlloc'd blocks not yet freed; runs on across Reset, so compare a
// value taken before the code under test with one taken after.
int LiveBlocks();

// ---- GetModuleHandleA, SystemParametersInfoA -----------------------------
void FailGetModuleHandle(DWORD lastError);
HINSTANCE ModuleHandle();  // what GetModuleHandleA(nullptr) returns
// SPI_GETWHEELSCROLLLINES: succeeds with `lines` (default 3; WHEEL_PAGESCROLL
// and 0 allowed), or fails with lastError when `succeed` is false.
void SetWheelScrollLines(bool succeed, UINT lines, DWORD lastError = ERROR_INVALID_PARAMETER);

// ---- Message queue and waits ---------------------------------------------
// Same as PostMessageA.
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
int QueuedMessages();  // posted, not yet retrieved (WM_QUIT not counted)
bool QuitPosted();      // PostQuitMessage called, WM_QUIT not yet retrieved
int QuitExitCode();     // the last PostQuitMessage's code
// Results MsgWaitForMultipleObjects gives, in order; each advances the clock
// by `advance` ms. When the script is empty it returns WAIT_OBJECT_0 (at once)
// if a message is queued or, with the clock moved to it, when a timer falls
// due within the time-out; else WAIT_TIMEOUT after advancing the clock by
// the whole time-out.
void ScriptWaitResult(DWORD result, DWORD advance);
struct WaitCall {
  DWORD count;
  BOOL waitAll;
  DWORD milliseconds;
  DWORD wakeMask;
};
const std::vector<WaitCall>& WaitCalls();
// WaitMessage advances the clock by this much (default 0), then waits as
// MsgWaitForMultipleObjects does without a time-out, and returns TRUE.
void SetWaitMessageAdvance(DWORD milliseconds);
// Messages given to TranslateMessage and DispatchMessageA.
const std::vector<MSG>& Dispatched();
int TranslateCalls();

// ---- Windows ---------------------------------------------------------------
// Messages DefWindowProcA was called with.
const std::vector<UINT>& DefWindowProcMessages();

struct WindowState {
  bool exists;       // false once destroyed (or for an unknown handle)
  std::string className;
  std::string title;
  DWORD style;
  DWORD exStyle;
  RECT windowRect;   // screen coordinates
  int clientWidth;
  int clientHeight;
  bool visible;
  int lastShowCommand;  // -1 before ShowWindow
  HINSTANCE instance;
  HMENU menu;
  LPVOID createParam;
  int timers;  // live timers
};
WindowState Window(HWND window);
HWND LastCreatedWindow();  // null before the first
int LiveWindows();
HWND ForegroundWindow();
HWND FocusWindow();
// Where CW_USEDEFAULT places a window's top-left corner (default 26, 26) and
// the size it gives (default 800 x 600).
void SetDefaultPlacement(int x, int y, int width, int height);
// AdjustWindowRectEx adds this frame for WS_OVERLAPPEDWINDOW: 8 px on the
// left, right and bottom, 31 px on top (thick frame + caption).
const int kFrameSide = 8;
const int kFrameTop = 31;

// ---- Display, cursor, metrics ---------------------------------------------
// GetSystemMetrics: SM_CXSCREEN/SM_CYSCREEN default 1920 x 1080,
// SM_CXFULLSCREEN/SM_CYFULLSCREEN default 1920 x 1057.
void SetFullscreenMetrics(int cx, int cy);
void SetScreenMetrics(int cx, int cy);
bool DisplayModeChanged();         // a mode set by ChangeDisplaySettingsA is in force
DEVMODEA CurrentDisplayMode();     // the last mode set (zeros when none)
DWORD LastDisplayModeFlags();
int CursorDisplayCount();          // ShowCursor's counter, 0 at start
int SwapBuffersCalls();
int SwapInterval();                // last PlatformSetSwapInterval value, -1 if never

// ---- GDI / WGL -------------------------------------------------------------
int LiveDeviceContexts();          // GetDC'd, not yet released
int LiveGLContexts();              // created, not yet deleted
HGLRC CurrentGLContext();
PIXELFORMATDESCRIPTOR LastPixelFormatRequest();  // as given to ChoosePixelFormat

// ---- Faults ---------------------------------------------------------------
// Each makes the call fail (from now until Reset, unless `once`) and sets the
// given last error (0 allowed).
enum class Fault {
  RegisterClass,
  CreateWindow,        // CreateWindowExA fails before sending anything
  DestroyWindow,       // DestroyWindow refuses, window stays
  AdjustWindowRect,
  GetDC,
  ChoosePixelFormat,
  SetPixelFormat,
  CreateContext,       // wglCreateContext
  MakeCurrent,         // wglMakeCurrent with a context (null,null still works)
  SetTimer,
  GetClassName,        // GetClassNameA returns 0
  GetWindowText,       // GetWindowTextA returns 0
  ValidateRect,
  InvalidateRect,
  MoveWindow,
  SwapInterval,        // PlatformSetSwapInterval returns FALSE
  SwapBuffers,         // SwapBuffers returns FALSE (still counted)
};
void Inject(Fault fault, DWORD lastError, bool once = false);
// ChangeDisplaySettingsA with a mode returns `result` (e.g.
// DISP_CHANGE_BADMODE) and changes nothing. Restoring (null) still works.
void RefuseDisplayChange(LONG result);

}  // namespace fake
