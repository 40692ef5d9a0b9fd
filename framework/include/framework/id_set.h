// Sorted sets of small IDs (private message numbers, timer IDs): each ID is
// the lowest free number of a range and can be given back.
#pragma once

#include "framework/array.h"
#include "win32.h"

typedef TArray<unsigned int, DefaultTraits> IdSet;

// Creates the set on first use (*set null). Writes the lowest value >= low
// that is not in the set, provided it is < high. E_OUTOFMEMORY when the set or
// its storage cannot be allocated, E_FAIL when the range is exhausted, the
// overflow HRESULT when the storage size would not fit; out is written only on
// success.
HRESULT AllocateId(IdSet** set, unsigned int* id, unsigned int low, unsigned int high);

// S_OK when removed, S_FALSE when the ID is not in the set, E_UNEXPECTED when
// the set was never created.
HRESULT ReleaseId(IdSet* set, unsigned int id);
