#include "core/quality/Ssimulacra2.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/bytes/Error.h"

namespace lumatrim::quality {
namespace {

constexpr int kScales = 6;
constexpr int kSmallestScaled = 8;  // a scale is made only from one at least this wide and high
constexpr float kVarianceFloor = 0.0009f;  // SSIM's C2: keeps flat areas from dividing by zero

// The six norms of one channel at one scale.
enum Norm { kSsimMean, kArtifactMean, kDetailLostMean, kSsimQuartic, kArtifactQuartic, kDetailLostQuartic, kNorms };

// The published weights of the 108 norms, one row per channel and scale
// (X at scales 1:1 .. 1:32, then Y, then B), in the order of Norm.
constexpr double kWeights[3 * kScales][kNorms] = {
    {0.0,                   0.0007376606707406586, 0.0,                0.0,                    0.0007793481682867309,  0.0},
    {0.0,                   0.0004371155730107379, 0.0,                1.1041726426657346,     0.00066284834129271,    0.00015231632783718752},
    {0.0,                   0.0016406437456599754, 0.0,                1.8422455520539298,     11.441172603757666,     0.0},
    {0.0007989109436015163, 0.000176816438078653,  0.0,                1.8787594979546387,     10.94906990605142,      0.0},
    {0.0007289346991508072, 0.9677937080626833,    0.0,                0.00014003424285435884, 0.9981766977854967,     0.00031949755934435053},
    {0.0004550992113792063, 0.0,                   0.0,                0.0013648766163243398,  0.0,                    0.0},
    {0.0,                   0.0,                   0.0,                7.466890328078848,      0.0,                    17.445833984131262},
    {0.0006235601634041466, 0.0,                   0.0,                6.683678146179332,      0.00037724407979611296, 1.027889937768264},
    {225.20515300849274,    0.0,                   0.0,                19.213238186143016,     0.0011401524586618361,  0.001237755635509985},
    {176.39317598450694,    0.0,                   0.0,                24.43300999870476,      0.28520802612117757,    0.0004485436923833408},
    {0.0,                   0.0,                   0.0,                34.77906344483772,      44.835625328877896,     0.0},
    {0.0,                   0.0,                   0.0,                0.0,                    0.0,                    0.0},
    {0.0,                   0.0008680556573291698, 0.0,                0.0,                    0.0,                    0.0},
    {0.0,                   0.0005313191874358747, 0.0,                0.00016533814161379112, 0.0,                    0.0},
    {0.0,                   0.0,                   0.0,                0.0004179171803251336,  0.0017290828234722833,  0.0},
    {0.0020827005846636437, 0.0,                   0.0,                8.826982764996862,      23.19243343998926,      0.0},
    {95.1080498811086,      0.9863978034400682,    0.9834382792465353, 0.0012286405048278493,  171.2667255897307,      0.9807858872435379},
    {0.0,                   0.0,                   0.0,                0.0005130064588990679,  0.0,                    0.00010854057858411537},
};

struct Sums {
  double Values[kNorms] = {};
};

// Adds one row's SSIM and edge-difference errors to sums. The row sums are
// floats so the loop vectorises; a row is short enough for float precision.
__attribute__((target_clones("avx2", "default")))
void AddRow(const float* __restrict image1, const float* __restrict mean1, const float* __restrict meanSquare1,
            const float* __restrict image2, const float* __restrict mean2, const float* __restrict meanSquare2,
            const float* __restrict meanProduct, int width, Sums& sums) {
  float ssim = 0, ssim4 = 0, artifact = 0, artifact4 = 0, lost = 0, lost4 = 0;
  for (int x = 0; x < width; ++x) {
    const float mu1 = mean1[x], mu2 = mean2[x];
    // SSIM without its luminance denominator: the values are already
    // perceptual, so dark errors need no extra weight.
    const float meanTerm = 1.0f - (mu1 - mu2) * (mu1 - mu2);
    const float covariance = 2.0f * (meanProduct[x] - mu1 * mu2) + kVarianceFloor;
    const float variances = (meanSquare1[x] - mu1 * mu1) + (meanSquare2[x] - mu2 * mu2) + kVarianceFloor;
    const float d = std::max(1.0f - meanTerm * covariance / variances, 0.0f);
    const float d2 = d * d;
    ssim += d;
    ssim4 += d2 * d2;
    // Above 0: edges the reference lacks (ringing, blocks, banding); below:
    // edges it has and the distorted picture lost (blur, smearing).
    const float edge = (1.0f + std::fabs(image2[x] - mu2)) / (1.0f + std::fabs(image1[x] - mu1)) - 1.0f;
    const float gained = std::max(edge, 0.0f), missing = std::max(-edge, 0.0f);
    const float gained2 = gained * gained, missing2 = missing * missing;
    artifact += gained;
    artifact4 += gained2 * gained2;
    lost += missing;
    lost4 += missing2 * missing2;
  }
  sums.Values[kSsimMean] += ssim;
  sums.Values[kSsimQuartic] += ssim4;
  sums.Values[kArtifactMean] += artifact;
  sums.Values[kArtifactQuartic] += artifact4;
  sums.Values[kDetailLostMean] += lost;
  sums.Values[kDetailLostQuartic] += lost4;
}

// Copies rather than swaps, so the half-size buffer never grows to full size.
void CopyPlanes(const Planes3& source, Planes3& target) {
  for (int c = 0; c < 3; ++c) {
    target[c].Resize(source[c].Width(), source[c].Height());
    std::copy_n(source[c].Data(), source[c].Count(), target[c].Data());
  }
}

void Square(const Plane& source, Plane& target) {
  target.Resize(source.Width(), source.Height());
  const float* in = source.Data();
  float* out = target.Data();
  for (size_t i = 0; i < source.Count(); ++i) out[i] = in[i] * in[i];
}

void Multiply(const Plane& a, const Plane& b, Plane& target) {
  target.Resize(a.Width(), a.Height());
  const float* inA = a.Data();
  const float* inB = b.Data();
  float* out = target.Data();
  for (size_t i = 0; i < a.Count(); ++i) out[i] = inA[i] * inB[i];
}

// The weighted norms mapped to the published 100-is-identical scale.
double FinalScore(const double norms[3 * kScales][kNorms], int scales) {
  double sum = 0.0;
  for (int channel = 0; channel < 3; ++channel)
    for (int scale = 0; scale < scales; ++scale) {
      const int row = channel * kScales + scale;
      for (int n = 0; n < kNorms; ++n) sum += kWeights[row][n] * std::fabs(norms[row][n]);
    }
  sum *= 0.9562382616834844;
  sum = 2.326765642916932 * sum - 0.020884521182843837 * sum * sum + 6.248496625763138e-05 * sum * sum * sum;
  return sum > 0.0 ? 100.0 - 10.0 * std::pow(sum, 0.6276336467831387) : 100.0;
}

void RequirePicture(const RgbRows& picture) {
  if (picture.Width < 0 || picture.Height < 0 || picture.Stride < 3 * static_cast<size_t>(picture.Width))
    throw LumatrimError("not a picture to compare: " + std::to_string(picture.Width) + "x" +
                        std::to_string(picture.Height) + ", rows " + std::to_string(picture.Stride) + " bytes apart");
}

void RequireSameSize(int width, int height, const RgbRows& distorted) {
  RequirePicture(distorted);
  if (distorted.Width != width || distorted.Height != height)
    throw LumatrimError("pictures of different sizes cannot be compared: " + std::to_string(width) + "x" +
                        std::to_string(height) + " and " + std::to_string(distorted.Width) + "x" +
                        std::to_string(distorted.Height));
}

}  // namespace

RgbRows RowsOf(const Bitmap& bitmap) {
  return RgbRows{bitmap.Bytes.data(), bitmap.Width, bitmap.Height, bitmap.Stride()};
}

Ssimulacra2Reference::Ssimulacra2Reference(const RgbRows& reference)
    : width_(reference.Width), height_(reference.Height) {
  RequirePicture(reference);
  Workspace& work = work_;
  ToLinear(reference, work.Linear);
  for (int scale = 0; scale < kScales; ++scale) {
    if (work.Linear[0].Width() < kSmallestScaled || work.Linear[0].Height() < kSmallestScaled) break;
    if (scale > 0) {
      HalveLinear(work.Linear, work.Half);
      CopyPlanes(work.Half, work.Linear);
    }
    Scale& made = scales_.emplace_back();
    ToPositiveXyb(work.Linear, made.Xyb);
    for (int c = 0; c < 3; ++c) {
      work.Blur.Blur(made.Xyb[c], made.Mean[c]);
      Square(made.Xyb[c], work.Product);
      work.Blur.Blur(work.Product, made.MeanSquare[c]);
    }
  }
}

double Ssimulacra2Reference::Score(const RgbRows& distorted) {
  RequireSameSize(width_, height_, distorted);
  Workspace& work = work_;
  ToLinear(distorted, work.Linear);
  double norms[3 * kScales][kNorms] = {};
  for (size_t scale = 0; scale < scales_.size(); ++scale) {
    if (scale > 0) {
      HalveLinear(work.Linear, work.Half);
      CopyPlanes(work.Half, work.Linear);
    }
    ToPositiveXyb(work.Linear, work.Xyb);
    const Scale& ref = scales_[scale];
    const int width = work.Xyb[0].Width(), height = work.Xyb[0].Height();
    for (int c = 0; c < 3; ++c) {
      const Plane& image = work.Xyb[c];
      work.Blur.Blur(image, work.Mean);
      Square(image, work.Product);
      work.Blur.Blur(work.Product, work.MeanSquare);
      Multiply(ref.Xyb[c], image, work.Product);
      work.Blur.Blur(work.Product, work.MeanProduct);
      Sums sums;
      for (int y = 0; y < height; ++y)
        AddRow(ref.Xyb[c].Row(y), ref.Mean[c].Row(y), ref.MeanSquare[c].Row(y), image.Row(y), work.Mean.Row(y),
               work.MeanSquare.Row(y), work.MeanProduct.Row(y), width, sums);
      const double perPixel = 1.0 / (static_cast<double>(width) * height);
      double* row = norms[c * kScales + scale];
      for (int n : {kSsimMean, kArtifactMean, kDetailLostMean}) row[n] = sums.Values[n] * perPixel;
      for (int n : {kSsimQuartic, kArtifactQuartic, kDetailLostQuartic}) row[n] = std::sqrt(std::sqrt(sums.Values[n] * perPixel));
    }
  }
  return FinalScore(norms, static_cast<int>(scales_.size()));
}

double Ssimulacra2(const RgbRows& reference, const RgbRows& distorted) {
  RequireSameSize(reference.Width, reference.Height, distorted);
  return Ssimulacra2Reference(reference).Score(distorted);
}

}  // namespace lumatrim::quality
