#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace lumatrim::quality {

// A float picture plane, rows top to bottom without padding. Its memory is
// kept when it shrinks and is not cleared when it grows, so planes reused
// across scales and scores cost no allocation, page faults or zeroing.
class Plane {
 public:
  Plane() = default;
  Plane(int width, int height) { Resize(width, height); }

  // The contents are undefined afterwards.
  void Resize(int width, int height) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (count > capacity_) {
      values_.reset(new float[count]);
      capacity_ = count;
    }
    width_ = width;
    height_ = height;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  size_t Count() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }
  float* Data() { return values_.get(); }
  const float* Data() const { return values_.get(); }
  float* Row(int y) { return values_.get() + static_cast<size_t>(y) * width_; }
  const float* Row(int y) const { return values_.get() + static_cast<size_t>(y) * width_; }

 private:
  int width_ = 0;
  int height_ = 0;
  size_t capacity_ = 0;
  std::unique_ptr<float[]> values_;
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
  std::vector<float> history_;  // 8 rows of lanes: two previous outputs per recursion, a zero row, a scratch row
  std::vector<float> strip_;    // rows gathered column by column for the pass across
  Plane across_;                // the picture after the pass across
};

}  // namespace lumatrim::quality
