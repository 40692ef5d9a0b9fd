// The floor texture's image and the material colours, computed without GL.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/render_internal.h"

namespace {
// The colour settings' built-in values (COLORREF 0x00BBGGRR).
const COLORREF kDefaults[6] = {0x00C0C0C0, 0x00FFFFFF, 0x00FF9080,
                               0x000000FF, 0x0000FF00, 0x00000000};

struct Image {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kFloorImageBytes, 0xCD);
  std::uint8_t* At(int row, int column) { return &bytes[static_cast<size_t>(row * kFloorImageStride + 4 * column)]; }
  std::uint8_t* Tile(int index) { return At(0, index * kTileSide); }
};

// (row, column) of a tile whose first pixel is at tile.
std::uint8_t* Pixel(std::uint8_t* tile, int row, int column) {
  return tile + row * kFloorImageStride + 4 * column;
}

bool OnRing(int row, int column) { return row == 0 || row == 63 || column == 0 || column == 63; }

void ExpectGrey(std::uint8_t* pixel, int value, const char* where) {
  EXPECT_EQ(pixel[0], value) << where;
  EXPECT_EQ(pixel[1], value) << where;
  EXPECT_EQ(pixel[2], value) << where;
}

TEST(FloorImage, DefaultTilesBeforeAndAfterTheRingBlend) {
  Image gradient;
  MakeGradientTile(kDefaults[0], gradient.Tile(0));
  ExpectGrey(gradient.At(0, 0), 182, "tile 0 (0,0) unblended");
  ExpectGrey(gradient.At(63, 63), 201, "tile 0 (63,63) unblended");

  Image image;
  BuildFloorImage(kDefaults, image.bytes.data());
  ExpectGrey(image.At(0, 0), 91, "tile 0 (0,0)");
  ExpectGrey(image.At(63, 63), 100, "tile 0 (63,63)");
  ExpectGrey(image.At(1, 1), 182, "tile 0 (1,1) is inside the ring");
  ExpectGrey(image.At(0, 64), 122, "tile 1 (0,0)");
  ExpectGrey(image.At(63, 127), 127, "tile 1 (63,63)");
  ExpectGrey(image.At(62, 126), 254, "tile 1 (62,62) is inside the ring");
}

TEST(FloorImage, GradientRunsFromTheFirstPixelPerChannel) {
  // Red 192, green 0, blue 255: each channel on its own byte and span.
  Image image;
  MakeGradientTile(0x00FF00C0, image.Tile(0));
  std::uint8_t* tile = image.Tile(0);
  EXPECT_EQ(Pixel(tile, 0, 63)[0], 195);
  EXPECT_EQ(Pixel(tile, 63, 0)[0], 195);
  EXPECT_EQ(Pixel(tile, 32, 32)[0], 192);

  int low[3] = {255, 255, 255};
  int high[3] = {0, 0, 0};
  for (int i = 0; i < kTileSide; ++i) {
    for (int j = 0; j < kTileSide; ++j) {
      for (int c = 0; c < 3; ++c) {
        low[c] = std::min<int>(low[c], Pixel(tile, i, j)[c]);
        high[c] = std::max<int>(high[c], Pixel(tile, i, j)[c]);
      }
      // Equal distances from the first pixel give equal values.
      EXPECT_EQ(Pixel(tile, i, j)[0], Pixel(tile, j, i)[0]);
    }
  }
  EXPECT_EQ(low[0], 182);
  EXPECT_EQ(high[0], 201);
  EXPECT_EQ(low[1], 0);
  EXPECT_EQ(high[1], 9);
  EXPECT_EQ(low[2], 245);
  EXPECT_EQ(high[2], 254);

  Image five;
  MakeGradientTile(0x00000005, five.Tile(0));
  EXPECT_EQ(Pixel(five.Tile(0), 0, 0)[0], 0);
  EXPECT_EQ(Pixel(five.Tile(0), 63, 63)[0], 14);
}

TEST(FloorImage, RingIsBlendedOnceTowardsColourFive) {
  COLORREF colours[6];
  std::copy(kDefaults, kDefaults + 6, colours);
  colours[5] = 0x00FFFFFF;  // a white ring lightens
  Image gradient;
  MakeGradientTile(colours[0], gradient.Tile(0));
  MakeGradientTile(colours[1], gradient.Tile(1));
  Image image;
  BuildFloorImage(colours, image.bytes.data());
  int ringPixels = 0;
  for (int t = 0; t < 2; ++t) {
    for (int i = 0; i < kTileSide; ++i) {
      for (int j = 0; j < kTileSide; ++j) {
        const std::uint8_t* before = Pixel(gradient.Tile(t), i, j);
        const std::uint8_t* after = Pixel(image.Tile(t), i, j);
        ringPixels += OnRing(i, j) ? 1 : 0;
        for (int c = 0; c < 3; ++c) {
          const int expected = OnRing(i, j) ? (255 + before[c]) / 2 : before[c];
          ASSERT_EQ(after[c], expected) << "tile " << t << " (" << i << "," << j << ")";
        }
      }
    }
  }
  EXPECT_EQ(ringPixels, 2 * 252);
}

TEST(FloorImage, AlphaIsOpaqueAndUnusedRowsAreCleared) {
  Image image;  // starts as 0xCD, like memory nobody cleared
  BuildFloorImage(kDefaults, image.bytes.data());
  for (int row = 0; row < kFloorImageSide; ++row) {
    for (int column = 0; column < kFloorImageSide; ++column) {
      const std::uint8_t* pixel = image.At(row, column);
      if (row < kTileSide) {
        ASSERT_EQ(pixel[3], 255) << row << "," << column;
      } else {
        for (int c = 0; c < 4; ++c) ASSERT_EQ(pixel[c], 0) << row << "," << column;
      }
    }
  }
}

TEST(FloorImage, BlendPixelWeighsTheColourAndKeepsAlpha) {
  std::uint8_t pixel[4] = {100, 0, 255, 77};
  BlendPixel(pixel, 0x00FF00C8, 0.25f);  // red 200, green 0, blue 255
  EXPECT_EQ(pixel[0], 125);  // 50 + 75
  EXPECT_EQ(pixel[1], 0);
  EXPECT_EQ(pixel[2], 255);
  EXPECT_EQ(pixel[3], 77);

  std::uint8_t odd[4] = {201, 3, 0, 255};
  BlendPixel(odd, 0x00000000, 0.5f);
  EXPECT_EQ(odd[0], 100);  // rounded down
  EXPECT_EQ(odd[1], 1);
}

TEST(MaterialColours, DefaultAndCustomSettingsKeepAlpha) {
  float colours[3][4];
  float* const ptrs[3] = {colours[0], colours[1], colours[2]};
  FillMaterialColours(kDefaults, ptrs);
  const float expected[3][4] = {{0.0f, 1.0f, 0.0f, 0.2f},
                                {128.0f / 255.0f, 144.0f / 255.0f, 1.0f, 0.2f},
                                {1.0f, 0.0f, 0.0f, 0.2f}};
  for (int s = 0; s < 3; ++s) {
    for (int c = 0; c < 4; ++c) EXPECT_EQ(colours[s][c], expected[s][c]) << s << "," << c;
  }
  EXPECT_NEAR(colours[1][0], 0.50196f, 1e-5f);
  EXPECT_NEAR(colours[1][1], 0.56471f, 1e-5f);

  COLORREF custom[6];
  std::copy(kDefaults, kDefaults + 6, custom);
  custom[2] = 0x00010203;  // normal
  custom[3] = 0x00FFFFFF;  // chaser
  custom[4] = 0x00336699;  // player
  FillMaterialColours(custom, ptrs);
  EXPECT_EQ(colours[0][0], 153.0f / 255.0f);
  EXPECT_EQ(colours[0][1], 102.0f / 255.0f);
  EXPECT_EQ(colours[0][2], 51.0f / 255.0f);
  EXPECT_EQ(colours[1][0], 3.0f / 255.0f);
  EXPECT_EQ(colours[1][2], 1.0f / 255.0f);
  EXPECT_EQ(colours[2][1], 1.0f);
  for (int s = 0; s < 3; ++s) EXPECT_EQ(colours[s][3], 0.2f);
}
}  // namespace
