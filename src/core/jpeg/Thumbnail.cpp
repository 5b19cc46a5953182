#include "core/jpeg/Thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/jpeg/JpegImage.h"

namespace lumatrim {
namespace {

// For every target index, the source range [begin, end) it averages.
std::vector<std::pair<int, int>> Spans(int sourceSize, int targetSize) {
  std::vector<std::pair<int, int>> spans(static_cast<size_t>(targetSize));
  for (int i = 0; i < targetSize; ++i) {
    const int begin = static_cast<int>(int64_t{i} * sourceSize / targetSize);
    const int end = static_cast<int>(int64_t{i + 1} * sourceSize / targetSize);
    spans[static_cast<size_t>(i)] = {begin, std::max(end, begin + 1)};
  }
  return spans;
}

}  // namespace

std::string WithoutJfifHeader(const std::string& stream) {
  // FF D8, then FF E0, a length, "JFIF\0" ...
  if (stream.size() < 11 || static_cast<uint8_t>(stream[2]) != 0xFF || static_cast<uint8_t>(stream[3]) != 0xE0 ||
      stream.compare(6, 5, std::string("JFIF\0", 5)) != 0) {
    return stream;
  }
  const size_t length = static_cast<size_t>(static_cast<uint8_t>(stream[4])) << 8 | static_cast<uint8_t>(stream[5]);
  if (4 + length > stream.size()) return stream;
  return stream.substr(0, 2) + stream.substr(4 + length);
}

std::pair<int, int> ThumbnailSize(int width, int height) {
  if (width <= 0 || height <= 0) return {0, 0};
  const int longSide = std::max(width, height);
  if (longSide <= kThumbnailLongSide) return {width, height};
  const auto scaled = [&](int side) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(side) * kThumbnailLongSide / longSide)));
  };
  return {scaled(width), scaled(height)};
}

Bitmap AreaAverage(const Bitmap& source, int width, int height) {
  Bitmap out(width, height);
  if (out.Empty() || source.Empty()) return out;
  const auto columns = Spans(source.Width, width);
  const auto rows = Spans(source.Height, height);
  std::vector<uint32_t> sums(static_cast<size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    const auto [top, bottom] = rows[static_cast<size_t>(y)];
    for (int sy = top; sy < bottom; ++sy) {
      const uint8_t* in = source.Row(sy);
      for (int x = 0; x < width; ++x) {
        const auto [left, right] = columns[static_cast<size_t>(x)];
        for (int sx = left; sx < right; ++sx) {
          for (int c = 0; c < 3; ++c) sums[3 * static_cast<size_t>(x) + c] += in[3 * static_cast<size_t>(sx) + c];
        }
      }
    }
    uint8_t* row = out.Row(y);
    for (int x = 0; x < width; ++x) {
      const auto [left, right] = columns[static_cast<size_t>(x)];
      const uint32_t count = static_cast<uint32_t>((right - left) * (bottom - top));
      for (int c = 0; c < 3; ++c) {
        row[3 * x + c] = static_cast<uint8_t>((sums[3 * static_cast<size_t>(x) + c] + count / 2) / count);
      }
    }
  }
  return out;
}

std::string EncodeThumbnail(const Bitmap& picture) {
  if (picture.Empty()) return {};
  const auto [width, height] = ThumbnailSize(picture.Width, picture.Height);
  JpegImage thumbnail;
  thumbnail.Assign(width == picture.Width && height == picture.Height ? picture
                                                                       : AreaAverage(picture, width, height));
  thumbnail.Compress(kThumbnailQuality, false);
  return WithoutJfifHeader(thumbnail.Data());
}

std::string EncodeThumbnail(const JpegImage& image) {
  if (image.Empty()) return {};
  const auto [width, height] = ThumbnailSize(image.Width(), image.Height());
  return EncodeThumbnail(image.Decode(image.PreviewScale(width, height)));
}

}  // namespace lumatrim
