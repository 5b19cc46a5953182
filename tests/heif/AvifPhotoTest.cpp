#include <gtest/gtest.h>

#include "cli/Commands.h"
#include "core/heif/HeifImage.h"
#include "core/heif/HeifKind.h"
#include "core/optimize/PhotoFolderScan.h"
#include "core/photo/PhotoReader.h"
#include "optimize/OptimizePhotos.h"
#include "support/ColorCheck.h"

namespace lumatrim::test {
namespace {

bool AvifencInstalled() { return !RunCommand("command -v avifenc 2>/dev/null").empty(); }

// avifenc's AVIF of picture (handed over as a 4:4:4 JPEG at quality 100).
std::string MadeAvif(const TempDir& dir, const std::string& name, const Bitmap& picture, const std::string& options) {
  const std::string source = WriteFile(dir.File(name + ".source.jpg"), EncodeRgb(picture, {.hSampling = 1, .vSampling = 1, .quality = 100}));
  RunCommand("avifenc --min 0 --max 8 " + options + " " + source + " " + dir.File(name) + " >/dev/null 2>&1");
  return dir.File(name);
}

int Optimize(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStderr();  // its line a photo
  const int status = cli::RunOptimize(static_cast<int>(argv.size()), argv.data());
  testing::internal::GetCapturedStderr();
  return status;
}

// A phone's AVIF: the picture stored sideways, irot turning it upright, and
// EXIF (Orientation 6, the stored sizes) describing the stored picture. It is
// known by its bytes and its name, decoded upright once, and optimised to an
// upright JPEG with Orientation 1 and the output's sizes.
TEST(AvifPhotos, APhoneAvifIsKnownDecodedUprightAndOptimised) {
  if (!AvifencInstalled() || !ExiftoolInstalled()) GTEST_SKIP() << "needs avifenc, exiftool";
  const TempDir in, out;
  const Bitmap upright = LandmarkPicture(96, 128);
  Ifd exif;
  exif.Long(0xA002, {128}).Long(0xA003, {96});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Apple").Short(0x0112, {6}).SubIfd(0x8769, exif);
  const std::string tiff = WriteFile(in.File("exif.tiff"), TiffBuilder(Order::Motorola).Bytes(ifd0));
  // irot 3: a quarter turn clockwise, as Orientation 6 asks.
  const std::string avif = MadeAvif(in, "PHONE.AVIF", StoredFor(upright, 6), "-d 8 -y 420 --irot 3 --exif " + tiff);
  const std::string bytes = ReadFile(avif);
  ASSERT_FALSE(bytes.empty()) << "avifenc made no file";
  EXPECT_TRUE(IsHeifStart(bytes.substr(0, kHeifProbeBytes)) && IsHeifFile(avif));
  EXPECT_TRUE(IsPhotoFileName("PHONE.AVIF") && HasHeifExtension("PHONE.AVIF"));
  // The bytes decide, not the name: the same file named .jpg reads as AVIF.
  for (const std::string& path : {avif, WriteFile(in.File("misnamed.jpg"), bytes)}) {
    const PhotoMetadata meta = ReadPhotoMetadata(path);
    ASSERT_TRUE(meta.ExifPresent()) << path;
    EXPECT_EQ(meta.exif->TagValueByName("Make") + " " + std::to_string(meta.exif->GetTagInt("Orientation")), "Apple 6");
  }

  ASSERT_EQ(Optimize({"--out", out.Path(), "--long", "64", avif}), 0);
  const std::string output = out.File("opt_PHONE.jpg");
  EXPECT_EQ(SizeOf(output), std::make_pair(48, 64));
  EXPECT_LT(LooksLike(DecodedFile(output), upright), 8.0) << "turned a second time";
  for (const auto& [written, problems] : UprightProblems({{output, avif}})) EXPECT_EQ(problems, std::vector<std::string>{});
}

// Colours through libheif's AV1 path: sRGB, Display P3 signalled by nclx
// (as most AVIFs say it) or by an ICC profile, 8 to 12 bits, full or limited
// range, all come out of the decode (which the preview and the batch share)
// in sRGB close to a colour-managed reference.
TEST(AvifPhotos, ColoursComeOutInSrgb) {
  if (!AvifencInstalled() || !ConvertInstalled()) GTEST_SKIP() << "needs avifenc, ImageMagick";
  const TempDir in;
  const Bitmap patches = ColourPatches(96, 64);
  const std::string p3 = WriteFile(in.File("p3.icc"), color::MakeRgbProfile(kDisplayP3, color::TransferCurve::Srgb));
  const std::string srgb = WriteFile(in.File("srgb.icc"), color::MakeRgbProfile(color::kSrgbPrimaries, color::TransferCurve::Srgb));
  const std::string patchesJpeg = WriteFile(in.File("patches.jpg"), EncodeRgb(patches, {.hSampling = 1, .vSampling = 1, .quality = 100}));
  const Bitmap p3Reference = ConvertedPixels(patchesJpeg, "-profile " + p3 + " -profile " + srgb);
  ASSERT_GT(MeanDeltaE(patches, p3Reference), 2.5) << "P3 values shown as sRGB would be far off";
  const struct {
    const char* name;
    std::string options;
    const Bitmap& reference;
  } rows[] = {
      {"srgb8", "-d 8 -y 420", patches},
      {"srgb10", "-d 10 -y 420", patches},
      {"srgb12limited", "-d 12 -y 422 -r limited", patches},
      {"p3nclx8", "-d 8 -y 420 --cicp 12/13/6", p3Reference},
      {"p3icc10", "-d 10 -y 444 --icc " + p3, p3Reference},
  };
  for (const auto& row : rows) {
    HeifImage image;
    image.LoadFromFile(MadeAvif(in, std::string(row.name) + ".avif", patches, row.options));
    EXPECT_LT(MeanDeltaE(image.Decode(), row.reference), 1.0) << row.name;
  }
}

}  // namespace
}  // namespace lumatrim::test
