#pragma once
// Real JPEG photos for the dialog tests, made with the program's own encoder.
#include <string>
#include <utility>

#include "core/jpeg/JpegImage.h"

namespace lumatrim::test {

// A photo-like gradient picture of that size written as a baseline JPEG.
inline std::string MakePhoto(const std::string& path, int width, int height) {
  Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 255 / width);
      row[3 * x + 1] = static_cast<uint8_t>(y * 255 / height);
      row[3 * x + 2] = static_cast<uint8_t>((x + y) % 256);
    }
  }
  JpegImage image;
  image.Assign(std::move(bitmap));
  image.Compress(90, false);
  image.SaveToFile(path);
  return path;
}

inline std::pair<int, int> PhotoSize(const std::string& path) {
  JpegImage image;
  image.LoadFromFile(path);
  return {image.Width(), image.Height()};
}

}  // namespace lumatrim::test
