// Runs the simulation headless with a scripted clock and scripted input.
#pragma once

#include <cstdio>
#include <vector>

#include "events.h"
#include "options.h"

// Initialises a Scene with the clock at startTick, then runs the frames,
// writing a block after frame 0, after every dumpEvery-th frame and after
// the last. Returns false when writing to out failed.
bool RunReplay(const ReplayOptions& options, const std::vector<ReplayEvent>& events, std::FILE* out);
