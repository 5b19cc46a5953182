// Our encoder's streams as any decoder sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "../jpeg/JpegTestKit.h"
#include "core/encode/PhotoEncoder.h"
#include "core/encode/ScanScripts.h"
#include "core/encode/TrellisQuantiser.h"

namespace lumatrim::encode {
namespace {

Bitmap Decoded(const std::string& stream) {
  JpegImage image;
  image.LoadFromBytes(stream);
  return image.Decode();
}

double MeanAbsoluteError(const Bitmap& a, const Bitmap& b) {
  double sum = 0;
  for (size_t i = 0; i < a.Bytes.size(); ++i) sum += std::abs(int{a.Bytes[i]} - int{b.Bytes[i]});
  return sum / static_cast<double>(a.Bytes.size());
}

// Odd sizes (partial blocks and MCUs at both edges), both samplings and the
// ends of the quality range: libjpeg decodes each at its size, progressive,
// and the picture stays close to the original (closer at higher quality).
TEST(Encoder, StreamsOfAnySizeDecodeBackToThePicture) {
  std::mt19937 random(7);
  for (int round = 0; round < 24; ++round) {
    const int width = 1 + static_cast<int>(random() % 70), height = 1 + static_cast<int>(random() % 70);
    const Bitmap picture = test::MakePhoto(width, height, static_cast<unsigned>(round));
    PhotoEncoder encoder(picture, "test");
    for (const auto [quality, sampling, maxError] :
         {std::tuple{100.0, ChromaSampling::Full, 2.5}, std::tuple{90.0, ChromaSampling::Quarter, 8.0},
          std::tuple{1.0, ChromaSampling::Quarter, 80.0}}) {
      SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " at " + std::to_string(quality));
      JpegImage image;
      image.LoadFromBytes(encoder.Encode(quality, sampling, ScanTrial::Smallest));
      EXPECT_TRUE(image.Progressive());
      const Bitmap back = image.Decode();
      ASSERT_EQ(std::pair(back.Width, back.Height), std::pair(width, height));
      // (Two or three pixels from dark to full red cannot keep their colour
      // at half resolution.)
      if (std::min(width, height) >= 8) EXPECT_LT(MeanAbsoluteError(picture, back), maxError);
    }
  }
}

// Each script codes the same values: the decoded pixels are identical, and
// the encoder's choice is the smallest of them.
TEST(Encoder, ScanScriptChoiceIsLossless) {
  const Bitmap picture = test::MakePhoto(61, 43, 5);
  PhotoEncoder encoder(picture, "test");
  for (const double quality : {30.0, 95.0}) {
    const ChromaSampling sampling = SamplingForQuality(quality);
    const Bitmap first = Decoded(encoder.EncodeWithScript(quality, sampling, 0));
    size_t smallest = SIZE_MAX;
    for (size_t s = 0; s < ProgressiveScripts().size(); ++s) {
      const std::string stream = encoder.EncodeWithScript(quality, sampling, s);
      smallest = std::min(smallest, stream.size());
      EXPECT_EQ(Decoded(stream).Bytes, first.Bytes) << "script " << s << " at " << quality;
    }
    EXPECT_EQ(encoder.Encode(quality).size(), smallest);
  }
}

// Blocks at the extremes of what 8-bit pictures give (and beyond, as a
// defence): every value stays within baseline limits, and the trellis only
// ever keeps the rounded magnitude, one less, or zero, with the sign kept.
TEST(Encoder, TrellisValuesStayWithinBaselineAndNearTheRoundedOnes) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> coefficient(-2100.0f, 2100.0f);
  const TrellisQuantiser trellis(0.5f);
  AcRates rates;
  for (size_t i = 0; i < rates.SymbolBits.size(); ++i) rates.SymbolBits[i] = 2.0f + static_cast<float>(i % 11);
  QuantTable steps{};
  for (int round = 0; round < 400; ++round) {
    float block[64];
    for (float& c : block) c = round % 4 == 0 ? coefficient(random) : coefficient(random) / 40.0f;
    for (size_t i = 0; i < 64; ++i) steps[i] = static_cast<uint16_t>(1 + (round % 3 == 0 ? 0 : random() % 60));
    int16_t rounded[64], chosen[64];
    RoundBlock(block, steps, rounded);
    trellis.QuantiseBlock(block, steps, rates, chosen);
    EXPECT_EQ(chosen[0], rounded[0]) << "DC is rounded";
    EXPECT_LE(std::abs(int{chosen[0]}), kMaxDcMagnitude);
    for (int i = 1; i < 64; ++i) {
      ASSERT_LE(std::abs(int{rounded[i]}), kMaxAcMagnitude);
      const int kept = std::abs(int{chosen[i]}), near = std::abs(int{rounded[i]});
      EXPECT_TRUE(kept == 0 || kept == near || kept == near - 1) << i << ": " << chosen[i] << " from " << rounded[i];
      EXPECT_TRUE(chosen[i] == 0 || (chosen[i] < 0) == (rounded[i] < 0));
    }
  }
}

// The trellis spends fewer bits than plain rounding for a small loss.
TEST(Encoder, TrellisMakesSmallerStreamsThanRounding) {
  const Bitmap picture = test::MakePhoto(160, 120, 2);
  const std::string rounded = PhotoEncoder(picture, "test", 0.0f).Encode(75);
  const std::string trellis = PhotoEncoder(picture, "test").Encode(75);
  EXPECT_LT(trellis.size(), rounded.size());
  EXPECT_LT(MeanAbsoluteError(Decoded(trellis), picture), MeanAbsoluteError(Decoded(rounded), picture) + 2.0);
}

}  // namespace
}  // namespace lumatrim::encode
