// gdi32 objects off Windows: brushes and pens that exist as handles and draw
// nothing (every frame is drawn with OpenGL). The handles are distinct
// numbers that are never reused or dereferenced, so deleting a stale one
// fails cleanly.
#include <cstdint>
#include <mutex>
#include <unordered_set>

#include "platform_posix_testing.h"
#include "win32.h"

namespace {

std::mutex g_gdiLock;
std::uintptr_t g_nextHandle = 0x10000;
std::unordered_set<std::uintptr_t> g_liveObjects;

std::uintptr_t NewObject() {
  std::lock_guard<std::mutex> lock(g_gdiLock);
  g_nextHandle += 4;
  g_liveObjects.insert(g_nextHandle);
  return g_nextHandle;
}

}  // namespace

extern "C" HBRUSH CreateSolidBrush(COLORREF) { return reinterpret_cast<HBRUSH>(NewObject()); }

extern "C" HPEN CreatePen(int, int, COLORREF) { return reinterpret_cast<HPEN>(NewObject()); }

extern "C" BOOL DeleteObject(HGDIOBJ object) {
  std::lock_guard<std::mutex> lock(g_gdiLock);
  return g_liveObjects.erase(reinterpret_cast<std::uintptr_t>(object)) != 0 ? TRUE : FALSE;
}

int PlatformLiveGdiObjects() {
  std::lock_guard<std::mutex> lock(g_gdiLock);
  return static_cast<int>(g_liveObjects.size());
}

bool PlatformGdiObjectExists(const void* object) {
  std::lock_guard<std::mutex> lock(g_gdiLock);
  return g_liveObjects.count(reinterpret_cast<std::uintptr_t>(object)) != 0;
}
