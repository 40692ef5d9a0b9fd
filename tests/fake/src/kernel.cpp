// Heap, module handle and the wheel setting, scripted.
#include <cstdlib>
#include <cstring>

#include "fake_state.h"

using fake::S;

namespace {

bool AllocationFails() {
  fake::State& s = S();
  ++s.allocationCalls;
  if (s.failAt <= 0) {
    return false;
  }
  return s.failAfter ? s.allocationCalls >= s.failAt : s.allocationCalls == s.failAt;
}

HANDLE const kProcessHeap = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(1));
int g_module;

}  // namespace

extern "C" HANDLE GetProcessHeap(void) { return kProcessHeap; }

extern "C" LPVOID HeapAlloc(HANDLE, DWORD flags, SIZE_T bytes) {
  if (AllocationFails()) {
    return nullptr;
  }
  void* block = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes ? bytes : 1)
                                           : std::malloc(bytes ? bytes : 1);
  if (block != nullptr) {
    ++S().liveBlocks;
  }
  return block;
}

extern "C" LPVOID HeapReAlloc(HANDLE, DWORD, LPVOID block, SIZE_T bytes) {
  if (AllocationFails()) {
    return nullptr;  // the old block stays valid, as on Windows
  }
  return std::realloc(block, bytes ? bytes : 1);
}

extern "C" BOOL HeapFree(HANDLE, DWORD, LPVOID block) {
  if (block != nullptr) {
    --S().liveBlocks;
    std::free(block);
  }
  return TRUE;
}

extern "C" HMODULE GetModuleHandleA(LPCSTR name) {
  fake::Log("GetModuleHandleA");
  if (S().moduleFault.active) {
    SetLastError(S().moduleFault.lastError);
    return nullptr;
  }
  if (name != nullptr) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(&g_module);
}

namespace fake {
HINSTANCE ModuleHandle() { return reinterpret_cast<HMODULE>(&g_module); }
}  // namespace fake

extern "C" BOOL SystemParametersInfoA(UINT action, UINT, PVOID data, UINT) {
  fake::Log("SystemParametersInfoA " + std::to_string(action));
  if (action != SPI_GETWHEELSCROLLLINES || data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!S().wheelSucceeds) {
    SetLastError(S().wheelError);
    return FALSE;
  }
  *static_cast<UINT*>(data) = S().wheelLines;
  return TRUE;
}
