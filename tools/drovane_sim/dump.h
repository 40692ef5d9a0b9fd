// The text drovane-sim prints for one frame: every float as the 8 hex
// digits of its bits, every double as 16, integers in decimal, so that two
// builds agree byte for byte exactly when their states agree bit for bit.
#pragma once

#include <cstdint>
#include <string>

struct Scene;

void AppendFloatBits(std::string* out, float value);
void AppendDoubleBits(std::string* out, double value);

// Appends the block "frame ... tick ...", camera, zoom, keys and 256 ball lines.
void AppendSceneBlock(std::string* out, const Scene& scene, std::uint32_t frame, std::uint32_t tick);
