#pragma once
#include <vector>

namespace lumatrim::resample {

// The Lanczos kernel with three lobes: sinc(x) * sinc(x / 3) for |x| < 3.
double Lanczos3(double x);

// The weights of one axis, computed once and used for every row (or column).
// Output index i reads source indices First[i] .. First[i] + Taps - 1 with the
// weights Weights[i * Taps .. i * Taps + Taps - 1]. Every output has the same
// number of taps (zero-padded at the picture's edges, where the window is cut
// and the rest renormalised), so the inner loops have a fixed length.
struct AxisWeights {
  int Taps = 0;
  std::vector<int> First;
  std::vector<float> Weights;
};

// Reducing, the kernel is stretched by source / target so that it averages
// over the pixels an output pixel covers; enlarging, it interpolates between
// neighbours at its own width. Pixel centres are aligned: output pixel i sits
// at source position (i + 0.5) * source / target - 0.5. Sizes must be >= 1.
AxisWeights LanczosWeights(int sourceSize, int targetSize);

}  // namespace lumatrim::resample
