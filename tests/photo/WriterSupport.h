#pragma once
#include <string>

#include "core/jpeg/Bitmap.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim::test {

// A small real JPEG stream from the encoder: SOI, its JFIF APP0, tables, scan.
inline std::string EncodedJpeg(int width, int height) {
  Bitmap picture(width, height);
  for (size_t i = 0; i < picture.Bytes.size(); ++i) picture.Bytes[i] = static_cast<uint8_t>(i * 7 % 251);
  JpegImage image;
  image.Assign(std::move(picture));
  image.Compress(80, false);
  return image.Data();
}

// The stream from its first segment after SOI and a leading APP0 on: what a
// test splices behind segments of its own choosing.
inline std::string BodyAfterApp0(const std::string& jpeg) {
  const bool app0 = static_cast<uint8_t>(jpeg[3]) == 0xE0;
  return jpeg.substr(2 + (app0 ? 2 + (static_cast<uint8_t>(jpeg[4]) << 8 | static_cast<uint8_t>(jpeg[5])) : 0));
}

// FF, marker, length, payload: one segment as it stands in a file.
inline std::string SegmentBytes(uint8_t marker, const std::string& payload) {
  const size_t n = payload.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} +
         payload;
}

inline JpegImage LoadedImage(const std::string& bytes) {
  JpegImage image;
  image.LoadFromBytes(bytes);
  return image;
}

}  // namespace lumatrim::test
