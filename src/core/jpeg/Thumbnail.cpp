#include "core/jpeg/Thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/jpeg/JpegImage.h"
#include "core/resample/Resampler.h"

namespace lumatrim {
namespace {

std::string Encoded(Bitmap thumbnail) {
  JpegImage image;
  image.Assign(std::move(thumbnail));
  image.Compress(kThumbnailQuality, false);
  return WithoutJfifHeader(image.Data());
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

std::string EncodeThumbnail(const Bitmap& picture) {
  if (picture.Empty()) return {};
  const auto [width, height] = ThumbnailSize(picture.Width, picture.Height);
  if (width == picture.Width && height == picture.Height) return Encoded(picture);
  return Encoded(resample::Resample(picture, width, height));
}

std::string EncodeThumbnail(const JpegImage& image) {
  if (image.Empty()) return {};
  const auto [width, height] = ThumbnailSize(image.Width(), image.Height());
  return Encoded(image.DecodeResampled(width, height));
}

}  // namespace lumatrim
