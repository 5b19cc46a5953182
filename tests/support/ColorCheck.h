#pragma once
// Colour checks against ImageMagick, the colour-managed reference: a picture
// converted by `convert`, and the mean CIE76 difference of two pictures
// reduced to blocks (so filters do not count).
#include <algorithm>
#include <cmath>
#include <string>

#include "core/color/ProfileMaker.h"
#include "support/ExiftoolCheck.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {

constexpr color::Primaries kDisplayP3{0.680, 0.320, 0.265, 0.690, 0.150, 0.060, 0.3127, 0.3290};
constexpr color::Primaries kAdobeRgb{0.640, 0.330, 0.210, 0.710, 0.150, 0.060, 0.3127, 0.3290};

inline bool ConvertInstalled() { return !RunCommand("convert -version 2>/dev/null").empty(); }

// `convert input args` decoded (written losslessly enough: JPEG at quality 100, 4:4:4).
inline Bitmap ConvertedPixels(const std::string& input, const std::string& args) {
  const std::string out = input + ".reference.jpg";
  RunCommand("convert " + QuotedForShell(input) + " " + args + " -quality 100 -sampling-factor 1x1 -strip " +
             QuotedForShell(out) + " 2>/dev/null");
  try {
    return DecodedFile(out);
  } catch (const std::exception&) {
    return {};
  }
}

inline void SrgbToLab(const uint8_t* rgb, double lab[3]) {
  double v[3];
  for (int c = 0; c < 3; ++c) v[c] = rgb[c] <= 10 ? rgb[c] / 255.0 / 12.92 : std::pow((rgb[c] / 255.0 + 0.055) / 1.055, 2.4);
  const double xyz[3] = {(0.4124 * v[0] + 0.3576 * v[1] + 0.1805 * v[2]) / 0.95047, 0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2],
                         (0.0193 * v[0] + 0.1192 * v[1] + 0.9505 * v[2]) / 1.08883};
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
  double sum = 0, la[3], lb[3];
  for (size_t i = 0; i < ra.Bytes.size(); i += 3) {
    SrgbToLab(&ra.Bytes[i], la);
    SrgbToLab(&rb.Bytes[i], lb);
    sum += std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
  }
  return sum / (w * h);
}

// Saturated patches over a grey ramp: colours a missed conversion moves far.
inline Bitmap ColourPatches(int width = 96, int height = 64) {
  constexpr uint8_t kPatches[][3] = {{240, 20, 20}, {20, 230, 40}, {30, 40, 235}, {250, 220, 10}, {10, 200, 220}, {200, 30, 210}};
  Bitmap out(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t grey = static_cast<uint8_t>(x * 255 / (width - 1)), ramp[3] = {grey, grey, grey};
      const uint8_t* colour = y < height / 2 ? kPatches[(y < height / 4 ? 0 : 3) + std::min(2, x * 3 / width)] : ramp;
      std::copy(colour, colour + 3, out.Row(y) + 3 * x);
    }
  }
  return out;
}

}  // namespace lumatrim::test
