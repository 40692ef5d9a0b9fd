// The floor texture's image, made in memory from the colour settings.
#include <cmath>
#include <cstring>

#include "render/render_internal.h"

namespace {
std::uint8_t Channel(COLORREF colour, int index) {
  return static_cast<std::uint8_t>((colour >> (8 * index)) & 0xFFu);
}
}  // namespace

void MakeGradientTile(COLORREF colour, std::uint8_t* tile) {
  const float diagonal = static_cast<float>(std::sqrt(8192.0));
  int low[3];
  float range[3];
  for (int c = 0; c < 3; ++c) {
    const int value = Channel(colour, c);
    low[c] = value - 10 > 0 ? value - 10 : 0;
    const int high = value + 10 < 255 ? value + 10 : 255;
    range[c] = static_cast<float>(high - low[c]);
  }
  for (int i = 0; i < kTileSide; ++i) {
    for (int j = 0; j < kTileSide; ++j) {
      const float distance = static_cast<float>(std::sqrt(static_cast<double>(i * i + j * j)));
      const float t = distance / diagonal;
      std::uint8_t* pixel = tile + i * kFloorImageStride + 4 * j;
      pixel[3] = 255;
      for (int c = 0; c < 3; ++c) {
        const double value =
            static_cast<double>(low[c]) + static_cast<double>(t) * static_cast<double>(range[c]);
        pixel[c] = static_cast<std::uint8_t>(static_cast<int>(value));
      }
    }
  }
}

void BlendPixel(std::uint8_t* pixel, COLORREF colour, float factor) {
  for (int c = 0; c < 3; ++c) {
    const float towards = static_cast<float>(Channel(colour, c)) * factor;
    const float kept = static_cast<float>(pixel[c]) * (1.0f - factor);
    pixel[c] = static_cast<std::uint8_t>(static_cast<int>(towards + kept));
  }
}

void BlendTileBorder(std::uint8_t* tile, COLORREF colour) {
  const int last = kTileSide - 1;
  for (int j = 0; j < kTileSide; ++j) {
    BlendPixel(tile + 4 * j, colour, 0.5f);
    BlendPixel(tile + last * kFloorImageStride + 4 * j, colour, 0.5f);
  }
  for (int i = 1; i < last; ++i) {
    BlendPixel(tile + i * kFloorImageStride, colour, 0.5f);
    BlendPixel(tile + i * kFloorImageStride + 4 * last, colour, 0.5f);
  }
}

void BuildFloorImage(const COLORREF colours[6], std::uint8_t* image) {
  MakeGradientTile(colours[0], image);
  BlendTileBorder(image, colours[5]);
  MakeGradientTile(colours[1], image + 4 * kTileSide);
  BlendTileBorder(image + 4 * kTileSide, colours[5]);
  // Never generated, but nearest filtering can reach row 64 at the floor's
  // t = 0.5 edge: make it defined rather than whatever the heap held.
  std::memset(image + kTileSide * kFloorImageStride, 0,
              static_cast<std::size_t>(kFloorImageBytes - kTileSide * kFloorImageStride));
}

void FillMaterialColours(const COLORREF colours[6], float* const materials[3]) {
  // Indexed by BallState: player, normal, chaser.
  const COLORREF source[3] = {colours[4], colours[2], colours[3]};
  for (int s = 0; s < 3; ++s) {
    for (int c = 0; c < 3; ++c) {
      materials[s][c] = static_cast<float>(static_cast<double>(Channel(source[s], c)) / 255.0);
    }
    materials[s][3] = 0.2f;
  }
}
