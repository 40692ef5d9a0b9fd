#include "framework/id_set.h"

HRESULT AllocateId(IdSet** set, unsigned int* id, unsigned int low, unsigned int high) {
  if (set == nullptr || id == nullptr) {
    return E_POINTER;
  }
  if (*set == nullptr) {
    *set = new IdSet();
    if (*set == nullptr) {
      return E_OUTOFMEMORY;
    }
  }
  IdSet& ids = **set;
  unsigned int candidate = low;
  int index = 0;
  // Sorted and nothing below low: the walk stops at the first gap.
  while (index < ids.GetCount()) {
    const unsigned int value = ids[index];
    if (candidate < value) {
      break;
    }
    candidate = value + 1;
    ++index;
  }
  if (candidate >= high) {
    return E_FAIL;
  }
  const HRESULT hr = ids.InsertAt(index, candidate);
  if (hr < 0) {
    return hr;
  }
  *id = candidate;
  return S_OK;
}

HRESULT ReleaseId(IdSet* set, unsigned int id) {
  if (set == nullptr) {
    return E_UNEXPECTED;
  }
  for (int index = 0; index < set->GetCount(); ++index) {
    const unsigned int value = (*set)[index];
    if (value == id) {
      return set->RemoveAt(index);
    }
    if (value > id) {
      break;
    }
  }
  return S_FALSE;
}
