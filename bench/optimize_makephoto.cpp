// Draws a photo-like test picture and writes it as a camera would (baseline,
// high quality), plus a 160 x 120 thumbnail for its EXIF block.
//   optimize_makephoto OUT.jpg THUMB.jpg WIDTH HEIGHT SEED [QUALITY]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "core/jpeg/JpegImage.h"

namespace {

// Smooth sky-like gradients, a few soft "objects", fine texture and sensor
// noise: enough detail that a 12 MP picture codes to several megabytes.
lumatrim::Bitmap Draw(int w, int h, unsigned seed) {
  lumatrim::Bitmap b(w, h);
  unsigned state = seed * 2654435761u + 1u;
  const double cx = w * (0.3 + 0.05 * (seed % 5)), cy = h * 0.55;
  // The texture 18 sin(0.37 x + 3 sin(0.05 y)) cos(0.29 y + 7 x / w), expanded
  // into per-column and per-row factors so drawing 24 MP takes a moment only.
  std::vector<double> sx(w), cx37(w), s7(w), c7(w);
  for (int x = 0; x < w; ++x) {
    sx[x] = std::sin(x * 0.37);
    cx37[x] = std::cos(x * 0.37);
    s7[x] = std::sin(7.0 * x / w);
    c7[x] = std::cos(7.0 * x / w);
  }
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.Row(y);
    const double fy = static_cast<double>(y) / h;
    const double phase = 3 * std::sin(y * 0.05), sp = std::sin(phase), cp = std::cos(phase);
    const double s29 = std::sin(y * 0.29), c29 = std::cos(y * 0.29);
    for (int x = 0; x < w; ++x) {
      const double fx = static_cast<double>(x) / w;
      state = state * 1103515245u + 12345u;
      const int noise = static_cast<int>((state >> 16) % 23) - 11;
      const double texture = 18 * (sx[x] * cp + cx37[x] * sp) * (c29 * c7[x] - s29 * s7[x]);
      const double dx = (x - cx) / h, dy = (y - cy) / h, d2 = dx * dx + dy * dy;
      const double blob = d2 < 0.0625 ? 60 * (0.25 - std::sqrt(d2)) * 4 : 0;
      const int r = static_cast<int>(90 + 120 * fx + texture + blob) + noise;
      const int g = static_cast<int>(140 - 60 * fy + texture * 0.8 + blob * 0.5) + noise;
      const int bl = static_cast<int>(200 - 150 * fy + texture * 0.6) + noise;
      row[3 * x] = static_cast<uint8_t>(r < 0 ? 0 : r > 255 ? 255 : r);
      row[3 * x + 1] = static_cast<uint8_t>(g < 0 ? 0 : g > 255 ? 255 : g);
      row[3 * x + 2] = static_cast<uint8_t>(bl < 0 ? 0 : bl > 255 ? 255 : bl);
    }
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 && argc != 7) {
    std::fputs("usage: optimize_makephoto OUT.jpg THUMB.jpg WIDTH HEIGHT SEED [QUALITY]\n", stderr);
    return 2;
  }
  try {
    lumatrim::JpegImage photo;
    photo.Assign(Draw(std::atoi(argv[3]), std::atoi(argv[4]), static_cast<unsigned>(std::atoi(argv[5]))));
    photo.Compress(argc == 7 ? std::atoi(argv[6]) : 95, false);
    photo.SaveToFile(argv[1]);
    lumatrim::JpegImage thumb;
    thumb.Assign(photo.DecodeResampled(160, 120));
    thumb.Compress(75, false);
    thumb.SaveToFile(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "optimize_makephoto: %s\n", e.what());
    return 1;
  }
  return 0;
}
