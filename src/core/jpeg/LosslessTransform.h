#pragma once
#include <string>

#include "core/jpeg/Orientation.h"

namespace lumatrim {

// Turning and mirroring a JPEG stream without decoding its pixels, in
// memory: libjpeg reads the quantised blocks, we move them (and swap or
// negate their coefficients), libjpeg codes them again. The picture is the
// same to the bit, less any partial edge blocks trimmed.

// Pixels a transform drops at the edges of its result: whole columns from
// its width, whole rows from its height.
struct EdgeTrim {
  int columns = 0;
  int rows = 0;
  bool Any() const { return columns > 0 || rows > 0; }
  friend bool operator==(const EdgeTrim&, const EdgeTrim&) = default;
};

// The stream's size and its block (MCU) size, which a lossless transform
// moves as a whole: 8 px times the largest sampling factor of each side.
struct BlockLayout {
  int width = 0;
  int height = 0;
  int blockWidth = 8;
  int blockHeight = 8;
};

// What a transform does with a partial block row or column that would land
// where it cannot stay whole (the left or top edge of the result).
enum class PartialBlocks {
  Trim,         // dropped: the result is a few pixels smaller
  MustBeWhole,  // the transform is refused
};

struct TransformOptions {
  PartialBlocks partialBlocks = PartialBlocks::Trim;
  bool copyMarkers = true;   // APP and COM segments come along unchanged
  bool progressive = false;  // the result's scans; otherwise sequential
};

// The header of a stream. Throws LumatrimError (NotJpeg, DamagedData) for
// bytes libjpeg cannot take or a size no photo has.
BlockLayout ReadBlockLayout(const std::string& jpeg);

// What the transform trims from its result, in the result's own columns and
// rows; none for a picture of whole blocks.
EdgeTrim OutputTrim(const BlockLayout& layout, PixelTransform transform);

// The transformed stream. Warnings (a cut-short or garbled stream) count as
// failures, so only a photo read whole is turned. Throws LumatrimError.
std::string TransformJpeg(const std::string& jpeg, PixelTransform transform, const TransformOptions& options = {});

}  // namespace lumatrim
