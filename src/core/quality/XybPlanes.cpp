#include "core/quality/XybPlanes.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace lumatrim::quality {
namespace {

// The eye's cone responses (L, M, S) as mixes of linear sRGB, and the bias
// that keeps the cube root off its steep start near black.
constexpr float kOpsinMix[3][3] = {
    {0.30f, 0.622f, 0.078f},
    {0.23f, 0.692f, 0.078f},
    {0.24342268924547819f, 0.20476744424496821f, 0.55180986650955760f},
};
constexpr float kOpsinBias = 0.0037930732552754493f;

struct LinearTable {
  float Values[256];
  LinearTable() {
    for (int code = 0; code < 256; ++code) {
      const double v = code / 255.0;
      Values[code] = static_cast<float>(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
  }
};

// std::cbrt does not vectorise; the bit trick gets within a few percent and
// three Newton steps reach float precision. x is always >= kOpsinBias.
inline float CubeRoot(float x) {
  float y = std::bit_cast<float>(std::bit_cast<int32_t>(x) / 3 + 709921077);  // signed: SSE2 divides it by 3
  for (int step = 0; step < 3; ++step) y = (2.0f * y + x / (y * y)) * (1.0f / 3.0f);
  return y;
}

__attribute__((target_clones("avx2", "default")))
void PositiveXybPixels(const float* __restrict r, const float* __restrict g, const float* __restrict b,
                       float* __restrict outX, float* __restrict outY, float* __restrict outB, size_t count) {
  const float biasRoot = std::cbrt(kOpsinBias);
  for (size_t i = 0; i < count; ++i) {
    const float l = CubeRoot(kOpsinMix[0][0] * r[i] + kOpsinMix[0][1] * g[i] + kOpsinMix[0][2] * b[i] + kOpsinBias) - biasRoot;
    const float m = CubeRoot(kOpsinMix[1][0] * r[i] + kOpsinMix[1][1] * g[i] + kOpsinMix[1][2] * b[i] + kOpsinBias) - biasRoot;
    const float s = CubeRoot(kOpsinMix[2][0] * r[i] + kOpsinMix[2][1] * g[i] + kOpsinMix[2][2] * b[i] + kOpsinBias) - biasRoot;
    const float x = 0.5f * (l - m);
    const float y = 0.5f * (l + m);
    outX[i] = x * 14.0f + 0.42f;
    outY[i] = y + 0.01f;
    outB[i] = s - y + 0.55f;
  }
}

}  // namespace

void ToLinear(const RgbRows& picture, Planes3& linear) {
  static const LinearTable table;
  for (Plane& plane : linear) plane.Resize(picture.Width, picture.Height);
  for (int y = 0; y < picture.Height; ++y) {
    const uint8_t* rgb = picture.Pixels + static_cast<size_t>(y) * picture.Stride;
    float* r = linear[0].Row(y);
    float* g = linear[1].Row(y);
    float* b = linear[2].Row(y);
    for (int x = 0; x < picture.Width; ++x) {
      r[x] = table.Values[rgb[3 * x]];
      g[x] = table.Values[rgb[3 * x + 1]];
      b[x] = table.Values[rgb[3 * x + 2]];
    }
  }
}

void HalveLinear(const Planes3& linear, Planes3& half) {
  const int width = linear[0].Width(), height = linear[0].Height();
  const int halfWidth = (width + 1) / 2, halfHeight = (height + 1) / 2;
  for (int c = 0; c < 3; ++c) {
    half[c].Resize(halfWidth, halfHeight);
    for (int y = 0; y < halfHeight; ++y) {
      const float* upper = linear[c].Row(2 * y);
      const float* lower = linear[c].Row(std::min(2 * y + 1, height - 1));
      float* out = half[c].Row(y);
      for (int x = 0; x < halfWidth; ++x) {
        const int left = 2 * x, right = std::min(2 * x + 1, width - 1);
        out[x] = (upper[left] + upper[right] + lower[left] + lower[right]) * 0.25f;
      }
    }
  }
}

void ToPositiveXyb(const Planes3& linear, Planes3& xyb) {
  for (Plane& plane : xyb) plane.Resize(linear[0].Width(), linear[0].Height());
  PositiveXybPixels(linear[0].Data(), linear[1].Data(), linear[2].Data(), xyb[0].Data(),
                    xyb[1].Data(), xyb[2].Data(), linear[0].Count());
}

}  // namespace lumatrim::quality
