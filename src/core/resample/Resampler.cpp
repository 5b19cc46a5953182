#include "core/resample/Resampler.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/bytes/Error.h"

namespace lumatrim::resample {
namespace {

// Output quantisation of 0..1: fine enough that the darkest sRGB steps
// (about 0.0003 apart in linear light) stay distinct.
constexpr int kOutSteps = 1 << 14;

double SrgbToLinear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double LinearToSrgb(double v) { return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055; }

struct Tables {
  std::array<float, 256> toFloat;
  std::array<uint8_t, kOutSteps> fromFloat;
};

Tables MakeTables(Light light) {
  Tables t;
  for (int i = 0; i < 256; ++i) {
    t.toFloat[i] = static_cast<float>(light == Light::Linear ? SrgbToLinear(i / 255.0) : i / 255.0);
  }
  for (int i = 0; i < kOutSteps; ++i) {
    const double v = static_cast<double>(i) / (kOutSteps - 1);
    t.fromFloat[i] = static_cast<uint8_t>(std::lround(255.0 * (light == Light::Linear ? LinearToSrgb(v) : v)));
  }
  return t;
}

const Tables& TablesFor(Light light) {
  static const Tables linear = MakeTables(Light::Linear);
  static const Tables gamma = MakeTables(Light::Gamma);
  return light == Light::Linear ? linear : gamma;
}

}  // namespace

Resampler::Resampler(int sourceWidth, int sourceHeight, Bitmap& target, Light light)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), target_(target) {
  if (target.Empty() || sourceWidth < 1 || sourceHeight < 1) {
    throw LumatrimError("cannot resample a " + std::to_string(sourceWidth) + " x " + std::to_string(sourceHeight) +
                        " picture to " + std::to_string(target.Width) + " x " + std::to_string(target.Height));
  }
  const Tables& tables = TablesFor(light);
  toFloat_ = tables.toFloat.data();
  fromFloat_ = tables.fromFloat.data();
  across_ = LanczosWeights(sourceWidth, target.Width);
  down_ = LanczosWeights(sourceHeight, target.Height);
  // Four partial sums per output pixel keep the adder's latency from
  // serialising the taps; the padding taps have weight 0 and read zeros.
  acrossTaps_ = (across_.Taps + 3) / 4 * 4;
  acrossWeights_.assign(static_cast<size_t>(target.Width) * acrossTaps_, 0.0f);
  for (int x = 0; x < target.Width; ++x) {
    std::copy_n(&across_.Weights[static_cast<size_t>(x) * across_.Taps], across_.Taps,
                &acrossWeights_[static_cast<size_t>(x) * acrossTaps_]);
  }
  ringRows_ = down_.Taps;
  line_.assign(static_cast<size_t>(sourceWidth + acrossTaps_ - across_.Taps), Float4{0, 0, 0, 0});
  ring_.resize(static_cast<size_t>(ringRows_) * target.Width);
  sum_.resize(static_cast<size_t>(target.Width));
}

void Resampler::PushRow(const uint8_t* rgb) {
  if (Done()) throw LumatrimError("more source rows than the picture has");
  for (int x = 0; x < sourceWidth_; ++x) {
    const uint8_t* px = rgb + 3 * static_cast<size_t>(x);
    line_[x] = Float4{toFloat_[px[0]], toFloat_[px[1]], toFloat_[px[2]], 0.0f};
  }
  Float4* out = RingRow(nextSource_);
  const int taps = acrossTaps_;
  const float* weights = acrossWeights_.data();
  for (int x = 0; x < target_.Width; ++x, weights += taps) {
    const Float4* in = line_.data() + across_.First[x];
    Float4 a0 = {0, 0, 0, 0}, a1 = a0, a2 = a0, a3 = a0;
    for (int k = 0; k < taps; k += 4) {
      a0 += weights[k] * in[k];
      a1 += weights[k + 1] * in[k + 1];
      a2 += weights[k + 2] * in[k + 2];
      a3 += weights[k + 3] * in[k + 3];
    }
    out[x] = (a0 + a1) + (a2 + a3);
  }
  ++nextSource_;
  while (nextTarget_ < target_.Height && down_.First[nextTarget_] + down_.Taps <= nextSource_) {
    EmitRow(nextTarget_++);
  }
}

void Resampler::EmitRow(int y) {
  const int width = target_.Width;
  const int first = down_.First[y];
  const float* weights = down_.Weights.data() + static_cast<size_t>(y) * down_.Taps;
  std::fill(sum_.begin(), sum_.end(), Float4{0, 0, 0, 0});
  // Four source rows per pass over the sum, so it is loaded and stored a
  // quarter as often.
  int k = 0;
  for (; k + 4 <= down_.Taps; k += 4) {
    const float w0 = weights[k], w1 = weights[k + 1], w2 = weights[k + 2], w3 = weights[k + 3];
    const Float4 *r0 = RingRow(first + k), *r1 = RingRow(first + k + 1), *r2 = RingRow(first + k + 2),
                 *r3 = RingRow(first + k + 3);
    for (int x = 0; x < width; ++x) sum_[x] += (w0 * r0[x] + w1 * r1[x]) + (w2 * r2[x] + w3 * r3[x]);
  }
  for (; k < down_.Taps; ++k) {
    const float w = weights[k];
    const Float4* in = RingRow(first + k);
    for (int x = 0; x < width; ++x) sum_[x] += w * in[x];
  }
  // Lanczos rings a little past black and white; clamp before the table.
  constexpr float kTop = kOutSteps - 1;
  uint8_t* out = target_.Row(y);
  for (int x = 0; x < width; ++x) {
    const Float4 v = sum_[x] * kTop + 0.5f;
    for (int c = 0; c < 3; ++c) out[3 * x + c] = fromFloat_[static_cast<int>(std::clamp(v[c], 0.0f, kTop))];
  }
}

Bitmap Resample(const Bitmap& source, int width, int height, Light light) {
  Bitmap target(width, height);
  Resampler resampler(source.Width, source.Height, target, light);
  for (int y = 0; y < source.Height; ++y) resampler.PushRow(source.Row(y));
  return target;
}

}  // namespace lumatrim::resample
