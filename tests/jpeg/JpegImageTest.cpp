#include <gtest/gtest.h>

#include "JpegTestKit.h"
#include "core/bytes/Error.h"
#include "core/jpeg/JpegImage.h"
#include "support/JpegBuilder.h"

namespace lumatrim::test {
namespace {

std::string Compressed(const Bitmap& b, int quality, bool progressive = true) {
  JpegImage image;
  image.Assign(b);
  image.Compress(quality, progressive);
  return image.Data();
}

// Sets the height and width of the SOFn segment of a stream.
std::string WithHeaderSize(std::string jpeg, uint16_t width, uint16_t height) {
  for (uint8_t sof : {0xC0, 0xC1, 0xC2}) {
    const int64_t at = FindSegment(jpeg, sof);
    if (at < 0) continue;
    jpeg[at + 5] = static_cast<char>(height >> 8);
    jpeg[at + 6] = static_cast<char>(height & 0xFF);
    jpeg[at + 7] = static_cast<char>(width >> 8);
    jpeg[at + 8] = static_cast<char>(width & 0xFF);
  }
  return jpeg;
}

TEST(JpegImage, EncodesProgressiveAtQuality80AndDecodesBackClose) {
  const Bitmap source = MakePhoto(157, 93);  // sizes that are no multiple of 16
  const std::string data = Compressed(source, 80);
  EXPECT_GE(FindSegment(data, 0xC2), 0) << "progressive SOF2 expected";
  EXPECT_LT(FindSegment(data, 0xC0), 0);

  JpegImage loaded;
  loaded.LoadFromBytes(data);
  EXPECT_EQ(loaded.Width(), 157);
  EXPECT_EQ(loaded.Height(), 93);
  EXPECT_TRUE(loaded.Progressive());
  const Bitmap decoded = loaded.Decode();
  ASSERT_EQ(decoded.Width, 157);
  ASSERT_EQ(decoded.Height, 93);
  EXPECT_LT(MeanAbsError(source, decoded), 6.0);  // grain and colour edges at 4:2:0

  // Standard luminance table scaled to 80 (factor 40 %): 16 -> 6, 11 -> 4, 12 -> 5.
  const std::vector<int> luma = QuantTable(data, 0);
  ASSERT_EQ(luma.size(), 64u);
  EXPECT_EQ(luma[0], 6);
  EXPECT_EQ(luma[1], 4);
  EXPECT_EQ(luma[2], 5);

  SCOPED_TRACE("baseline when not progressive");
  const std::string baseline = Compressed(source, 80, false);
  EXPECT_GE(FindSegment(baseline, 0xC0), 0);
}

TEST(JpegImage, QualityIsClampedTo1Through100) {
  const Bitmap source = MakePhoto(32, 32);
  EXPECT_EQ(QuantTable(Compressed(source, 0), 0), QuantTable(Compressed(source, 1), 0));
  EXPECT_EQ(QuantTable(Compressed(source, -5), 0)[0], 255);  // quality 1: 16 x 50 capped at 255
  EXPECT_EQ(QuantTable(Compressed(source, 140), 0), std::vector<int>(64, 1));
}

TEST(JpegImage, DataIsTheLoadedBytesUntilModified) {
  const std::string original = Compressed(MakePhoto(40, 30), 90) + std::string("trailing bytes kept");
  JpegImage image;
  image.LoadFromBytes(original);
  EXPECT_FALSE(image.Modified());
  EXPECT_EQ(image.Data(), original);

  image.Assign(MakePhoto(20, 10));
  EXPECT_TRUE(image.Modified());
  EXPECT_EQ(image.Width(), 20);
  EXPECT_EQ(image.Height(), 10);
  EXPECT_THROW(image.Data(), LumatrimError) << "a bitmap not yet compressed has no JPEG data";
  image.Compress(75);
  EXPECT_NE(image.Data(), original);
  EXPECT_EQ(image.Data().substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(image.Data().substr(image.Data().size() - 2), "\xFF\xD9");

  JpegImage empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_THROW(empty.Data(), LumatrimError);
  EXPECT_THROW(empty.Compress(80), LumatrimError);
}

TEST(JpegImage, LoadsFromFileAndSavesThroughATemporaryFile) {
  TempDir dir;
  const std::string data = Compressed(MakePhoto(64, 48), 85);
  JpegImage image;
  image.LoadFromFile(WriteFile(dir.File("a.jpg"), data));
  EXPECT_EQ(image.Width(), 64);
  image.SaveToFile(dir.File("b.jpg"));
  EXPECT_EQ(ReadFile(dir.File("b.jpg")), data);

  try {
    image.LoadFromFile(dir.File("missing.jpg"));
    FAIL() << "missing file loaded";
  } catch (const LumatrimError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.jpg"), std::string::npos) << e.what();
  }
  EXPECT_THROW(image.LoadFromFile(WriteFile(dir.File("text.jpg"), "hello, not a photo")), LumatrimError);
  EXPECT_THROW(image.SaveToFile(dir.File("no/such/folder/x.jpg")), LumatrimError);
}

TEST(JpegImage, DecodesReducedWithDctScaling) {
  const Bitmap source = MakePhoto(101, 67);
  JpegImage image;
  image.LoadFromBytes(Compressed(source, 90));
  const std::pair<int, std::pair<int, int>> cases[] = {{1, {101, 67}}, {2, {51, 34}}, {4, {26, 17}}, {8, {13, 9}}};
  for (const auto& [scale, size] : cases) {
    SCOPED_TRACE(scale);
    const Bitmap b = image.Decode(scale);
    EXPECT_EQ(b.Width, size.first);
    EXPECT_EQ(b.Height, size.second);
  }
  EXPECT_THROW(image.Decode(3), LumatrimError);
  EXPECT_EQ(image.PreviewScale(25, 16), 4);
  EXPECT_EQ(image.PreviewScale(101, 67), 1);
  EXPECT_EQ(image.PreviewScale(1, 1), 8);
}

TEST(JpegImage, DecodesGrayCmykAndYcckToRgb) {
  constexpr int w = 24, h = 16;
  {
    SCOPED_TRACE("grayscale");
    std::vector<uint8_t> gray(w * h, 0);
    for (int i = 0; i < w * h; ++i) gray[i] = static_cast<uint8_t>(i % w * 10);
    JpegImage image;
    image.LoadFromBytes(EncodeRaw(gray, w, h, {.components = 1, .jpegSpace = JCS_GRAYSCALE, .hSampling = 1, .vSampling = 1}));
    EXPECT_EQ(image.Components(), 1);
    const Bitmap b = image.Decode();
    for (int x : {0, 5, 23}) {
      const uint8_t* px = b.Row(7) + 3 * x;
      EXPECT_NEAR(px[0], x * 10, 3);
      EXPECT_EQ(px[0], px[1]);
      EXPECT_EQ(px[1], px[2]);
    }
  }
  // Adobe CMYK is stored inverted: 255 means no ink. Left half pure red
  // (no cyan, full magenta and yellow, no black), right half black.
  std::vector<uint8_t> cmyk(w * h * 4);
  for (int i = 0; i < w * h; ++i) {
    const bool left = i % w < w / 2;
    const uint8_t pixel[4] = {255, 0, 0, static_cast<uint8_t>(left ? 255 : 0)};
    std::copy(pixel, pixel + 4, &cmyk[4 * i]);
  }
  for (J_COLOR_SPACE space : {JCS_CMYK, JCS_YCCK}) {
    SCOPED_TRACE(space == JCS_CMYK ? "cmyk" : "ycck");
    JpegImage image;
    image.LoadFromBytes(EncodeRaw(cmyk, w, h, {.components = 4, .jpegSpace = space, .hSampling = 1, .vSampling = 1, .quality = 100}));
    EXPECT_EQ(image.Components(), 4);
    const Bitmap b = image.Decode();
    const uint8_t* red = b.Row(8) + 3 * 2;
    EXPECT_GT(red[0], 240);
    EXPECT_LT(red[1], 15);
    EXPECT_LT(red[2], 15);
    const uint8_t* black = b.Row(8) + 3 * 20;
    EXPECT_LT(black[0] + black[1] + black[2], 30);
  }
}

TEST(JpegImage, RefusesAbsurdHeaderSizesBeforeDecoding) {
  const std::string good = Compressed(MakePhoto(16, 16), 80, false);
  const std::pair<uint16_t, uint16_t> sizes[] = {{65535, 65535}, {60000, 60000}, {5000, 5000}};
  for (const auto& [w, h] : sizes) {
    SCOPED_TRACE(w);
    JpegImage image;
    try {
      image.LoadFromBytes(WithHeaderSize(good, w, h));
      FAIL() << "an implausible size was accepted";
    } catch (const LumatrimError& e) {
      const std::string message = e.what();
      EXPECT_TRUE(message.find("size") != std::string::npos || message.find("dimension") != std::string::npos)
          << message;
    }
    EXPECT_TRUE(image.Empty());
  }
}

TEST(JpegImage, DamagedStreamsGiveErrorsNotCrashes) {
  const Bitmap source = MakePhoto(40, 24);
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const std::string good = Compressed(source, 80, progressive);

    // Every prefix that cuts into the coded data must be refused; only the
    // final EOI marker may be missing.
    for (size_t n = 0; n + 2 < good.size(); ++n) {
      JpegImage image;
      bool failed = false;
      try {
        image.LoadFromBytes(good.substr(0, n));
        Bitmap stretched(7, 5);
        image.Draw(stretched);
        image.Decode();
      } catch (const LumatrimError&) {
        failed = true;
      }
      EXPECT_TRUE(failed) << "prefix of " << n << " of " << good.size() << " bytes decoded";
    }

    // Flipped bytes anywhere: a clean result or a LumatrimError, nothing else.
    int errors = 0;
    for (size_t at = 0; at < good.size(); ++at) {
      std::string bad = good;
      bad[at] = static_cast<char>(bad[at] ^ 0x5A);
      try {
        JpegImage image;
        image.LoadFromBytes(bad);
        image.Decode(at % 2 ? 1 : 4);
        Bitmap stretched(9, 31);
        image.Draw(stretched);
      } catch (const LumatrimError&) {
        ++errors;
      }
    }
    EXPECT_GT(errors, 0);
  }
}

}  // namespace
}  // namespace lumatrim::test
