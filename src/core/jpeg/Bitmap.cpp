#include "core/jpeg/Bitmap.h"

#include <cstring>
#include <string>

#include "core/bytes/Error.h"

namespace lumatrim {

namespace {
// Past this a bitmap would not fit comfortably in memory (about 3 GB).
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 30;
}  // namespace

Bitmap::Bitmap(int width, int height) {
  if (width < 0 || height < 0 || int64_t{width} * height > kMaxBitmapPixels) {
    throw LumatrimError(FailureKind::TooLarge, "picture size " + std::to_string(width) + " x " + std::to_string(height) +
                        " is out of range");
  }
  Width = width;
  Height = height;
  Bytes.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
}

int StretchSourceIndex(int targetIndex, int sourceSize, int targetSize) {
  return static_cast<int>(int64_t{targetIndex} * sourceSize / targetSize);
}

void StretchDraw(const Bitmap& source, Bitmap& target) {
  if (target.Empty()) return;
  if (source.Empty()) {
    std::memset(target.Bytes.data(), 0, target.Bytes.size());
    return;
  }
  int previous = -1;
  for (int y = 0; y < target.Height; ++y) {
    const int sy = StretchSourceIndex(y, source.Height, target.Height);
    uint8_t* out = target.Row(y);
    if (sy == previous) {
      std::memcpy(out, target.Row(y - 1), target.Stride());
      continue;
    }
    const uint8_t* in = source.Row(sy);
    for (int x = 0; x < target.Width; ++x) {
      const uint8_t* px = in + 3 * static_cast<size_t>(StretchSourceIndex(x, source.Width, target.Width));
      out[0] = px[0];
      out[1] = px[1];
      out[2] = px[2];
      out += 3;
    }
    previous = sy;
  }
}

}  // namespace lumatrim
