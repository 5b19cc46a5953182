#include "PngReader.h"

#include <png.h>

#include <cstring>

namespace lumatrim::testing {

bool ReadPng(const std::string& path, Bitmap& picture, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  picture = Bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, picture.Bytes.data(), static_cast<png_int_32>(picture.Stride()), nullptr)) {
    error = path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace lumatrim::testing
