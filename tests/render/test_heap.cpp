// The process heap for the GL tests, with allocations that fail on demand:
// linked instead of the platform's heap, so the scratch-buffer failure of
// CreateRenderResources can be provoked.
#include "test_heap.h"

#include <cstdlib>

#include "win32.h"

namespace {
int g_failuresLeft = 0;
int g_liveBlocks = 0;
HANDLE const kHeap = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(1));
}  // namespace

void FailNextHeapAllocs(int count) { g_failuresLeft = count; }
int LiveHeapBlocks() { return g_liveBlocks; }

extern "C" HANDLE GetProcessHeap(void) { return kHeap; }

extern "C" LPVOID HeapAlloc(HANDLE, DWORD flags, SIZE_T bytes) {
  if (g_failuresLeft > 0) {
    --g_failuresLeft;
    return nullptr;
  }
  void* block = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes ? bytes : 1)
                                           : std::malloc(bytes ? bytes : 1);
  if (block != nullptr) ++g_liveBlocks;
  return block;
}

extern "C" LPVOID HeapReAlloc(HANDLE, DWORD, LPVOID block, SIZE_T bytes) {
  return std::realloc(block, bytes ? bytes : 1);
}

extern "C" BOOL HeapFree(HANDLE, DWORD, LPVOID block) {
  if (block != nullptr) --g_liveBlocks;
  std::free(block);
  return TRUE;
}
