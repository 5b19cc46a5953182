// Optimised photos are upright: the batch applies the EXIF Orientation,
// chooses landscape or portrait from the upright picture, writes Orientation
// 1 and a thumbnail of the new picture.
#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/photo/PhotoReader.h"
#include "support/ExiftoolCheck.h"
#include "support/OrientedPhotos.h"

namespace lumatrim::test {
namespace {

OptimizeSettings TwoJobRun(const std::string& folder, int shortSide, int longSide) {
  OptimizeSettings s;
  s.TargetFolder = folder;
  s.ShortSide = shortSide;
  s.LongSide = longSide;
  s.Jobs = 2;
  return s;
}

TEST(OptimizeUpright, EveryOrientationGivesTheUprightPictureWithMatchingExif) {
  const Bitmap upright = LandmarkPicture(128, 96);
  TempDir in, out;
  std::vector<std::string> sources;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const Order order = orientation % 2 ? Order::Motorola : Order::Intel;
    sources.push_back(WriteFile(in.File("o" + std::to_string(orientation) + ".jpg"),
                                OrientedPhoto(upright, orientation, {.order = order})));
  }
  const struct {
    const char* name;
    OptimizeSettings settings;
    int width, height;
  } modes[] = {
      {"short 48, long 64: landscape, as the picture is seen", TwoJobRun(out.Path(), 48, 64), 64, 48},
      {"own size", [&] { OptimizeSettings s = TwoJobRun(out.Path(), 0, 0); s.KeepSize = true; return s; }(), 128, 96},
  };
  for (const auto& mode : modes) {
    ASSERT_EQ(RunOptimizeBatch(sources, mode.settings).Count(PhotoOutcome::Written), 8);
    for (int orientation = 1; orientation <= 8; ++orientation) {
      SCOPED_TRACE(std::string(mode.name) + ", Orientation " + std::to_string(orientation));
      const SeenPhoto output(out.File("opt_o" + std::to_string(orientation) + ".jpg"));
      ASSERT_EQ(std::pair(output.picture.Width, output.picture.Height), std::pair(mode.width, mode.height));
      EXPECT_LE(LooksLike(output.picture, upright), 6.0) << "the picture is not upright";
      EXPECT_EQ(output.orientation, 1);
      EXPECT_EQ(std::pair(output.exifWidth, output.exifHeight), std::pair(mode.width, mode.height));
      // About 160 px on the long side, or the picture's own size when smaller.
      EXPECT_EQ(std::pair(output.thumbnail.Width, output.thumbnail.Height),
                mode.width > 160 ? std::pair(160, 120) : std::pair(mode.width, mode.height));
      EXPECT_TRUE(output.ThumbnailInProportion());
      EXPECT_LE(LooksLike(output.thumbnail, output.picture), 8.0) << "the thumbnail shows another picture";
    }
  }
}

// A photo whose EXIF has no IFD1 gets no thumbnail added; one whose IFD1
// holds something other than a JPEG thumbnail loses IFD1 rather than keep a
// picture that no longer matches.
TEST(OptimizeUpright, NoThumbnailIsAddedAndNoStaleOneIsKept) {
  const Bitmap upright = LandmarkPicture(64, 48);
  TempDir in, out;
  Ifd strips;
  strips.Short(0x0103, {1}).Long(0x0111, {8}).Long(0x0117, {0});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Short(0x0112, {6}).Next(strips);
  const std::string coded = EncodedJpeg(StoredFor(upright, 6));
  const std::vector<std::string> sources = {
      WriteFile(in.File("none.jpg"), OrientedPhoto(upright, 6, {.thumbnail = false})),
      WriteFile(in.File("strips.jpg"), coded.substr(0, 2) +
                                           JpegBuilder().App1Exif(TiffBuilder(Order::Intel).Bytes(ifd0)).Bytes() +
                                           coded.substr(2)),
  };
  ASSERT_EQ(RunOptimizeBatch(sources, TwoJobRun(out.Path(), 24, 32)).Count(PhotoOutcome::Written), 2);
  for (const char* name : {"opt_none.jpg", "opt_strips.jpg"}) {
    SCOPED_TRACE(name);
    const SeenPhoto output(out.File(name));
    EXPECT_EQ(std::pair(output.picture.Width, output.picture.Height), std::pair(32, 24));
    EXPECT_LE(LooksLike(output.picture, upright), 6.0);
    EXPECT_EQ(output.orientation, 1);
    EXPECT_FALSE(output.thumbnailDirectory);
  }
}

// The outside reader agrees, for the built orientations and every corpus
// photo the batch can optimise.
TEST(OptimizeUpright, ExiftoolFindsEveryOptimisedPhotoUprightWithoutNewWarnings) {
  if (!ExiftoolInstalled()) GTEST_SKIP() << "exiftool is not installed";
  TempDir in, out;
  const std::vector<std::string> sources =
      UprightCheckSources(in, LandmarkPicture(200, 120), {.layout = Layout::ThumbnailFirst});
  std::vector<WrittenPhoto> written;
  for (const std::string& source : sources) {
    const BatchReport report = RunOptimizeBatch({source}, TwoJobRun(out.Path(), 120, 160));
    if (report.Photos.front().Outcome != PhotoOutcome::Written) continue;  // a photo that does not decode
    written.push_back({report.Photos.front().Output, source});
  }
  ExpectAllUpright(written);
}

}  // namespace
}  // namespace lumatrim::test
