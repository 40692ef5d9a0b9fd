// TArray: the framework's growable array. Its storage is always exactly
// count elements long (reallocated on every insertion and removal) and comes
// from the process heap, so every growth can fail and report it.
#pragma once

#include <cstring>
#include <type_traits>

#include "framework/heap.h"
#include "framework/hresult.h"
#include "win32.h"

// The array's policy argument; the arrays the framework uses need nothing
// from it.
struct DefaultTraits {};

template <typename T, typename Traits = DefaultTraits>
class TArray {
  static_assert(std::is_trivially_copyable<T>::value, "values are moved as bytes");

 public:
  FRAMEWORK_HEAP_OBJECT

  TArray() : m_data(nullptr), m_count(0) {}
  TArray(const TArray&) = delete;
  TArray& operator=(const TArray&) = delete;
  virtual ~TArray() {
    FrameworkHeapFree(m_data);
    m_data = nullptr;
    m_count = 0;
  }

  int GetCount() const { return m_count; }
  // Null when the array holds nothing.
  const T* GetData() const { return m_data; }
  const T& operator[](int index) const { return m_data[index]; }

  // The byte size of `count` elements, if it fits a signed 32-bit integer;
  // otherwise the folded arithmetic-overflow error (0x80070216).
  static HRESULT ByteSize(long long count, SIZE_T* bytes) {
    const long long size = count * static_cast<long long>(sizeof(T));
    if (count < 0 || size > 0x7FFFFFFFLL) {
      return FoldWin32Error(ERROR_ARITHMETIC_OVERFLOW);
    }
    *bytes = static_cast<SIZE_T>(size);
    return S_OK;
  }

  // Inserts value before the element at index (index == count appends).
  // On failure nothing changes.
  HRESULT InsertAt(int index, const T& value) {
    if (index < 0 || index > m_count) {
      return E_INVALIDARG;
    }
    SIZE_T bytes = 0;
    const HRESULT hr = ByteSize(static_cast<long long>(m_count) + 1, &bytes);
    if (hr < 0) {
      return hr;
    }
    T* grown = static_cast<T*>(m_data == nullptr
                                   ? HeapAlloc(GetProcessHeap(), 0, bytes)
                                   : HeapReAlloc(GetProcessHeap(), 0, m_data, bytes));
    if (grown == nullptr) {
      return E_OUTOFMEMORY;
    }
    m_data = grown;
    std::memmove(m_data + index + 1, m_data + index,
                 static_cast<std::size_t>(m_count - index) * sizeof(T));
    m_data[index] = value;
    ++m_count;
    return S_OK;
  }

  // Removes the element at index and shrinks the storage to the new count;
  // an empty array gives its storage back. If the heap cannot hand out the
  // smaller block, the larger one stays in use.
  HRESULT RemoveAt(int index) {
    if (index < 0 || index >= m_count) {
      return E_INVALIDARG;
    }
    std::memmove(m_data + index, m_data + index + 1,
                 static_cast<std::size_t>(m_count - index - 1) * sizeof(T));
    --m_count;
    if (m_count == 0) {
      FrameworkHeapFree(m_data);
      m_data = nullptr;
      return S_OK;
    }
    T* shrunk = static_cast<T*>(HeapReAlloc(GetProcessHeap(), 0, m_data,
                                            static_cast<SIZE_T>(m_count) * sizeof(T)));
    if (shrunk != nullptr) {
      m_data = shrunk;
    }
    return S_OK;
  }

 private:
  T* m_data;
  int m_count;
};
