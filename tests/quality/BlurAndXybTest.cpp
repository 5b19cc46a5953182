#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/quality/RecursiveGaussian.h"
#include "core/quality/XybPlanes.h"

namespace lumatrim::quality {
namespace {

Plane Filled(int width, int height, float value) {
  Plane plane(width, height);
  for (size_t i = 0; i < plane.Count(); ++i) plane.Data()[i] = value;
  return plane;
}

TEST(RecursiveGaussian, BlursLikeAGaussianOfSigmaOneAndAHalf) {
  RecursiveGaussian blur(1.5);
  // sizes around the strip height and below the filter's radius
  for (const auto& [width, height] : {std::pair{41, 41}, std::pair{23, 9}, std::pair{5, 3}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    Plane impulse = Filled(width, height, 0.0f), blurred;
    const int cx = width / 2, cy = height / 2;
    impulse.Row(cy)[cx] = 1.0f;
    blur.Blur(impulse, blurred);
    if (width > 20 && height > 20) {
      for (int d = 0; d <= 4; ++d) {
        const double gauss = std::exp(-d * d / (2 * 1.5 * 1.5)) / (2 * std::numbers::pi * 1.5 * 1.5);
        EXPECT_NEAR(blurred.Row(cy)[cx + d], gauss, 0.004) << "distance " << d;
        EXPECT_NEAR(blurred.Row(cy)[cx - d], blurred.Row(cy)[cx + d], 1e-7);
        EXPECT_NEAR(blurred.Row(cy + d)[cx], blurred.Row(cy)[cx + d], 1e-7);
      }
    }
    // out of the picture counts as zero: a flat plane darkens at its edges only
    const Plane flat = Filled(width, height, 1.0f);
    blur.Blur(flat, blurred);
    EXPECT_LT(blurred.Row(0)[0], 0.5f);
    if (width > 20 && height > 20) {
      EXPECT_NEAR(blurred.Row(cy)[cx], 1.0f, 1e-3);
    }
  }
}

TEST(PositiveXyb, PutsGreyOnTheNeutralAxisAndColoursOffIt) {
  struct Case {
    uint8_t Rgb[3];
    float X, Y, B;  // expected, or NAN where only the side of neutral is checked
    int XSide, BSide;
  };
  const Case cases[] = {
      {{0, 0, 0},       0.42f, 0.01f,   0.55f, 0, 0},
      {{255, 255, 255}, 0.42f, 0.8553f, 0.55f, 0, 0},
      {{128, 128, 128}, 0.42f, NAN,     0.55f, 0, 0},
      {{255, 0, 0},     NAN,   NAN,     NAN,   +1, -1},
      {{0, 255, 0},     NAN,   NAN,     NAN,   -1, -1},
      {{0, 0, 255},     0.42f, NAN,     NAN,   0,  +1},  // L and M take the same share of blue
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Rgb[0]) + "," + std::to_string(c.Rgb[1]) + "," + std::to_string(c.Rgb[2]));
    Planes3 linear, xyb;
    ToLinear(RgbRows{c.Rgb, 1, 1, 3}, linear);
    ToPositiveXyb(linear, xyb);
    const float x = xyb[0].Data()[0], y = xyb[1].Data()[0], b = xyb[2].Data()[0];
    const float expected[3] = {c.X, c.Y, c.B}, actual[3] = {x, y, b};
    for (int i = 0; i < 3; ++i) {
      if (!std::isnan(expected[i])) {
        EXPECT_NEAR(actual[i], expected[i], 1e-4) << "channel " << i;
      }
    }
    EXPECT_EQ(c.XSide, std::abs(x - 0.42f) < 1e-4f ? 0 : x > 0.42f ? 1 : -1);
    EXPECT_EQ(c.BSide, std::abs(b - 0.55f) < 1e-4f ? 0 : b > 0.55f ? 1 : -1);
  }
}

}  // namespace
}  // namespace lumatrim::quality
