#include <gtest/gtest.h>
#include <lcms2.h>

#include "core/heif/HeifMetadata.h"
#include "core/optimize/OptimizeBatch.h"
#include "jpeg/JpegTestKit.h"
#include "support/ColorCheck.h"

namespace lumatrim::test {
namespace {

// A CMYK press profile whose inks are not the plain formula (the magenta ink
// is weaker), so a decoder that ignores the profile is caught.
int WeakMagenta(const cmsUInt16Number in[], cmsUInt16Number out[], void* toLab) {
  const double k = 1 - in[3] / 65535.0;
  const double rgb[3] = {(1 - in[0] / 65535.0) * k, (1 - in[1] / 65535.0) * k * 0.8 + 0.1, (1 - in[2] / 65535.0) * k};
  cmsCIELab lab;
  cmsDoTransform(toLab, rgb, &lab, 1);
  cmsFloat2LabEncoded(out, &lab);
  return TRUE;
}

std::string CmykPressProfile() {
  cmsHPROFILE srgb = cmsCreate_sRGBProfile(), lab = cmsCreateLab4Profile(nullptr), profile = cmsCreateProfilePlaceholder(nullptr);
  cmsHTRANSFORM toLab = cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
  cmsSetProfileVersion(profile, 2.1);
  cmsSetDeviceClass(profile, cmsSigOutputClass);
  cmsSetColorSpace(profile, cmsSigCmykData);
  cmsSetPCS(profile, cmsSigLabData);
  // A lut16Type: input curves, table, output curves.
  cmsPipeline* toPcs = cmsPipelineAlloc(nullptr, 4, 3);
  cmsStage* table = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
  cmsStageSampleCLut16bit(table, WeakMagenta, toLab, 0);
  cmsPipelineInsertStage(toPcs, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
  cmsPipelineInsertStage(toPcs, cmsAT_END, table);
  cmsPipelineInsertStage(toPcs, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
  cmsWriteTag(profile, cmsSigAToB0Tag, toPcs);
  cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::string bytes(size, '\0');
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsPipelineFree(toPcs);
  cmsDeleteTransform(toLab);
  for (cmsHPROFILE p : {profile, lab, srgb}) cmsCloseProfile(p);
  return bytes;
}

// The coded stream with the profile's APP2 segments right after its SOI.
std::string WithProfile(const std::string& jpeg, const std::string& icc) {
  std::string segments;
  for (const KeptSegment& segment : IccProfileSegments(icc)) segments += "\xFF\xE2" + segment.content;
  return jpeg.substr(0, 2) + segments + jpeg.substr(2);
}

// Adobe RGB and CMYK/YCCK photos (CMYK stored inverted, as Adobe writes it)
// come out in sRGB as ImageMagick converts them through their profiles; a
// kept profile goes with unchanged pixels.
TEST(ColourConversion, ProfiledJpegsOptimiseToMatchingSrgb) {
  if (!ConvertInstalled()) GTEST_SKIP() << "needs ImageMagick";
  const TempDir in, out;
  const std::string srgb = "-profile " + WriteFile(in.File("srgb.icc"), color::MakeRgbProfile(color::kSrgbPrimaries, color::TransferCurve::Srgb));
  const Bitmap patches = ColourPatches(96, 64);
  Bitmap plainInks = patches;  // what the plain formula makes of the inks below (K at 40 of 255)
  std::vector<uint8_t> cmyk;
  for (size_t i = 0; i < patches.Bytes.size(); i += 3) cmyk.insert(cmyk.end(), {patches.Bytes[i], patches.Bytes[i + 1], patches.Bytes[i + 2], 215});
  for (uint8_t& value : plainInks.Bytes) value = static_cast<uint8_t>((value * 215 + 127) / 255);
  const std::string adobeRgb = WithProfile(EncodeRgb(patches, {.hSampling = 1, .vSampling = 1, .quality = 97}),
                                           color::MakeRgbProfile(kAdobeRgb, color::TransferCurve::Gamma22));
  const RawOptions cmykStream{.components = 4, .jpegSpace = JCS_CMYK, .hSampling = 1, .vSampling = 1, .quality = 97};
  RawOptions ycckStream = cmykStream;
  ycckStream.jpegSpace = JCS_YCCK;
  const std::string press = CmykPressProfile();
  const struct {
    const char* name;
    std::string jpeg;
    bool convert;
    std::string reference;  // ImageMagick's arguments
    const Bitmap* unmanaged;  // the picture's values taken as sRGB
  } rows[] = {
      {"adobe_rgb", adobeRgb, true, srgb, &patches},
      {"adobe_rgb_kept", adobeRgb, false, srgb, nullptr},
      {"cmyk", WithProfile(EncodeRaw(cmyk, 96, 64, cmykStream), press), true, srgb, &plainInks},
      {"ycck", WithProfile(EncodeRaw(cmyk, 96, 64, ycckStream), press), true, srgb, &plainInks},
      {"cmyk_no_profile", EncodeRaw(cmyk, 96, 64, cmykStream), true, "-colorspace sRGB", nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string source = WriteFile(in.File(std::string(row.name) + ".jpg"), row.jpeg);
    const Bitmap reference = ConvertedPixels(source, row.reference);
    if (row.unmanaged) {
      EXPECT_GT(MeanDeltaE(*row.unmanaged, reference), 3.0) << "the profile must matter";
    }
    const OptimizeSettings settings{.TargetFolder = out.Path(), .Compression = 3, .KeepSize = true, .ConvertToSrgb = row.convert};
    const BatchReport report = RunOptimizeBatch({source}, settings);
    ASSERT_EQ(report.Written(), 1) << report.Photos[0].Detail;
    JpegImage written;
    written.LoadFromFile(report.Photos[0].Output);
    EXPECT_EQ(written.IccProfile().empty(), row.convert);
    const Bitmap seen = row.convert ? DecodedFile(report.Photos[0].Output) : ConvertedPixels(report.Photos[0].Output, srgb);
    EXPECT_LT(MeanDeltaE(seen, reference), 2.0);
  }
}

}  // namespace
}  // namespace lumatrim::test
