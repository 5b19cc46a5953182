#pragma once
#include <array>
#include <vector>

#include "core/jpeg/Bitmap.h"

namespace lumatrim::encode {

// How the two colour components are sampled against the brightness.
enum class ChromaSampling {
  Full,     // 4:4:4, one colour sample per pixel
  Quarter,  // 4:2:0, one per 2 x 2 pixels
};

// One component's 8 x 8 blocks after the forward DCT: 64 floats per block in
// natural order (scaled as JPEG's DCT, before quantisation), blocks row by row.
struct ComponentBlocks {
  int WidthInBlocks = 0;
  int HeightInBlocks = 0;
  std::vector<float> Coefficients;

  const float* Block(int blockX, int blockY) const {
    return Coefficients.data() + (static_cast<size_t>(blockY) * WidthInBlocks + blockX) * 64;
  }
  float* Block(int blockX, int blockY) {
    return Coefficients.data() + (static_cast<size_t>(blockY) * WidthInBlocks + blockX) * 64;
  }
};

// A picture as the quantiser sees it: Y, Cb, Cr transformed once, so several
// qualities can be tried without converting it again.
struct DctPicture {
  int Width = 0;
  int Height = 0;
  ChromaSampling Sampling = ChromaSampling::Quarter;
  std::array<ComponentBlocks, 3> Components;
};

// Colour conversion (the JFIF matrix) and the forward DCT in float, the
// colour averaged over 2 x 2 pixels for 4:2:0. Blocks past the picture's edge
// repeat its last column and row, as libjpeg pads them. Converts one row of
// blocks at a time, so only the result is held. Throws LumatrimError for an
// empty picture.
DctPicture TransformPicture(const Bitmap& picture, ChromaSampling sampling);

// The size in blocks of each component, as libjpeg reckons it from the
// picture's size and the sampling.
int ComponentWidthInBlocks(int width, ChromaSampling sampling, int component);
int ComponentHeightInBlocks(int height, ChromaSampling sampling, int component);

}  // namespace lumatrim::encode
