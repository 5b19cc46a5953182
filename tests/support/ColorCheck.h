#pragma once
// Colour checks against ImageMagick, the colour-managed reference: pictures
// read through `convert`, and the mean CIE76 colour difference of two
// pictures after both are reduced to blocks (so filters do not count).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/color/ProfileMaker.h"
#include "support/ExiftoolCheck.h"
#include "support/JpegBuilder.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {

constexpr color::Primaries kDisplayP3{0.680, 0.320, 0.265, 0.690, 0.150, 0.060, 0.3127, 0.3290};
constexpr color::Primaries kAdobeRgb{0.640, 0.330, 0.210, 0.710, 0.150, 0.060, 0.3127, 0.3290};

inline bool ConvertInstalled() { return !RunCommand("convert -version 2>/dev/null").empty(); }

// `convert input args` as 8-bit RGB; empty when ImageMagick fails.
inline Bitmap ConvertedPixels(const std::string& input, const std::string& args = "") {
  const std::string ppm = RunCommand("convert " + QuotedForShell(input) + " " + args + " -depth 8 -type TrueColor ppm:- 2>/dev/null");
  int width = 0, height = 0, maxValue = 0, used = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &used) != 3 || maxValue != 255) return {};
  Bitmap out(width, height);
  const size_t start = static_cast<size_t>(used) + 1;
  if (ppm.size() < start + out.Bytes.size()) return {};
  std::copy(ppm.begin() + static_cast<long>(start), ppm.begin() + static_cast<long>(start + out.Bytes.size()), out.Bytes.begin());
  return out;
}

inline std::string WritePpm(const std::string& path, const Bitmap& picture) {
  const std::string header = "P6\n" + std::to_string(picture.Width) + " " + std::to_string(picture.Height) + "\n255\n";
  return WriteFile(path, header + std::string(picture.Bytes.begin(), picture.Bytes.end()));
}

inline void SrgbToLab(const uint8_t* rgb, double lab[3]) {
  double linear[3];
  for (int c = 0; c < 3; ++c) {
    const double v = rgb[c] / 255.0;
    linear[c] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  }
  const double xyz[3] = {(0.4124 * linear[0] + 0.3576 * linear[1] + 0.1805 * linear[2]) / 0.95047,
                         0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2],
                         (0.0193 * linear[0] + 0.1192 * linear[1] + 0.9505 * linear[2]) / 1.08883};
  double f[3];
  for (int c = 0; c < 3; ++c) f[c] = xyz[c] > 0.008856 ? std::cbrt(xyz[c]) : 7.787 * xyz[c] + 16.0 / 116;
  lab[0] = 116 * f[1] - 16;
  lab[1] = 500 * (f[0] - f[1]);
  lab[2] = 200 * (f[1] - f[2]);
}

// Mean ΔE (CIE76) of the two pictures reduced to blocks x blocks areas (sizes
// that blocks divides compare area for area); infinite when either is empty.
inline double MeanDeltaE(const Bitmap& a, const Bitmap& b, int blocks = 40) {
  if (a.Empty() || b.Empty()) return INFINITY;
  const int w = std::min({a.Width, b.Width, blocks}), h = std::min({a.Height, b.Height, blocks});
  const Bitmap ra = AreaAverage(a, w, h), rb = AreaAverage(b, w, h);
  double sum = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double la[3], lb[3];
      SrgbToLab(ra.Row(y) + 3 * x, la);
      SrgbToLab(rb.Row(y) + 3 * x, lb);
      sum += std::sqrt((la[0] - lb[0]) * (la[0] - lb[0]) + (la[1] - lb[1]) * (la[1] - lb[1]) + (la[2] - lb[2]) * (la[2] - lb[2]));
    }
  }
  return sum / (w * h);
}

// Saturated patches and a grey ramp: colours that a missed conversion moves far.
inline Bitmap ColourPatches(int width = 96, int height = 64) {
  constexpr uint8_t kPatches[][3] = {{240, 20, 20}, {20, 230, 40}, {30, 40, 235}, {250, 220, 10}, {10, 200, 220}, {200, 30, 210}};
  Bitmap out(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = out.Row(y) + 3 * x;
      if (y < height / 2) {
        const uint8_t* patch = kPatches[(y < height / 4 ? 0 : 3) + std::min(2, x * 3 / width)];
        std::copy(patch, patch + 3, p);
      } else {
        p[0] = p[1] = p[2] = static_cast<uint8_t>(x * 255 / (width - 1));
      }
    }
  }
  return out;
}

}  // namespace lumatrim::test
