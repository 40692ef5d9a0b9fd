// The process heap on the C runtime's allocator.
#include <cstdlib>
#include <cstring>

#include "win32.h"

namespace {
// Any non-null value serves: there is one heap.
HANDLE const kProcessHeap = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(1));
}  // namespace

extern "C" HANDLE GetProcessHeap(void) { return kProcessHeap; }

extern "C" LPVOID HeapAlloc(HANDLE, DWORD flags, SIZE_T bytes) {
  void* block = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes ? bytes : 1)
                                           : std::malloc(bytes ? bytes : 1);
  return block;
}

extern "C" LPVOID HeapReAlloc(HANDLE, DWORD, LPVOID block, SIZE_T bytes) {
  return std::realloc(block, bytes ? bytes : 1);
}

extern "C" BOOL HeapFree(HANDLE, DWORD, LPVOID block) {
  std::free(block);
  return TRUE;
}
