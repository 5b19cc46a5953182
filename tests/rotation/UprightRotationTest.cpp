// Turning photos stored sideways or mirrored: the turn is of the picture the
// user sees, and the result is upright with EXIF that agrees with it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExiftoolCheck.h"
#include "JpegBuilder.h"
#include "OrientedPhotos.h"
#include "core/bytes/Error.h"
#include "core/photo/PhotoReader.h"
#include "rotation/JpegRotator.h"

namespace lumatrim::test {
namespace {

namespace fs = std::filesystem;

QString Q(const std::string& s) { return QString::fromStdString(s); }

class UprightRotation : public ::testing::Test {
 protected:
  void TurnRight(const std::string& path) {
    try {
      rotator.RotateRight(Q(path), true);
    } catch (const LumatrimError& error) {
      ADD_FAILURE() << error.what();
    }
  }
  JpegRotator rotator;
  TempDir dir;
};

// For every stored orientation, in both byte orders and both places of the
// thumbnail: the file holds the upright picture turned clockwise, Orientation
// 1, its real size, and a thumbnail of that same picture; other tags stay.
TEST_F(UprightRotation, TurningRightShowsTheUprightPictureTurnedClockwiseForAllEightOrientations) {
  const Bitmap upright = LandmarkPicture(128, 96);
  const Bitmap expected = TurnedClockwise(upright);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    for (Layout layout : {Layout::Camera, Layout::ThumbnailFirst}) {
      SCOPED_TRACE("Orientation " + std::to_string(orientation) +
                   (layout == Layout::Camera ? ", thumbnail last" : ", thumbnail first"));
      const Order order = orientation % 2 ? Order::Intel : Order::Motorola;
      const std::string path =
          WriteFile(dir.File("photo.jpg"), OrientedPhoto(upright, orientation, {.order = order, .layout = layout}));
      TurnRight(path);
      const SeenPhoto turned(path);
      EXPECT_LE(WorstLineDifference(turned.picture, expected), 6.0) << "the picture is not the expected turn";
      EXPECT_EQ(turned.orientation, 1);
      EXPECT_EQ(std::pair(turned.exifWidth, turned.exifHeight), std::pair(96, 128));
      EXPECT_EQ(turned.make, "Canon");
      EXPECT_TRUE(turned.ThumbnailInProportion()) << turned.thumbnail.Width << "x" << turned.thumbnail.Height;
      EXPECT_LE(LooksLike(turned.thumbnail, turned.picture), 12.0) << "the thumbnail shows another picture";
    }
  }
}

// The example of a 480 x 360 camera photo: 360 is not whole 16 px blocks.
// Stored upright, turning right moves that partial bottom row of blocks to
// the left edge, where it cannot stay whole: it is trimmed instead of staying
// there unturned, and the EXIF follows the file's real size. Stored upside
// down, the same turn leaves the partial row at the right edge: nothing is
// lost. A thumbnail that cannot be turned whole is made anew.
TEST_F(UprightRotation, APartialBlockRowIsTrimmedOnlyWhereItWouldStayUnturned) {
  const Bitmap upright = LandmarkPicture(480, 360);
  const struct {
    int orientation;
    Bitmap expected;
  } cases[] = {
      {1, TurnedClockwise(Cropped(upright, 480, 352))},
      {3, TurnedClockwise(upright)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("Orientation " + std::to_string(c.orientation));
    const std::string path = WriteFile(dir.File("photo.jpg"), OrientedPhoto(upright, c.orientation));
    TurnRight(path);
    const SeenPhoto turned(path);
    ASSERT_EQ(std::pair(turned.picture.Width, turned.picture.Height), std::pair(c.expected.Width, c.expected.Height));
    EXPECT_LE(WorstLineDifference(turned.picture, c.expected), 6.0) << "an edge strip is not turned";
    EXPECT_EQ(std::pair(turned.exifWidth, turned.exifHeight), std::pair(c.expected.Width, c.expected.Height));
    EXPECT_EQ(turned.orientation, 1);
    EXPECT_TRUE(turned.ThumbnailInProportion()) << turned.thumbnail.Width << "x" << turned.thumbnail.Height;
    EXPECT_LE(LooksLike(turned.thumbnail, turned.picture), 12.0);
  }
}

// The outside reader agrees: the eight built orientations and every corpus
// photo that can be turned, each turned right once.
TEST_F(UprightRotation, ExiftoolFindsEveryTurnedPhotoUprightWithoutNewWarnings) {
  if (!ExiftoolInstalled()) GTEST_SKIP() << "exiftool is not installed";
  // 72 rows are not whole blocks.
  const std::vector<std::string> sources =
      UprightCheckSources(dir, LandmarkPicture(120, 72), {.order = Order::Motorola});
  std::vector<WrittenPhoto> written;
  for (const std::string& source : sources) {
    SCOPED_TRACE(source);
    const std::string copy = dir.File("turned_" + fs::path(source).filename().string());
    fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);  // the corpus is read-only
    try {
      rotator.RotateRight(Q(copy), true);
    } catch (const LumatrimError&) {
      EXPECT_EQ(ReadFile(copy), ReadFile(source)) << "a photo that cannot be turned stays as it was";
      continue;
    }
    written.push_back({copy, source});
  }
  ExpectAllUpright(written);
}

}  // namespace
}  // namespace lumatrim::test
