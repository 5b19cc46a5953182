#pragma once
#include <cstdint>
#include <vector>

#include "core/jpeg/Bitmap.h"
#include "core/resample/FilterWeights.h"

namespace lumatrim::resample {

// Where the filter averages. Linear light averages what the eye's receptors
// add up (black and white stripes blend to 50 % light, sRGB 188); gamma
// averages the sRGB code values as stored (the same stripes give 128).
enum class Light { Linear, Gamma };

// The separable Lanczos-3 resampler, fed one source row at a time.
//
// Each row is turned into floats (through the transfer curve when in linear
// light), filtered horizontally into a ring of target-width rows, and every
// target row is made as soon as the last source row under its window has
// arrived. So only a few target-width rows are held, never the source, and
// the source can come straight from a decoder. Weights are computed once per
// output column and row.
class Resampler {
 public:
  // Fills target (its size is the result size) from a sourceWidth x
  // sourceHeight picture. Sizes must be >= 1; throws LumatrimError otherwise.
  Resampler(int sourceWidth, int sourceHeight, Bitmap& target, Light light = Light::Linear);

  // Next source row, top to bottom: sourceWidth RGB triples.
  void PushRow(const uint8_t* rgb);
  // True once every source row was pushed (the target is then complete).
  bool Done() const { return nextSource_ == sourceHeight_; }

 private:
  using Float4 = float __attribute__((vector_size(16)));  // R, G, B, unused

  void EmitRow(int y);
  Float4* RingRow(int sourceRow) { return ring_.data() + static_cast<size_t>(sourceRow % ringRows_) * target_.Width; }

  int sourceWidth_, sourceHeight_;
  Bitmap& target_;
  const float* toFloat_;            // 256 entries for the light chosen
  const uint8_t* fromFloat_;        // kOutSteps entries, 0..1 to 8-bit
  AxisWeights across_, down_;
  int acrossTaps_;                  // across_.Taps rounded up to a multiple of 4
  std::vector<float> acrossWeights_;  // across_'s weights padded with zeros to acrossTaps_
  int ringRows_;
  std::vector<Float4> line_;   // the source row being filtered, zero-padded for the rounded-up taps
  std::vector<Float4> ring_;   // horizontally filtered rows
  std::vector<Float4> sum_;    // one target row being summed
  int nextSource_ = 0;
  int nextTarget_ = 0;
};

// The whole of source resampled to width x height (for a picture already in
// memory).
Bitmap Resample(const Bitmap& source, int width, int height, Light light = Light::Linear);

}  // namespace lumatrim::resample
