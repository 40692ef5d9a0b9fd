// Framework objects live on the process heap, so that a refused allocation is
// an ordinary, testable failure (a null pointer) rather than an exception.
#pragma once

#include <cstddef>

#include "win32.h"

inline void* FrameworkHeapAlloc(std::size_t bytes) {
  return HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(bytes));
}

inline void FrameworkHeapFree(void* block) {
  if (block != nullptr) {
    HeapFree(GetProcessHeap(), 0, block);
  }
}

// Class-scope allocation functions for a heap object: `new T(...)` yields null
// when the heap refuses, placement new constructs in a block from HeapAlloc,
// and `delete` (through the virtual destructor) gives the block back.
#define FRAMEWORK_HEAP_OBJECT                                                                  \
  static void* operator new(std::size_t bytes) noexcept { return FrameworkHeapAlloc(bytes); } \
  static void* operator new(std::size_t, void* place) noexcept { return place; }               \
  static void operator delete(void* block) noexcept { FrameworkHeapFree(block); }              \
  static void operator delete(void*, void*) noexcept {}
