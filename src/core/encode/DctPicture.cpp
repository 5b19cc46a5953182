#include "core/encode/DctPicture.h"

#include <algorithm>
#include <cmath>

#include "core/bytes/Error.h"

namespace lumatrim::encode {
namespace {

// kCosine[u][x] = c(u) / 2 * cos((2x + 1) u pi / 16): the orthonormal 8-point
// DCT, which applied to rows and columns is exactly JPEG's.
struct CosineTable {
  float value[8][8];
  CosineTable() {
    for (int u = 0; u < 8; ++u) {
      const double scale = u == 0 ? std::sqrt(0.125) : 0.5;
      for (int x = 0; x < 8; ++x) value[u][x] = static_cast<float>(scale * std::cos((2 * x + 1) * u * M_PI / 16));
    }
  }
};
const CosineTable kCosine;

// in: 8 x 8 samples already shifted to -128..127; out: coefficients.
void ForwardDct(const float* in, float* out) {
  float rows[64];
  for (int y = 0; y < 8; ++y) {
    for (int u = 0; u < 8; ++u) {
      float sum = 0;
      for (int x = 0; x < 8; ++x) sum += kCosine.value[u][x] * in[y * 8 + x];
      rows[y * 8 + u] = sum;
    }
  }
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      float sum = 0;
      for (int y = 0; y < 8; ++y) sum += kCosine.value[v][y] * rows[y * 8 + u];
      out[v * 8 + u] = sum;
    }
  }
}

int Subsampling(ChromaSampling sampling, int component) {
  return component > 0 && sampling == ChromaSampling::Quarter ? 2 : 1;
}

// One component's samples for one row of blocks, padded to whole blocks.
struct Stripe {
  int width = 0;  // samples per row, a multiple of 8
  std::vector<float> samples;
  float* Row(int y) { return samples.data() + static_cast<size_t>(y) * width; }
};

void TransformStripe(Stripe& stripe, ComponentBlocks& blocks, int blockRow, int rowsOfBlocks) {
  float block[64];
  for (int r = 0; r < rowsOfBlocks && blockRow + r < blocks.HeightInBlocks; ++r) {
    for (int bx = 0; bx < blocks.WidthInBlocks; ++bx) {
      for (int y = 0; y < 8; ++y) std::copy_n(stripe.Row(r * 8 + y) + bx * 8, 8, block + y * 8);
      ForwardDct(block, blocks.Block(bx, blockRow + r));
    }
  }
}

}  // namespace

int ComponentWidthInBlocks(int width, ChromaSampling sampling, int component) {
  const int ownWidth = (width + Subsampling(sampling, component) - 1) / Subsampling(sampling, component);
  return (ownWidth + 7) / 8;
}

int ComponentHeightInBlocks(int height, ChromaSampling sampling, int component) {
  return ComponentWidthInBlocks(height, sampling, component);
}

DctPicture TransformPicture(const Bitmap& picture, ChromaSampling sampling) {
  if (picture.Empty()) throw LumatrimError("no picture to encode");
  DctPicture result;
  result.Width = picture.Width;
  result.Height = picture.Height;
  result.Sampling = sampling;
  for (int c = 0; c < 3; ++c) {
    ComponentBlocks& blocks = result.Components[c];
    blocks.WidthInBlocks = ComponentWidthInBlocks(picture.Width, sampling, c);
    blocks.HeightInBlocks = ComponentHeightInBlocks(picture.Height, sampling, c);
    blocks.Coefficients.assign(static_cast<size_t>(blocks.WidthInBlocks) * blocks.HeightInBlocks * 64, 0.0f);
  }
  // A stripe is one row of MCUs: 8 or 16 pixel rows.
  const int mcuRows = sampling == ChromaSampling::Quarter ? 16 : 8;
  const int paddedWidth = result.Components[0].WidthInBlocks * 8 + 16;
  std::array<Stripe, 3> full;  // Y, Cb, Cr at full resolution
  for (Stripe& s : full) {
    s.width = paddedWidth;
    s.samples.assign(static_cast<size_t>(paddedWidth) * mcuRows, 0.0f);
  }
  Stripe chroma[2];
  for (int c = 0; c < 2; ++c) {
    chroma[c].width = result.Components[1].WidthInBlocks * 8;
    chroma[c].samples.assign(static_cast<size_t>(chroma[c].width) * 8, 0.0f);
  }
  for (int top = 0; top < picture.Height; top += mcuRows) {
    for (int y = 0; y < mcuRows; ++y) {
      const uint8_t* rgb = picture.Row(std::min(top + y, picture.Height - 1));
      float* luma = full[0].Row(y);
      float* blue = full[1].Row(y);
      float* red = full[2].Row(y);
      for (int x = 0; x < paddedWidth; ++x) {
        const uint8_t* p = rgb + 3 * std::min(x, picture.Width - 1);
        const float r = p[0], g = p[1], b = p[2];
        luma[x] = 0.299f * r + 0.587f * g + 0.114f * b - 128.0f;
        blue[x] = -0.168735892f * r - 0.331264108f * g + 0.5f * b;
        red[x] = 0.5f * r - 0.418687589f * g - 0.081312411f * b;
      }
    }
    const int blockRow = top / 8;
    TransformStripe(full[0], result.Components[0], blockRow, mcuRows / 8);
    if (sampling == ChromaSampling::Full) {
      TransformStripe(full[1], result.Components[1], blockRow, 1);
      TransformStripe(full[2], result.Components[2], blockRow, 1);
      continue;
    }
    // The 2 x 2 average; the stripe already repeats the picture's last
    // pixel, so a half pair at the edge averages that pixel with itself.
    for (int c = 0; c < 2; ++c) {
      for (int y = 0; y < 8; ++y) {
        const float* upper = full[c + 1].Row(2 * y);
        const float* lower = full[c + 1].Row(2 * y + 1);
        float* out = chroma[c].Row(y);
        for (int x = 0; x < chroma[c].width; ++x) {
          out[x] = 0.25f * (upper[2 * x] + upper[2 * x + 1] + lower[2 * x] + lower[2 * x + 1]);
        }
      }
      TransformStripe(chroma[c], result.Components[c + 1], top / 16, 1);
    }
  }
  return result;
}

}  // namespace lumatrim::encode
