#pragma once
#include <utility>

#include "core/jpeg/Bitmap.h"

namespace lumatrim {

// The eight ways a picture can lie on its pixel grid: as it is, turned by a
// quarter, half or three quarters, or mirrored along one of four axes. Each
// value is the transform that makes a picture stored with that EXIF
// Orientation upright (Orientation 6 needs Rotate90, and so on); turns are
// clockwise as the picture is seen.
enum class PixelTransform {
  None = 1,
  FlipHorizontal = 2,  // left and right swap
  Rotate180 = 3,
  FlipVertical = 4,    // top and bottom swap
  Transpose = 5,       // mirrored along the top-left to bottom-right diagonal
  Rotate90 = 6,
  Transverse = 7,      // mirrored along the top-right to bottom-left diagonal
  Rotate270 = 8,
};

// EXIF Orientation values outside 1..8 mean "as stored".
constexpr int kOrientationNormal = 1;
bool ValidOrientation(int orientation);

// What makes a picture stored with this EXIF Orientation upright.
PixelTransform UprightTransform(int orientation);

// first, then second: one transform that does both.
PixelTransform Then(PixelTransform first, PixelTransform second);

// True when width and height trade places.
bool SwapsSides(PixelTransform transform);
std::pair<int, int> TransformedSize(int width, int height, PixelTransform transform);

// The picture with the transform applied.
Bitmap ApplyTransform(const Bitmap& picture, PixelTransform transform);

}  // namespace lumatrim
