// The GL-free computations behind drawing, exposed for tests: the floor
// image, the material colours, the floor grid's origin and the view's
// translation. Nothing here touches GL.
#pragma once

#include <cstdint>

#include "render/camera.h"
#include "win32.h"

// The floor image: 128 x 128 RGBA bytes, two 64 x 64 tiles side by side in
// rows 0-63; rows 64-127 are cleared.
constexpr int kFloorImageSide = 128;
constexpr int kFloorImageStride = kFloorImageSide * 4;  // bytes per row
constexpr int kFloorImageBytes = kFloorImageStride * kFloorImageSide;
constexpr int kTileSide = 64;
constexpr int kFloorSquare = 96;  // world units covered by one tile

// A radial gradient around the tile's first pixel, each channel from
// colour - 10 towards colour + 10 (clipped to 0...255); alpha 255.
// tile points at the tile's first byte inside the image (row stride 512).
void MakeGradientTile(COLORREF colour, std::uint8_t* tile);

// Moves the pixel's red, green and blue towards the colour by factor
// (the colour's weight, 0...1); alpha is left alone.
void BlendPixel(std::uint8_t* pixel, COLORREF colour, float factor);

// Blends the tile's outermost ring of pixels half way towards the colour.
void BlendTileBorder(std::uint8_t* tile, COLORREF colour);

// Fills image (kFloorImageBytes) from the colour settings: tile 0 from
// colours[0], tile 1 from colours[1], both rings towards colours[5], the
// unused rows 64-127 cleared to 0.
void BuildFloorImage(const COLORREF colours[6], std::uint8_t* image);

// Fills the material colour of each BallState (player colours[4], normal
// colours[2], chaser colours[3]) as bytes / 255 with alpha 0.2.
void FillMaterialColours(const COLORREF colours[6], float* const materials[3]);

// Where the floor grid starts for a camera target, and which tile its first
// square shows (0 or 1).
struct FloorOrigin {
  std::int32_t x;
  std::int32_t z;
  std::int32_t parity;
};

// t snapped down to the grid of 96 (negative multiples of 96 go one square
// further: -96 gives -192).
std::int32_t SnapToFloorGrid(std::int32_t t);

FloorOrigin ComputeFloorOrigin(double targetX, double targetZ);

// The translation ApplyView makes after its two rotations.
struct ViewTranslation {
  double x;
  double y;
  double z;
};

ViewTranslation ComputeViewTranslation(const Camera* camera);
