#include "core/jpeg/Orientation.h"

#include <cstring>

namespace lumatrim {
namespace {

// Each transform as a matrix on coordinates measured from the picture's
// centre, x to the right and y downwards: (x, y) goes to (xx·x + xy·y, yx·x + yy·y).
// Composing two transforms is then a matrix product, and the result is found
// again in this table, so no case table of 64 combinations is needed.
struct Matrix {
  int xx, xy, yx, yy;
  bool operator==(const Matrix&) const = default;
};

constexpr Matrix kMatrices[] = {
    {1, 0, 0, 1},    // None
    {-1, 0, 0, 1},   // FlipHorizontal
    {-1, 0, 0, -1},  // Rotate180
    {1, 0, 0, -1},   // FlipVertical
    {0, 1, 1, 0},    // Transpose
    {0, -1, 1, 0},   // Rotate90: right goes to bottom
    {0, -1, -1, 0},  // Transverse
    {0, 1, -1, 0},   // Rotate270
};

Matrix MatrixOf(PixelTransform t) { return kMatrices[static_cast<int>(t) - 1]; }

PixelTransform TransformOf(const Matrix& m) {
  for (int i = 0; i < 8; ++i) {
    if (kMatrices[i] == m) return static_cast<PixelTransform>(i + 1);
  }
  return PixelTransform::None;  // unreachable: the eight form a closed group
}

}  // namespace

bool ValidOrientation(int orientation) { return orientation >= 1 && orientation <= 8; }

PixelTransform UprightTransform(int orientation) {
  return ValidOrientation(orientation) ? static_cast<PixelTransform>(orientation) : PixelTransform::None;
}

PixelTransform Then(PixelTransform first, PixelTransform second) {
  const Matrix a = MatrixOf(first), b = MatrixOf(second);
  return TransformOf({b.xx * a.xx + b.xy * a.yx, b.xx * a.xy + b.xy * a.yy, b.yx * a.xx + b.yy * a.yx,
                      b.yx * a.xy + b.yy * a.yy});
}

bool SwapsSides(PixelTransform transform) { return MatrixOf(transform).xx == 0; }

std::pair<int, int> TransformedSize(int width, int height, PixelTransform transform) {
  return SwapsSides(transform) ? std::pair{height, width} : std::pair{width, height};
}

Bitmap ApplyTransform(const Bitmap& picture, PixelTransform transform) {
  if (transform == PixelTransform::None) return picture;
  const auto size = TransformedSize(picture.Width, picture.Height, transform);
  const int width = size.first, height = size.second;
  Bitmap out(width, height);
  if (out.Empty()) return out;
  // In doubled centre coordinates every pixel centre is a whole number:
  // source x maps to 2x - (W - 1), and back from 2X - (W' - 1) on the output.
  const Matrix m = MatrixOf(transform);
  const auto target = [&](int x, int y, int& tx, int& ty) {
    const int cx = 2 * x - (picture.Width - 1), cy = 2 * y - (picture.Height - 1);
    tx = (m.xx * cx + m.xy * cy + (width - 1)) / 2;
    ty = (m.yx * cx + m.yy * cy + (height - 1)) / 2;
  };
  // One step along a source row moves by (xx, yx) on the output.
  const ptrdiff_t step = 3 * (static_cast<ptrdiff_t>(m.yx) * width + m.xx);
  for (int y = 0; y < picture.Height; ++y) {
    int tx = 0, ty = 0;
    target(0, y, tx, ty);
    ptrdiff_t at = 3 * (static_cast<ptrdiff_t>(ty) * width + tx);
    const uint8_t* src = picture.Row(y);
    for (int x = 0; x < picture.Width; ++x, src += 3, at += step) std::memcpy(out.Bytes.data() + at, src, 3);
  }
  return out;
}

}  // namespace lumatrim
