#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "PngReader.h"
#include "core/bytes/Error.h"
#include "core/quality/Ssimulacra2.h"

namespace lumatrim::quality {
namespace {

const std::filesystem::path kPairs = LUMATRIM_SSIMULACRA2_PAIRS;

Bitmap Load(const std::string& name) {
  Bitmap picture;
  std::string error;
  EXPECT_TRUE(testing::ReadPng((kPairs / name).string(), picture, error)) << error;
  return picture;
}

// The reference implementation's scores (scores.md beside the pictures).
struct ScoredPair {
  const char* Reference;
  const char* Distorted;
  double Score;
};
constexpr ScoredPair kScoredPairs[] = {
    {"ref_logo.png",  "logo_blur1.5.png",   26.98847208},
    {"ref_logo.png",  "logo_jpeg_q20.png",  49.93274374},
    {"ref_logo.png",  "logo_jpeg_q50.png",  63.40873653},
    {"ref_logo.png",  "logo_jpeg_q90.png",  78.11739031},
    {"ref_logo.png",  "logo_noise.png",     53.35393711},
    {"ref_photo.png", "photo_blur1.5.png",  55.65708730},
    {"ref_photo.png", "photo_jpeg_q20.png", 42.30620219},
    {"ref_photo.png", "photo_jpeg_q50.png", 70.94371667},
    {"ref_photo.png", "photo_jpeg_q90.png", 87.01942132},
    {"ref_photo.png", "photo_noise.png",    45.43277080},
    {"ref_rose.png",  "rose_blur1.5.png",   73.98780507},
    {"ref_rose.png",  "rose_jpeg_q20.png",  45.01726469},
    {"ref_rose.png",  "rose_jpeg_q50.png",  72.16914147},
    {"ref_rose.png",  "rose_jpeg_q90.png",  89.09463760},
    {"ref_rose.png",  "rose_noise.png",     44.72326819},
};

TEST(Ssimulacra2, AgreesWithTheReferenceImplementationWithinHalfAPoint) {
  if (!std::filesystem::is_directory(kPairs)) GTEST_SKIP() << kPairs << " is absent";
  std::string loaded;
  std::unique_ptr<Ssimulacra2Reference> reference;
  for (const ScoredPair& pair : kScoredPairs) {
    SCOPED_TRACE(pair.Distorted);
    if (loaded != pair.Reference) {
      reference = std::make_unique<Ssimulacra2Reference>(Load(pair.Reference));
      loaded = pair.Reference;
    }
    EXPECT_NEAR(reference->Score(Load(pair.Distorted)), pair.Score, 0.5);
  }
}

// A picture of gentle gradients and a hard edge, sized so the scales end odd.
Bitmap TestPicture(int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = picture.Row(y) + 3 * x;
      p[0] = static_cast<uint8_t>(x * 255 / width);
      p[1] = static_cast<uint8_t>(x < width / 2 ? 40 : 220);
      p[2] = static_cast<uint8_t>((x * y) % 256);
    }
  return picture;
}

TEST(Ssimulacra2, ScoresSizesAndRowLayouts) {
  const Bitmap picture = TestPicture(101, 67);
  Bitmap darker = picture;
  for (uint8_t& value : darker.Bytes) value = static_cast<uint8_t>(value * 7 / 8);

  // identical pictures score 100; a visible change scores less
  EXPECT_NEAR(Ssimulacra2(picture, picture), 100.0, 1e-9);
  const double changed = Ssimulacra2(picture, darker);
  EXPECT_LT(changed, 95.0);

  // rows with padding between them read the same pixels
  const size_t stride = picture.Stride() + 13;
  std::vector<uint8_t> padded(stride * picture.Height, 0xee);
  for (int y = 0; y < picture.Height; ++y) std::copy_n(darker.Row(y), darker.Stride(), padded.data() + y * stride);
  EXPECT_DOUBLE_EQ(Ssimulacra2Reference(picture).Score(RgbRows{padded.data(), picture.Width, picture.Height, stride}),
                   changed);

  // below 8 pixels there is no scale to compare: nothing to tell apart
  EXPECT_EQ(Ssimulacra2(TestPicture(7, 30), TestPicture(7, 30)), 100.0);
  EXPECT_THROW(Ssimulacra2(picture, TestPicture(100, 67)), LumatrimError);
  EXPECT_THROW(Ssimulacra2Reference(RgbRows{picture.Bytes.data(), 101, 67, 300}), LumatrimError);
}

}  // namespace
}  // namespace lumatrim::quality
