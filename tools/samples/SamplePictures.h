#pragma once
#include <cstdint>

#include "core/jpeg/Bitmap.h"

// Photo-like pictures for the sample set: a sky gradient, a sun or moon,
// rolling hills, a row of houses and a lake, all from a few parameters.
namespace samples {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

struct Scene {
  int width = 800, height = 600;
  Rgb skyTop, skyBottom, ground, sun, lake;
  double sunX = 0.7, sunY = 0.25, sunRadius = 0.07;  // fractions of the width/height
  double hillHeight = 0.18, horizon = 0.6;          // fractions of the height
  int houses = 4;
  bool lakeShown = false;
  uint32_t seed = 1;                                 // texture noise and house sizes
};

lumatrim::Bitmap DrawScene(const Scene& scene);

}  // namespace samples
