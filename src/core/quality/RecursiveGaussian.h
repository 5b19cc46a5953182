#pragma once
#include <cstddef>
#include <vector>

namespace lumatrim::quality {

// A float picture plane, rows top to bottom without padding.
struct Plane {
  int Width = 0;
  int Height = 0;
  std::vector<float> Values;

  Plane() = default;
  Plane(int width, int height) : Width(width), Height(height), Values(static_cast<size_t>(width) * height) {}
  // Keeps the memory when shrinking, so planes reused across scales and
  // scores are allocated (and faulted in) once.
  void Resize(int width, int height) {
    Width = width;
    Height = height;
    Values.resize(static_cast<size_t>(width) * height);
  }
  float* Row(int y) { return Values.data() + static_cast<size_t>(y) * Width; }
  const float* Row(int y) const { return Values.data() + static_cast<size_t>(y) * Width; }
};

// A Gaussian blur as a sum of three second-order recursions on truncated
// cosines (Charalampidis 2016), so its cost does not grow with sigma. Out of
// the picture counts as zero, as the metric's weights were tuned with.
class RecursiveGaussian {
 public:
  explicit RecursiveGaussian(double sigma);

  // Blurs source into target (resized to match) in both directions.
  void Blur(const Plane& source, Plane& target);

 private:
  // Filters count positions of lanes independent floats each, positions
  // stride floats apart. Every lane takes the same operations, so the inner
  // loop vectorises across lanes: columns when going down, a strip of rows
  // when going across.
  void FilterAlong(const float* source, float* target, size_t count, size_t lanes, size_t stride);

  int radius_ = 0;
  float inputWeight_[3] = {};
  float previousWeight_[3] = {};
  std::vector<float> history_;  // 6 rows of lanes: two previous outputs per recursion, then a zero row and a scratch row
  std::vector<float> strip_;    // rows gathered column by column for the pass across
  Plane across_;                // the picture after the pass across
};

}  // namespace lumatrim::quality
