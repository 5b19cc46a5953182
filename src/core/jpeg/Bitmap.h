#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumatrim {

// A 24-bit picture: RGB triples, rows top to bottom, no row padding.
// It is what the JPEG image object decodes into and compresses from.
struct Bitmap {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Bytes;  // Width * Height * 3 bytes

  Bitmap() = default;
  // A black picture of that size; throws LumatrimError for a size below 0
  // or one too large to hold in memory.
  Bitmap(int width, int height);

  bool Empty() const { return Width <= 0 || Height <= 0; }
  size_t Stride() const { return static_cast<size_t>(Width) * 3; }
  uint8_t* Row(int y) { return Bytes.data() + static_cast<size_t>(y) * Stride(); }
  const uint8_t* Row(int y) const { return Bytes.data() + static_cast<size_t>(y) * Stride(); }
};

// The pixel-dropping stretch: target pixel i along an axis takes source pixel
// floor(i * sourceSize / targetSize). No averaging, so every output pixel is
// one of the source's own pixels; rows and columns are kept or dropped whole
// (or repeated when enlarging).
int StretchSourceIndex(int targetIndex, int sourceSize, int targetSize);

// Stretches source over the whole of target (target keeps its size).
void StretchDraw(const Bitmap& source, Bitmap& target);

}  // namespace lumatrim
