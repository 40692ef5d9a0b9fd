#pragma once

// The next count HeapAlloc calls return null.
void FailNextHeapAllocs(int count);
// Blocks allocated and not yet freed.
int LiveHeapBlocks();
