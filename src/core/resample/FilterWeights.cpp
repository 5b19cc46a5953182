#include "core/resample/FilterWeights.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/bytes/Error.h"

namespace lumatrim::resample {

namespace {
constexpr double kLobes = 3.0;
}  // namespace

double Lanczos3(double x) {
  x = std::fabs(x);
  if (x >= kLobes) return 0.0;
  if (x < 1e-9) return 1.0;
  const double px = std::numbers::pi * x;
  return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

AxisWeights LanczosWeights(int sourceSize, int targetSize) {
  if (sourceSize < 1 || targetSize < 1) {
    throw LumatrimError("cannot resample " + std::to_string(sourceSize) + " px to " + std::to_string(targetSize) +
                        " px");
  }
  const double scale = static_cast<double>(sourceSize) / targetSize;
  const double stretch = std::max(scale, 1.0);  // never narrower than the kernel itself
  const double support = kLobes * stretch;

  struct Window {
    int begin, end;
    double centre;
  };
  std::vector<Window> windows(static_cast<size_t>(targetSize));
  int taps = 1;
  for (int i = 0; i < targetSize; ++i) {
    const double centre = (i + 0.5) * scale;  // in source pixel edges
    const int begin = std::max(0, static_cast<int>(std::floor(centre - support + 0.5)));
    const int end = std::min(sourceSize, static_cast<int>(std::floor(centre + support + 0.5)));
    windows[i] = {begin, std::max(end, begin + 1), centre};
    taps = std::max(taps, windows[i].end - windows[i].begin);
  }
  taps = std::min(taps, sourceSize);

  AxisWeights axis;
  axis.Taps = taps;
  axis.First.resize(static_cast<size_t>(targetSize));
  axis.Weights.assign(static_cast<size_t>(targetSize) * taps, 0.0f);
  std::vector<double> w(static_cast<size_t>(taps));
  for (int i = 0; i < targetSize; ++i) {
    const auto [begin, end, centre] = windows[i];
    // Shift the window left where it meets the far edge, so First + Taps
    // stays inside the picture; the extra taps get weight 0.
    const int first = std::min(begin, sourceSize - taps);
    double sum = 0.0;
    for (int k = 0; k < taps; ++k) {
      const int source = first + k;
      w[k] = source >= begin && source < end ? Lanczos3((source + 0.5 - centre) / stretch) : 0.0;
      sum += w[k];
    }
    if (std::fabs(sum) < 1e-12) {  // cannot happen for a window with its centre inside; stay safe
      w.assign(w.size(), 0.0);
      w[std::clamp(static_cast<int>(centre) - first, 0, taps - 1)] = 1.0;
      sum = 1.0;
    }
    axis.First[i] = first;
    for (int k = 0; k < taps; ++k) axis.Weights[static_cast<size_t>(i) * taps + k] = static_cast<float>(w[k] / sum);
  }
  return axis;
}

}  // namespace lumatrim::resample
