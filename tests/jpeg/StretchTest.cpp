#include <gtest/gtest.h>

#include <filesystem>

#include "JpegTestKit.h"
#include "core/bytes/Error.h"
#include "support/JpegBuilder.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim::test {
namespace {

// A picture whose pixels name their own coordinates.
Bitmap Coordinates(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* px = b.Row(y) + 3 * x;
      px[0] = static_cast<uint8_t>(x);
      px[1] = static_cast<uint8_t>(y);
      px[2] = static_cast<uint8_t>(x ^ y);
    }
  return b;
}

TEST(Stretch, DropsOrRepeatsWholePixelsWithoutAveraging) {
  const Bitmap source = Coordinates(10, 6);
  {
    SCOPED_TRACE("shrink 10x6 to 4x3: columns 0 2 5 7, rows 0 2 4");
    Bitmap target(4, 3);
    StretchDraw(source, target);
    const int columns[] = {0, 2, 5, 7};
    const int rows[] = {0, 2, 4};
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(target.Row(y)[3 * x], columns[x]);
        EXPECT_EQ(target.Row(y)[3 * x + 1], rows[y]);
      }
  }
  {
    SCOPED_TRACE("enlarge 10x6 to 25x13: every pixel is a source pixel");
    Bitmap target(25, 13);
    StretchDraw(source, target);
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 25; ++x) {
        const uint8_t* px = target.Row(y) + 3 * x;
        EXPECT_EQ(px[0], x * 10 / 25);
        EXPECT_EQ(px[1], y * 6 / 13);
        EXPECT_EQ(px[2], px[0] ^ px[1]);
      }
  }
  {
    SCOPED_TRACE("same size is a copy");
    Bitmap target(10, 6);
    StretchDraw(source, target);
    EXPECT_EQ(target.Bytes, source.Bytes);
  }
}

// The streaming stretch (rows skipped inside libjpeg) must give exactly the
// pixels of a full decode followed by the plain stretch, for every kind of
// stream and for shrinking and enlarging alike.
TEST(Stretch, StreamingDrawEqualsFullDecodeThenStretch) {
  const Bitmap photo = MakePhoto(203, 157, 7);
  struct Kind {
    const char* name;
    RawOptions options;
  };
  const Kind kinds[] = {
      {"baseline 4:2:0", {.hSampling = 2, .vSampling = 2}},
      {"baseline 4:2:2", {.hSampling = 2, .vSampling = 1}},
      {"baseline 4:4:4", {.hSampling = 1, .vSampling = 1}},
      {"baseline 4:4:0", {.hSampling = 1, .vSampling = 2}},
      {"progressive 4:2:0", {.hSampling = 2, .vSampling = 2, .progressive = true}},
      {"progressive 4:4:4", {.hSampling = 1, .vSampling = 1, .progressive = true}},
      {"luma 2x2, chroma 1x2", {.hSampling = 2, .vSampling = 2, .chromaH = 1, .chromaV = 2}},
      {"luma 2x1, chroma 1x1 progressive", {.hSampling = 2, .vSampling = 1, .progressive = true}},
      {"luma 1x1, chroma 2x2", {.hSampling = 1, .vSampling = 1, .chromaH = 2, .chromaV = 2}},
  };
  const std::pair<int, int> sizes[] = {{80, 60}, {60, 80}, {203, 157}, {1, 1}, {203, 3}, {7, 150},
                                       {300, 200}, {101, 78}, {50, 17}, {13, 157}};
  for (const Kind& kind : kinds) {
    JpegImage image;
    image.LoadFromBytes(EncodeRgb(photo, kind.options));
    const Bitmap full = image.Decode();
    for (const auto& [w, h] : sizes) {
      SCOPED_TRACE(std::string(kind.name) + " to " + std::to_string(w) + "x" + std::to_string(h));
      Bitmap expected(w, h);
      StretchDraw(full, expected);
      const Bitmap streamed = image.DecodeStretched(w, h);
      ASSERT_EQ(streamed.Width, w);
      ASSERT_EQ(streamed.Height, h);
      EXPECT_TRUE(streamed.Bytes == expected.Bytes);
    }
  }
  {
    SCOPED_TRACE("cmyk");
    std::vector<uint8_t> cmyk;
    for (size_t i = 0; i < photo.Bytes.size(); i += 3) {
      cmyk.insert(cmyk.end(), {photo.Bytes[i], photo.Bytes[i + 1], photo.Bytes[i + 2], 200});
    }
    JpegImage image;
    image.LoadFromBytes(EncodeRaw(cmyk, 203, 157, {.components = 4, .jpegSpace = JCS_YCCK, .hSampling = 2, .vSampling = 2}));
    Bitmap expected(61, 47);
    StretchDraw(image.Decode(), expected);
    EXPECT_TRUE(image.DecodeStretched(61, 47).Bytes == expected.Bytes);
  }
  {
    SCOPED_TRACE("gray");
    std::vector<uint8_t> gray(photo.Bytes.size() / 3);
    for (size_t i = 0; i < gray.size(); ++i) gray[i] = photo.Bytes[3 * i + 1];
    JpegImage image;
    image.LoadFromBytes(EncodeRaw(gray, 203, 157, {.components = 1, .jpegSpace = JCS_GRAYSCALE, .hSampling = 1, .vSampling = 1}));
    Bitmap expected(41, 33);
    StretchDraw(image.Decode(), expected);
    EXPECT_TRUE(image.DecodeStretched(41, 33).Bytes == expected.Bytes);
  }
}

TEST(Stretch, DrawOfATakenOverBitmapStretchesIt) {
  JpegImage image;
  image.Assign(Coordinates(10, 6));
  Bitmap target(4, 3);
  image.Draw(target);
  EXPECT_EQ(target.Row(2)[3 * 3], 7);
  EXPECT_EQ(target.Row(2)[3 * 3 + 1], 4);
}

}  // namespace
}  // namespace lumatrim::test

namespace lumatrim::test {
namespace {

// Real photos bring restart markers, odd samplings and camera quirks: the
// streaming stretch must still match the full decode pixel for pixel, and a
// photo that cannot be decoded must fail the same way in both.
TEST(Stretch, CorpusPhotosStreamExactlyAsTheyDecode) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus + "/photos")) {
    if (entry.path().extension() != ".jpg") continue;
    SCOPED_TRACE(entry.path().filename().string());
    JpegImage image;
    Bitmap full;
    try {
      image.LoadFromFile(entry.path().string());
      full = image.Decode();
    } catch (const LumatrimError&) {
      if (!image.Empty()) EXPECT_THROW(image.DecodeStretched(80, 60), LumatrimError);
      continue;
    }
    for (const auto& [w, h] : {std::pair{800, 600}, std::pair{97, 131}, std::pair{full.Width, full.Height}}) {
      Bitmap expected(w, h);
      StretchDraw(full, expected);
      EXPECT_TRUE(image.DecodeStretched(w, h).Bytes == expected.Bytes) << w << "x" << h;
    }
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace lumatrim::test
