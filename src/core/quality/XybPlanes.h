#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/quality/RecursiveGaussian.h"

namespace lumatrim::quality {

// Rows of 8-bit sRGB triples in the caller's memory: a Bitmap, a decoder's
// buffer or a row-padded picture. Stride is the distance between rows in bytes.
struct RgbRows {
  const uint8_t* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
  size_t Stride = 0;
};

// Three planes of one picture: linear R, G, B or the metric's X, Y, B.
using Planes3 = std::array<Plane, 3>;

// The picture in linear light, one plane per primary.
void ToLinear(const RgbRows& picture, Planes3& linear);

// Halves each side, averaging 2 x 2 pixels in linear light; an odd last row
// or column is averaged with itself.
void HalveLinear(const Planes3& linear, Planes3& half);

// The XYB colour space of the metric, shifted and scaled so that every
// channel lies in 0..1: X * 14 + 0.42, Y + 0.01, B - Y + 0.55.
void ToPositiveXyb(const Planes3& linear, Planes3& xyb);

}  // namespace lumatrim::quality
