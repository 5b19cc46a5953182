#include "core/quality/RecursiveGaussian.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace lumatrim::quality {
namespace {

// Rows blurred together in the pass across: one SSE/AVX register of lanes.
constexpr size_t kStripRows = 8;

// Solves the 3x3 system a * x = b by Cramer's rule (a is well conditioned).
void Solve3(const double a[3][3], const double b[3], double x[3]) {
  auto det = [](const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  const double whole = det(a);
  for (int column = 0; column < 3; ++column) {
    double replaced[3][3];
    for (int row = 0; row < 3; ++row)
      for (int c = 0; c < 3; ++c) replaced[row][c] = c == column ? b[row] : a[row][c];
    x[column] = det(replaced) / whole;
  }
}

}  // namespace

RecursiveGaussian::RecursiveGaussian(double sigma) {
  // The paper's equations (33)-(57): three cosines of frequencies k * pi / 2N
  // (k = 1, 3, 5) whose weights make the sum match a Gaussian's value at 0,
  // its variance and its spectrum at the fifth frequency.
  const double radius = std::round(3.2795 * sigma + 0.2546);
  const double base = std::numbers::pi / (2.0 * radius);
  const double omega[3] = {base, 3.0 * base, 5.0 * base};
  const double p[3] = {1.0 / std::tan(0.5 * omega[0]), -1.0 / std::tan(0.5 * omega[1]), 1.0 / std::tan(0.5 * omega[2])};
  const double r[3] = {p[0] * p[0] / std::sin(omega[0]), -p[1] * p[1] / std::sin(omega[1]), p[2] * p[2] / std::sin(omega[2])};
  double rho[3];
  for (int k = 0; k < 3; ++k) rho[k] = std::exp(-0.5 * sigma * sigma * omega[k] * omega[k]) / radius;
  const double d13 = p[0] * r[1] - r[0] * p[1];
  const double d35 = p[1] * r[2] - r[1] * p[2];
  const double d51 = p[2] * r[0] - r[2] * p[0];
  const double zeta15 = d35 / d13;
  const double zeta35 = d51 / d13;
  const double system[3][3] = {{p[0], p[1], p[2]}, {r[0], r[1], r[2]}, {zeta15, zeta35, 1.0}};
  const double wanted[3] = {1.0, radius * radius - sigma * sigma, zeta15 * rho[0] + zeta35 * rho[1] + rho[2]};
  double beta[3];
  Solve3(system, wanted, beta);

  radius_ = static_cast<int>(radius);
  for (int k = 0; k < 3; ++k) {
    inputWeight_[k] = static_cast<float>(-beta[k] * std::cos(omega[k] * (radius + 1.0)));
    previousWeight_[k] = static_cast<float>(-2.0 * std::cos(omega[k]));
  }
}

namespace {

// One step of the three recursions for every lane: output n from the inputs
// behind and ahead and the two previous outputs of each recursion, which the
// new ones overwrite in "older". Each step is computed in double and rounded
// once, as a fused multiply-add would, which keeps the rounding noise of the
// near-unstable recursion as low as the metric's tuning assumed. AVX2 doubles
// the lanes where the processor has it; without FMA the results are the same.
__attribute__((target_clones("avx2", "default")))
void RecursionStep(const float* __restrict behind, const float* __restrict ahead, const float* __restrict previous0,
                   float* __restrict older0, const float* __restrict previous1, float* __restrict older1,
                   const float* __restrict previous2, float* __restrict older2, float* __restrict out, size_t lanes,
                   const float* inputWeight, const float* previousWeight) {
  const double in0 = inputWeight[0], in1 = inputWeight[1], in2 = inputWeight[2];
  const double prev0 = previousWeight[0], prev1 = previousWeight[1], prev2 = previousWeight[2];
  for (size_t i = 0; i < lanes; ++i) {
    const double sum = behind[i] + ahead[i];
    const float y0 = static_cast<float>(in0 * sum - prev0 * previous0[i] - older0[i]);
    const float y1 = static_cast<float>(in1 * sum - prev1 * previous1[i] - older1[i]);
    const float y2 = static_cast<float>(in2 * sum - prev2 * previous2[i] - older2[i]);
    older0[i] = y0;
    older1[i] = y1;
    older2[i] = y2;
    out[i] = y0 + y1 + y2;
  }
}

}  // namespace

void RecursiveGaussian::FilterAlong(const float* source, float* target, size_t count, size_t lanes, size_t stride) {
  history_.resize(8 * lanes);
  std::fill(history_.begin(), history_.end(), 0.0f);
  float* previous[3];
  float* older[3];
  for (int k = 0; k < 3; ++k) {
    previous[k] = history_.data() + (2 * k) * lanes;
    older[k] = history_.data() + (2 * k + 1) * lanes;
  }
  const float* zeros = history_.data() + 6 * lanes;
  float* scratch = history_.data() + 7 * lanes;

  // Output n sums inputs n - N - 1 and n + N - 1; the recursion warms up over
  // the first N - 1 positions before the first output.
  const ptrdiff_t radius = radius_;
  const ptrdiff_t end = static_cast<ptrdiff_t>(count);
  for (ptrdiff_t n = 1 - radius; n < end; ++n) {
    const ptrdiff_t behind = n - radius - 1;
    const ptrdiff_t ahead = n + radius - 1;
    RecursionStep(behind >= 0 ? source + behind * stride : zeros, ahead < end ? source + ahead * stride : zeros,
                  previous[0], older[0], previous[1], older[1], previous[2], older[2],
                  n >= 0 ? target + n * stride : scratch, lanes, inputWeight_, previousWeight_);
    // The row just written is now the previous one.
    for (int k = 0; k < 3; ++k) std::swap(previous[k], older[k]);
  }
}

void RecursiveGaussian::Blur(const Plane& source, Plane& target) {
  const int width = source.Width(), height = source.Height();
  across_.Resize(width, height);
  target.Resize(width, height);
  if (width == 0 || height == 0) return;

  // Across: a strip of rows is laid out column by column, so the strip's rows
  // become the lanes of one recursion along x.
  strip_.resize(2 * static_cast<size_t>(width) * kStripRows);
  float* gathered = strip_.data();
  float* filtered = strip_.data() + static_cast<size_t>(width) * kStripRows;
  for (int top = 0; top < height; top += static_cast<int>(kStripRows)) {
    const size_t rows = std::min<size_t>(kStripRows, static_cast<size_t>(height - top));
    for (size_t r = 0; r < rows; ++r) {
      const float* row = source.Row(top + static_cast<int>(r));
      for (int x = 0; x < width; ++x) gathered[x * rows + r] = row[x];
    }
    FilterAlong(gathered, filtered, static_cast<size_t>(width), rows, rows);
    for (size_t r = 0; r < rows; ++r) {
      float* row = across_.Row(top + static_cast<int>(r));
      for (int x = 0; x < width; ++x) row[x] = filtered[x * rows + r];
    }
  }
  // Down: every column is a lane.
  FilterAlong(across_.Data(), target.Data(), static_cast<size_t>(height), static_cast<size_t>(width),
              static_cast<size_t>(width));
}

}  // namespace lumatrim::quality
