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

bool HeifEncInstalled() { return !RunCommand("command -v heif-enc 2>/dev/null").empty(); }

std::map<std::string, std::string> ExiftoolValues(const std::string& path, const std::string& tags) {
  std::map<std::string, std::string> out;
  const auto lines = ExiftoolTags({path}, tags);
  if (const auto found = lines.find(path); found != lines.end()) {
    for (const auto& [name, value] : found->second) out[name] = value;
  }
  return out;
}

// A phone-like JPEG made into HEIF by heif-enc: Orientation 6 in its EXIF
// (heif-enc writes no irot, so the stored picture is the upright one), a GPS
// position, an XMP packet and the given colour profile.
std::string PhoneHeif(const TempDir& dir, const std::string& name, const Bitmap& picture, const std::string& icc) {
  Ifd gps;
  gps.Ascii(0x0001, "N").Rational(0x0002, {{50, 1}, {5, 1}, {0, 1}});
  Ifd exif;
  exif.Rational(0x829A, {{1, 60}}).Ascii(0x9003, "2024:05:01 10:20:30").Long(0xA002, {uint32_t(picture.Width)})
      .Long(0xA003, {uint32_t(picture.Height)});
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(EncodeRgb(MakePhoto(32, 24, 9), {.quality = 70}));
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Apple").Ascii(0x0110, "iPhone").Short(0x0112, {6}).SubIfd(0x8769, exif).SubIfd(0x8825, gps).Next(ifd1);
  JpegBuilder jpeg;
  jpeg.Soi().App1Exif(TiffBuilder(Order::Motorola).Bytes(ifd0));
  for (const KeptSegment& segment : IccProfileSegments(icc)) jpeg.Append("\xFF\xE2" + segment.content);
  jpeg.Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                         "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                         "<rdf:Description xmlns:dc='http://purl.org/dc/elements/1.1/' dc:format='image/jpeg'/>"
                         "</rdf:RDF></x:xmpmeta>");
  const std::string source = WriteFile(dir.File(name + ".jpg"), jpeg.Bytes() + EncodeRgb(picture, {.quality = 97}).substr(2 + 18));
  const std::string heif = dir.File(name);
  RunCommand("heif-enc -q 95 -o " + QuotedForShell(heif) + " " + QuotedForShell(source) + " >/dev/null 2>&1");
  return std::filesystem::exists(heif) ? heif : "";
}

// The colour-managed reference: libheif's picture as stored (in its own
// colour space, at that size), turned into sRGB by ImageMagick.
Bitmap ReferenceOf(const std::string& heif, const TempDir& scratch, int width, int height) {
  HeifImage image;
  image.LoadFromFile(heif);
  image.SetConvertToSrgb(false);
  const Bitmap stored = image.DecodeResampled(width, height);
  const std::string own = WriteFile(scratch.File("own.icc"), image.Blocks().icc);
  const std::string srgb = WriteFile(scratch.File("srgb.icc"), color::MakeRgbProfile(color::kSrgbPrimaries, color::TransferCurve::Srgb));
  return ConvertedPixels(WritePpm(scratch.File("stored.ppm"), stored), "-profile " + own + " -profile " + srgb);
}

OptimizeSettings KeepSizeInto(const std::string& folder) {
  OptimizeSettings settings;
  settings.TargetFolder = folder;
  settings.KeepSize = true;
  settings.Compression = 2;
  return settings;
}

// The corpus iPhone photo: 4032 x 3024 stored, Orientation 6, Display P3.
TEST(HeifPhotos, CorpusPhoneFramesComeOutUprightWithTheirExifAndColours) {
  const std::string corpus = CorpusDir() + "/heif";
  const std::string iphone = corpus + "/apple_iphone13_heic_1.heic", nokia = corpus + "/hmd_nokia83_heif_1.heif";
  if (!std::filesystem::exists(iphone) || !std::filesystem::exists(nokia) || !ExiftoolInstalled() || !ConvertInstalled()) {
    GTEST_SKIP() << "needs the shared corpus, exiftool and ImageMagick";
  }
  // info lists what exiftool lists.
  const std::string asked = "-Make -Model -DateTimeOriginal -ExposureTime -GPSLatitude";
  for (const std::string& path : {iphone, nokia}) {
    const PhotoMetadata photo = ReadPhotoMetadata(path);
    ASSERT_TRUE(photo.exif) << path;
    for (const auto& [name, value] : ExiftoolValues(path, asked)) {
      EXPECT_GE(photo.exif->TagIndexByName(name), 0) << path << " lacks " << name;
    }
  }
  const TempDir out;
  OptimizeSettings settings;
  settings.TargetFolder = out.Path();
  settings.LongSide = 1600;
  settings.Compression = 5;
  settings.Rule = SizeRule::LongSideFixed;
  const BatchReport report = RunOptimizeBatch({iphone}, settings);
  ASSERT_EQ(report.Written(), 1) << report.Photos[0].Detail;
  const std::string output = out.File("opt_apple_iphone13_heic_1.jpg");
  EXPECT_EQ(SizeOf(output), std::make_pair(1200, 1600));
  auto tags = ExiftoolValues(output, "-n -Orientation -ExifImageWidth -ExifImageHeight -ICC_Profile:ProfileDescription");
  EXPECT_EQ(tags["Orientation"], "1");
  EXPECT_EQ(tags["ExifImageWidth"], "1200");
  EXPECT_EQ(tags["ExifImageHeight"], "1600");
  EXPECT_EQ(tags.count("ProfileDescription"), 0u) << "converted pixels carry no profile";
  auto warnings = ExiftoolTags({output, iphone}, "-Warning");
  EXPECT_LE(WarningsIn(warnings[output]).size(), WarningsIn(warnings[iphone]).size());

  const Bitmap reference = ReferenceOf(iphone, out, 240, 320);
  EXPECT_LT(MeanDeltaE(DecodedFile(output), reference), 1.5);
}

// heif-enc's files: the stored picture is upright, so Orientation 6 is reset,
// never applied; EXIF, thumbnail and XMP come along; GPS goes on request; a
// P3 picture is converted unless its profile is kept.
TEST(HeifPhotos, HeifEncFilesOptimiseLikeJpegs) {
  if (!HeifEncInstalled() || !ExiftoolInstalled() || !ConvertInstalled()) GTEST_SKIP() << "needs heif-enc, exiftool and ImageMagick";
  const TempDir in, out;
  const std::string p3 = color::MakeRgbProfile(kDisplayP3, color::TransferCurve::Srgb);
  const std::string srgbPath = WriteFile(in.File("srgb.icc"), color::MakeRgbProfile(color::kSrgbPrimaries, color::TransferCurve::Srgb));
  const Bitmap patches = ColourPatches(96, 64);
  const std::string heic = PhoneHeif(in, "phone.heic", patches, p3);
  ASSERT_FALSE(heic.empty()) << "heif-enc made no file";
  const Bitmap reference = ReferenceOf(heic, in, 96, 64);

  const struct {
    const char* name;
    bool convert, noGps;
  } rows[] = {
      {"converted", true, false},
      {"profile kept, no GPS", false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    OptimizeSettings settings = KeepSizeInto(out.Path());
    settings.ConvertToSrgb = row.convert;
    settings.RemoveGps = row.noGps;
    const BatchReport report = RunOptimizeBatch({heic}, settings);
    ASSERT_EQ(report.Written(), 1) << report.Photos[0].Detail;
    const std::string output = out.File("opt_phone.jpg");
    EXPECT_EQ(SizeOf(output), std::make_pair(96, 64));
    auto tags = ExiftoolValues(output, "-n -Orientation -Make -ExifImageWidth -ThumbnailImage -XMP-dc:Format -GPSLatitude -ProfileDescription");
    EXPECT_EQ(tags["Orientation"], "1");
    EXPECT_EQ(tags["Make"], "Apple");
    EXPECT_EQ(tags["ExifImageWidth"], "96");
    EXPECT_EQ(tags.count("ThumbnailImage"), 1u);
    EXPECT_EQ(tags["Format"], "image/jpeg");
    EXPECT_EQ(tags.count("GPSLatitude"), row.noGps ? 0u : 1u);
    EXPECT_EQ(tags.count("ProfileDescription"), row.convert ? 0u : 1u);
    const Bitmap seen = row.convert ? DecodedFile(output) : ConvertedPixels(output, "-profile " + srgbPath);
    EXPECT_LT(MeanDeltaE(seen, reference), 1.0);
  }
  // Without conversion the P3 values shown as sRGB would be far off.
  EXPECT_GT(MeanDeltaE(patches, reference), 3.0);
}

}  // namespace
}  // namespace lumatrim::test
