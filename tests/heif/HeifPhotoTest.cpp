#include <gtest/gtest.h>

#include <filesystem>

#include "core/heif/HeifImage.h"
#include "core/heif/HeifMetadata.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/photo/PhotoReader.h"
#include "optimize/OptimizePhotos.h"
#include "support/ColorCheck.h"

namespace lumatrim::test {
namespace {

std::map<std::string, std::string> ExiftoolValues(const std::string& path, const std::string& tags) {
  std::map<std::string, std::string> out;
  auto lines = ExiftoolTags({path}, tags);
  for (const auto& [name, value] : lines[path]) out[name] = value;
  return out;
}

// libheif's picture as stored (in its own colour space, at that size),
// turned into sRGB by ImageMagick: the colour-managed reference.
Bitmap ReferenceOf(const std::string& heif, const TempDir& scratch, int width, int height) {
  HeifImage image;
  image.LoadFromFile(heif);
  image.SetConvertToSrgb(false);
  const std::string stored = WriteFile(scratch.File("stored.jpg"), EncodeRgb(image.DecodeResampled(width, height), {.hSampling = 1, .vSampling = 1, .quality = 100}));
  const std::string own = WriteFile(scratch.File("own.icc"), image.Blocks().icc);
  const std::string srgb = WriteFile(scratch.File("srgb.icc"), color::MakeRgbProfile(color::kSrgbPrimaries, color::TransferCurve::Srgb));
  return ConvertedPixels(stored, "-profile " + own + " -profile " + srgb);
}

// The corpus iPhone photo: 4032 x 3024 stored, Orientation 6, Display P3.
TEST(HeifPhotos, TheCorpusPhonePhotoComesOutUprightWithItsExifInSrgb) {
  const std::string iphone = CorpusDir() + "/heif/apple_iphone13_heic_1.heic", nokia = CorpusDir() + "/heif/hmd_nokia83_heif_1.heif";
  if (!std::filesystem::exists(iphone) || !ExiftoolInstalled() || !ConvertInstalled()) GTEST_SKIP() << "needs the corpus, exiftool, ImageMagick";
  for (const std::string& path : {iphone, nokia}) {  // info lists what exiftool lists
    const PhotoMetadata photo = ReadPhotoMetadata(path);
    for (const auto& [name, value] : ExiftoolValues(path, "-Make -Model -DateTimeOriginal -ExposureTime -GPSLatitude")) {
      EXPECT_GE(photo.exif->TagIndexByName(name), 0) << path << " lacks " << name;
    }
  }
  const TempDir out;
  const OptimizeSettings settings{.TargetFolder = out.Path(), .Compression = 5, .LongSide = 1600, .Rule = SizeRule::LongSideFixed};
  const BatchReport report = RunOptimizeBatch({iphone}, settings);
  ASSERT_EQ(report.Written(), 1) << report.Photos[0].Detail;
  const std::string output = out.File("opt_apple_iphone13_heic_1.jpg");
  EXPECT_EQ(SizeOf(output), std::make_pair(1200, 1600));
  auto tags = ExiftoolValues(output, "-n -Orientation -ExifImageWidth -ExifImageHeight -ProfileDescription");
  EXPECT_EQ(tags["Orientation"] + " " + tags["ExifImageWidth"] + " " + tags["ExifImageHeight"], "1 1200 1600");
  EXPECT_EQ(tags.count("ProfileDescription"), 0u) << "converted pixels carry no profile";
  auto warnings = ExiftoolTags({output, iphone}, "-Warning");
  EXPECT_LE(WarningsIn(warnings[output]).size(), WarningsIn(warnings[iphone]).size());
  EXPECT_LT(MeanDeltaE(DecodedFile(output), ReferenceOf(iphone, out, 240, 320)), 2.0);
}

// heif-enc's files (made from a JPEG with Orientation 6, GPS, XMP and a P3
// profile) store the upright picture: Orientation is reset, never applied;
// EXIF, thumbnail and XMP come along; GPS goes on request; the colours are
// converted unless the profile is kept.
TEST(HeifPhotos, HeifEncFilesOptimiseLikeJpegs) {
  if (RunCommand("command -v heif-enc").empty() || !ExiftoolInstalled() || !ConvertInstalled()) GTEST_SKIP() << "needs heif-enc, exiftool, ImageMagick";
  const TempDir in, out;
  Ifd gps;
  gps.Ascii(0x0001, "N").Rational(0x0002, {{50, 1}, {5, 1}, {0, 1}});
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(EncodeRgb(MakePhoto(32, 24, 9), {.quality = 70}));
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Apple").Short(0x0112, {6}).SubIfd(0x8825, gps).Next(ifd1);
  JpegBuilder jpeg;
  jpeg.Soi().App1Exif(TiffBuilder(Order::Motorola).Bytes(ifd0));
  for (const KeptSegment& segment : IccProfileSegments(color::MakeRgbProfile(kDisplayP3, color::TransferCurve::Srgb))) {
    jpeg.Append("\xFF\xE2" + segment.content);
  }
  jpeg.Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                         "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                         "<rdf:Description xmlns:dc='http://purl.org/dc/elements/1.1/' dc:format='image/jpeg'/></rdf:RDF></x:xmpmeta>");
  const Bitmap patches = ColourPatches(96, 64);
  const std::string source = WriteFile(in.File("source.jpg"), jpeg.Bytes() + EncodeRgb(patches, {.quality = 97}).substr(2 + 18));
  const std::string heic = in.File("phone.heic");
  RunCommand("heif-enc -q 95 -o " + heic + " " + source + " >/dev/null 2>&1");
  ASSERT_TRUE(std::filesystem::exists(heic)) << "heif-enc made no file";
  const Bitmap reference = ReferenceOf(heic, in, 96, 64);
  EXPECT_GT(MeanDeltaE(patches, reference), 3.0) << "P3 values shown as sRGB would be far off";

  for (const bool convert : {true, false}) {
    SCOPED_TRACE(convert ? "converted" : "profile kept, no GPS");
    const OptimizeSettings settings{.TargetFolder = out.Path(), .Compression = 2, .KeepSize = true, .RemoveGps = !convert, .ConvertToSrgb = convert};
    const BatchReport report = RunOptimizeBatch({heic}, settings);
    ASSERT_EQ(report.Written(), 1) << report.Photos[0].Detail;
    const std::string output = out.File("opt_phone.jpg");
    EXPECT_EQ(SizeOf(output), std::make_pair(96, 64));
    auto tags = ExiftoolValues(output, "-n -Orientation -Make -ThumbnailImage -XMP-dc:Format -GPSLatitude -ProfileDescription");
    EXPECT_EQ(tags["Orientation"] + " " + tags["Make"] + " " + tags["Format"], "1 Apple image/jpeg");
    EXPECT_EQ(tags.count("ThumbnailImage"), 1u);
    EXPECT_EQ(tags.count("GPSLatitude"), convert ? 1u : 0u);
    EXPECT_EQ(tags.count("ProfileDescription"), convert ? 0u : 1u);
    const Bitmap seen = convert ? DecodedFile(output) : ConvertedPixels(output, "-profile " + in.File("srgb.icc"));
    // The encoder's chroma subsampling costs about 1 on these small patches.
    EXPECT_LT(MeanDeltaE(seen, reference), 2.0);
  }
}

}  // namespace
}  // namespace lumatrim::test
