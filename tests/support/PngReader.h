#pragma once
#include <string>

#include "core/jpeg/Bitmap.h"

namespace lumatrim::testing {

// Reads a PNG file as 8-bit sRGB (libpng converts grey, palette and 16-bit
// pictures and drops alpha). Returns false with error filled when it cannot.
bool ReadPng(const std::string& path, Bitmap& picture, std::string& error);

}  // namespace lumatrim::testing
