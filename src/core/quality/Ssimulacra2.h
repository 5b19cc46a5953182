#pragma once
#include <vector>

#include "core/jpeg/Bitmap.h"
#include "core/quality/XybPlanes.h"

namespace lumatrim::quality {

// The rows of a Bitmap, without copying.
RgbRows RowsOf(const Bitmap& bitmap);

// SSIMULACRA 2: how close a distorted picture looks to its reference, 100 for
// identical, about 90 for "cannot tell apart at 1:1", 70 for good and 50 for
// medium quality; strong damage goes below 0. Both pictures are 8-bit sRGB.
//
// The reference's half of the work (colour space, six scales, its blurred
// means and variances) is done once here, so a search that scores several
// encodings of one picture pays it once. Scoring reuses working planes kept
// in the object, so one object serves one thread at a time. Holds about 24
// float planes of the picture's size (160 MB for 1600 x 1067).
class Ssimulacra2Reference {
 public:
  // Throws LumatrimError for rows shorter than the width or a negative size.
  explicit Ssimulacra2Reference(const RgbRows& reference);
  explicit Ssimulacra2Reference(const Bitmap& reference) : Ssimulacra2Reference(RowsOf(reference)) {}

  // Throws LumatrimError when distorted is not the reference's size.
  double Score(const RgbRows& distorted);
  double Score(const Bitmap& distorted) { return Score(RowsOf(distorted)); }

  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  struct Scale {
    Planes3 Xyb;
    Planes3 Mean;         // Xyb blurred
    Planes3 MeanSquare;   // Xyb squared, then blurred
  };

  struct Workspace {
    RecursiveGaussian Blur{1.5};
    Planes3 Linear, Half, Xyb;
    Plane Mean, MeanSquare, MeanProduct, Product;
  };

  int width_ = 0;
  int height_ = 0;
  std::vector<Scale> scales_;
  Workspace work_;
};

// One-off score; throws LumatrimError when the sizes differ.
double Ssimulacra2(const RgbRows& reference, const RgbRows& distorted);
inline double Ssimulacra2(const Bitmap& reference, const Bitmap& distorted) {
  return Ssimulacra2(RowsOf(reference), RowsOf(distorted));
}

}  // namespace lumatrim::quality
