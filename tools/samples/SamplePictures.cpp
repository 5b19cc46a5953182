#include "samples/SamplePictures.h"

#include <algorithm>
#include <cmath>

namespace samples {
namespace {

uint8_t Mix(uint8_t a, uint8_t b, double t) { return static_cast<uint8_t>(std::lround(a + (b - a) * t)); }

Rgb Mix(Rgb a, Rgb b, double t) { return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)}; }

Rgb Shade(Rgb c, int delta) {
  const auto one = [delta](uint8_t v) { return static_cast<uint8_t>(std::clamp(v + delta, 0, 255)); };
  return {one(c.r), one(c.g), one(c.b)};
}

// A small deterministic generator, so the same samples come out every time.
struct Noise {
  uint32_t state;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Around(int spread) { return static_cast<int>(Next() % static_cast<uint32_t>(2 * spread + 1)) - spread; }
};

void Put(lumatrim::Bitmap& bmp, int x, int y, Rgb c) {
  uint8_t* p = bmp.Row(y) + 3 * x;
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

}  // namespace

lumatrim::Bitmap DrawScene(const Scene& s) {
  lumatrim::Bitmap bmp(s.width, s.height);
  Noise noise{s.seed * 2654435761u + 1};
  const double w = s.width, h = s.height;
  const double horizon = s.horizon * h;
  const double sunX = s.sunX * w, sunY = s.sunY * h, sunR = s.sunRadius * std::min(w, h);

  // Sky with a glow around the sun, hills with a little texture.
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const double hill = horizon - s.hillHeight * h * (0.5 + 0.5 * std::sin(x / w * 6.3 + s.seed) * std::cos(x / w * 2.1));
      Rgb c;
      if (y < hill) {
        c = Mix(s.skyTop, s.skyBottom, y / std::max(1.0, hill));
        const double d = std::hypot(x - sunX, y - sunY);
        if (d < sunR) c = s.sun;
        else if (d < 3 * sunR) c = Mix(s.sun, c, (d - sunR) / (2 * sunR));
      } else {
        c = Shade(Mix(s.ground, Shade(s.ground, -60), (y - hill) / std::max(1.0, h - hill)), noise.Around(6));
      }
      Put(bmp, x, y, c);
    }
  }

  // A lake in the lower third, mirroring the sky colour.
  if (s.lakeShown) {
    const double cx = w * 0.45, cy = h * 0.82, rx = w * 0.3, ry = h * 0.09;
    for (int y = std::max(0, int(cy - ry)); y < std::min(s.height, int(cy + ry) + 1); ++y) {
      for (int x = std::max(0, int(cx - rx)); x < std::min(s.width, int(cx + rx) + 1); ++x) {
        const double e = std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2);
        if (e <= 1) Put(bmp, x, y, Shade(Mix(s.lake, s.skyBottom, 0.3 * (1 - e)), noise.Around(3)));
      }
    }
  }

  // Houses standing on the horizon: walls, a roof, lit windows.
  for (int i = 0; i < s.houses; ++i) {
    const int houseW = static_cast<int>(w * (0.06 + (noise.Next() % 40) / 1000.0));
    const int houseH = static_cast<int>(h * (0.08 + (noise.Next() % 60) / 1000.0));
    const int left = static_cast<int>(w * (0.05 + 0.9 * i / std::max(1, s.houses))) + static_cast<int>(noise.Next() % 20);
    const int base = static_cast<int>(horizon + h * 0.05);
    const Rgb wall = Shade(Rgb{200, 170, 140}, noise.Around(40));
    const Rgb roof = Shade(Rgb{150, 50, 40}, noise.Around(30));
    for (int y = std::max(0, base - houseH); y < std::min(s.height, base); ++y) {
      for (int x = std::max(0, left); x < std::min(s.width, left + houseW); ++x) {
        const bool window = ((x - left) * 6 / std::max(1, houseW)) % 2 == 1 && ((base - y) * 5 / std::max(1, houseH)) % 2 == 1;
        Put(bmp, x, y, window ? Rgb{250, 230, 120} : wall);
      }
    }
    for (int k = 0; k < houseW / 2; ++k) {
      const int y = base - houseH - k;
      if (y < 0 || y >= s.height) continue;
      for (int x = std::max(0, left + k); x < std::min(s.width, left + houseW - k); ++x) Put(bmp, x, y, roof);
    }
  }
  return bmp;
}

}  // namespace samples
