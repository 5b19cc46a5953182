// The JPEG image object: encode/decode round trips, the loaded bytes kept,
// damaged streams refused, and the stretch by pixel dropping.
#include <gtest/gtest.h>

#include <array>

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

bool Has(const std::vector<int>& markers, int marker) {
  return std::find(markers.begin(), markers.end(), marker) != markers.end();
}

TEST(JpegImage, EncodesProgressiveAtQuality80AndDecodesBackClose) {
  const Bitmap source = MakePhoto(157, 93);  // sizes that are no multiple of 16
  const std::string data = Compressed(source, 80);
  EXPECT_TRUE(Has(SegmentMarkers(data), 0xC2) && !Has(SegmentMarkers(data), 0xC0)) << "progressive SOF2";
  const JpegImage loaded = Loaded(data);
  EXPECT_EQ(std::make_pair(loaded.Width(), loaded.Height()), std::make_pair(157, 93));
  EXPECT_TRUE(loaded.Progressive());
  const Bitmap decoded = loaded.Decode();
  ASSERT_EQ(std::make_pair(decoded.Width, decoded.Height), std::make_pair(157, 93));
  EXPECT_LT(MeanAbsError(source, decoded), 6.0);  // grain and colour edges at 4:2:0
  SCOPED_TRACE("baseline when not progressive; quality clamped to 1..100");
  EXPECT_TRUE(Has(SegmentMarkers(Compressed(source, 80, false)), 0xC0));
  EXPECT_EQ(QuantTable(Compressed(source, 0), 0), QuantTable(Compressed(source, 1), 0));
  EXPECT_EQ(QuantTable(Compressed(source, -5), 0)[0], 255);  // quality 1: 16 x 50 capped at 255
  EXPECT_EQ(QuantTable(Compressed(source, 140), 0), std::vector<int>(64, 1));
}

// Colour at half resolution up to quality 89, at full resolution from 90 up.
TEST(JpegImage, HighQualityKeepsFullColourResolution) {
  const Bitmap source = MakePhoto(64, 48);
  const auto lumaSampling = [&](int quality) {  // SOF: P, Y, X, Nf, then id and HV of the first component
    for (const auto& [marker, payload] : Segments(Compressed(source, quality))) {
      if (marker == 0xC2 && payload.size() > 7) return int(uint8_t(payload[7]));
    }
    return -1;
  };
  EXPECT_EQ(lumaSampling(80), 0x22) << "4:2:0";
  EXPECT_EQ(lumaSampling(89), 0x22);
  EXPECT_EQ(lumaSampling(90), 0x11) << "4:4:4";
  EXPECT_EQ(lumaSampling(100), 0x11);
  EXPECT_LT(MeanAbsError(source, Loaded(Compressed(source, 95)).Decode()),
            MeanAbsError(source, Loaded(Compressed(source, 89)).Decode()));
}

TEST(JpegImage, DataIsTheLoadedBytesUntilModified) {
  TempDir dir;
  const std::string original = Compressed(MakePhoto(40, 30), 90) + "trailing bytes kept";
  JpegImage image;
  image.LoadFromFile(WriteFile(dir.File("a.jpg"), original));
  EXPECT_FALSE(image.Modified());
  image.SaveToFile(dir.File("b.jpg"));
  EXPECT_EQ(ReadFile(dir.File("b.jpg")), original);
  image.Assign(MakePhoto(20, 10));
  EXPECT_TRUE(image.Modified());
  EXPECT_EQ(std::make_pair(image.Width(), image.Height()), std::make_pair(20, 10));
  EXPECT_THROW(image.Data(), LumatrimError) << "a bitmap not yet compressed has no JPEG data";
  image.Compress(75);
  EXPECT_EQ(image.Data().substr(0, 2) + image.Data().substr(image.Data().size() - 2), "\xFF\xD8\xFF\xD9");
  SCOPED_TRACE("nothing loaded, a missing file, not a photo, no folder to save in");
  JpegImage empty;
  EXPECT_THROW(empty.Compress(80), LumatrimError);
  EXPECT_THROW(image.LoadFromFile(dir.File("missing.jpg")), LumatrimError);
  EXPECT_THROW(image.LoadFromFile(WriteFile(dir.File("text.jpg"), "hello, not a photo")), LumatrimError);
  EXPECT_THROW(image.SaveToFile(dir.File("no/such/folder/x.jpg")), LumatrimError);
}

TEST(JpegImage, DecodesReducedGrayCmykAndYcck) {
  const JpegImage image = Loaded(Compressed(MakePhoto(101, 67), 90));
  for (const auto& [scale, w, h] : {std::array{1, 101, 67}, {2, 51, 34}, {4, 26, 17}, {8, 13, 9}}) {
    const Bitmap b = image.Decode(scale);
    EXPECT_EQ(std::make_pair(b.Width, b.Height), std::make_pair(w, h)) << "1/" << scale;
  }
  EXPECT_THROW(image.Decode(3), LumatrimError);
  EXPECT_EQ(image.PreviewScale(25, 16), 4);

  constexpr int w = 24, h = 16;
  std::vector<uint8_t> gray(w * h), cmyk;
  for (int i = 0; i < w * h; ++i) {
    gray[i] = static_cast<uint8_t>(i % w * 10);
    // Adobe CMYK is stored inverted (255: no ink): left half red, right half black.
    cmyk.insert(cmyk.end(), {255, 0, 0, static_cast<uint8_t>(i % w < w / 2 ? 255 : 0)});
  }
  const Bitmap g = Loaded(EncodeRaw(gray, w, h, {1, JCS_GRAYSCALE, 1, 1})).Decode();
  for (int x : {0, 5, 23}) {
    const uint8_t* px = g.Row(7) + 3 * x;
    EXPECT_NEAR(px[0], x * 10, 3);
    EXPECT_TRUE(px[0] == px[1] && px[1] == px[2]);
  }
  for (J_COLOR_SPACE space : {JCS_CMYK, JCS_YCCK}) {
    SCOPED_TRACE(space == JCS_CMYK ? "cmyk" : "ycck");
    const Bitmap b = Loaded(EncodeRaw(cmyk, w, h, {4, space, 1, 1, 1, 1, false, 100})).Decode();
    const uint8_t *red = b.Row(8) + 3 * 2, *black = b.Row(8) + 3 * 20;
    EXPECT_TRUE(red[0] > 240 && red[1] < 15 && red[2] < 15);
    EXPECT_LT(black[0] + black[1] + black[2], 30);
  }
}

TEST(JpegImage, DamagedStreamsGiveErrorsNotCrashes) {
  const std::string small = Compressed(MakePhoto(16, 16), 80, false);
  const size_t sof = small.find("\xFF\xC0");
  for (const char* size : {"\xFF\xFF\xFF\xFF", "\xEA\x60\xEA\x60", "\x13\x88\x13\x88"}) {
    SCOPED_TRACE("an absurd header size is refused before decoding");
    std::string absurd = small;
    absurd.replace(sof + 5, 4, size, 4);
    JpegImage image;
    EXPECT_THROW(image.LoadFromBytes(absurd), LumatrimError);
    EXPECT_TRUE(image.Empty());
  }
  const auto use = [](const std::string& bytes, int scale) {
    const JpegImage image = Loaded(bytes);
    image.DecodeResampled(9, 31);
    image.Decode(scale);
  };
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const std::string good = Compressed(MakePhoto(40, 24), 80, progressive);
    // Every prefix that cuts into the coded data is refused; only EOI may be missing.
    for (size_t n = 0; n + 2 < good.size(); ++n) EXPECT_THROW(use(good.substr(0, n), 1), LumatrimError) << n;
    // Flipped bytes anywhere: a clean result or a LumatrimError, nothing else.
    for (size_t at = 0; at < good.size(); ++at) {
      std::string bad = good;
      bad[at] = static_cast<char>(bad[at] ^ 0x5A);
      try {
        use(bad, at % 2 ? 1 : 4);
      } catch (const LumatrimError&) {
      }
    }
  }
}

// Which source column and row each target pixel came from: the stretch takes
// whole pixels (column x * 10 / width, row y * 6 / height), never averages.
TEST(Stretch, DropsWholePixelsWithoutAveraging) {
  Bitmap source(10, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 10; ++x) {
      uint8_t* px = source.Row(y) + 3 * x;
      px[0] = uint8_t(x), px[1] = uint8_t(y), px[2] = 7;
    }
  }
  const auto picked = [](const Bitmap& b) {  // "columns/rows", or "mixed" if a pixel is not whole
    std::string columns, rows;
    for (int x = 0; x < b.Width; ++x) columns += std::to_string(b.Row(0)[3 * x]);
    for (int y = 0; y < b.Height; ++y) rows += std::to_string(b.Row(y)[1]);
    for (int y = 0; y < b.Height; ++y) {
      for (int x = 0; x < b.Width; ++x) {
        const uint8_t* px = b.Row(y) + 3 * x;
        if (px[0] != b.Row(0)[3 * x] || px[1] != b.Row(y)[1] || px[2] != 7) return std::string("mixed");
      }
    }
    return columns + "/" + rows;
  };
  Bitmap shrunk(4, 3), grown(25, 13), same(10, 6);
  StretchDraw(source, shrunk);
  StretchDraw(source, grown);
  StretchDraw(source, same);
  EXPECT_EQ(picked(shrunk), "0257/024");
  EXPECT_EQ(picked(grown), "0001122233444556667788899/0001122334455");
  EXPECT_EQ(same.Bytes, source.Bytes);
}

}  // namespace
}  // namespace lumatrim::test
