#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <filesystem>

#include "JpegBuilder.h"
#include "OrientedPhotos.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "core/bytes/Error.h"
#include "rotation/JpegRotator.h"

using lumatrim::test::ReadFile;
using lumatrim::test::TempDir;
using lumatrim::test::WriteFile;
using namespace std::string_literals;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string CameraExif() {
  lumatrim::test::Ifd exif, ifd0;
  exif.Rational(0x829A, {{1, 125}}).Short(0x8827, {200});
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 5D").SubIfd(0x8769, exif);
  return lumatrim::test::TiffBuilder(lumatrim::test::Order::Intel).Bytes(ifd0);
}

QStringList FilesIn(const TempDir& dir) {
  return QDir(Q(dir.Path())).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

class JpegRotatorTest : public ::testing::Test {
 protected:
  // The turned photo's path, or empty text with the failure's message kept.
  QString Turn(JpegRotator& rotator, const QString& path, bool left) {
    try {
      return left ? rotator.RotateLeft(path, true) : rotator.RotateRight(path, true);
    } catch (const lumatrim::LumatrimError& error) {
      messages.push_back(QString::fromStdString(error.what()));
      return QString();
    }
  }
  TempDir dir;
  std::vector<QString> messages;
};

TEST_F(JpegRotatorTest, LeftThenRightGivesTheOriginalPixelsAndKeepsExif) {
  JpegRotator rotator;
  const std::string tiff = CameraExif();
  // Sides of whole blocks: nothing is trimmed, so the round trip is exact.
  for (auto [w, h] : {std::pair{64, 48}, std::pair{96, 80}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    std::string photo = uitest::WritePhoto(dir.File("photo.jpg"), w, h, tiff);
    std::string before = uitest::DecodedPixels(photo);
    namespace fs = std::filesystem;
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(photo, shared);

    EXPECT_EQ(Turn(rotator, Q(photo), true), Q(photo));
    EXPECT_EQ(uitest::PhotoSize(photo), std::make_pair(h, w)) << "turned: width and height swap";
    EXPECT_NE(uitest::DecodedPixels(photo), before);
    EXPECT_NE(ReadFile(photo).find("Exif\0\0"s + tiff), std::string::npos) << "the EXIF block is copied unchanged";
    EXPECT_EQ(fs::status(photo).permissions(), shared) << "not the private mode of a temporary file";
    EXPECT_EQ(Turn(rotator, Q(photo), false), Q(photo));
    EXPECT_EQ(uitest::DecodedPixels(photo), before);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("photo.jpg")}) << "no temporary file left";
  }
  EXPECT_TRUE(messages.empty());
}

// 100 x 75 in 16 x 16 blocks: turning left moves the partial right column of
// blocks to the top, where it cannot stay whole, so it is trimmed away; the
// way back loses nothing more.
TEST_F(JpegRotatorTest, PartialBlocksAreTrimmedAndTheRoundTripKeepsTheRest) {
  JpegRotator rotator;
  std::string photo = uitest::WritePhoto(dir.File("photo.jpg"), 100, 75, CameraExif());
  const lumatrim::Bitmap before = lumatrim::test::DecodedFile(photo);
  EXPECT_EQ(Turn(rotator, Q(photo), true), Q(photo));
  EXPECT_EQ(uitest::PhotoSize(photo), std::make_pair(75, 96));
  EXPECT_EQ(Turn(rotator, Q(photo), false), Q(photo));
  EXPECT_EQ(uitest::PhotoSize(photo), std::make_pair(96, 75));
  // All but the last columns, where the colour upsampling sees the new edge.
  EXPECT_LE(lumatrim::test::WorstLineDifference(lumatrim::test::Cropped(lumatrim::test::DecodedFile(photo), 92, 75),
                                                lumatrim::test::Cropped(before, 92, 75)),
            1.0);
  EXPECT_TRUE(messages.empty());
}

// Names up to the file system's limit turn too: the temporary file's name
// does not grow with the photo's.
TEST_F(JpegRotatorTest, PhotosWithNamesNearTheLimitAreTurned) {
  JpegRotator rotator;
  for (size_t length : {size_t{250}, size_t{255}}) {
    SCOPED_TRACE(length);
    const std::string name = std::string(length - 4, 'r') + ".jpg";
    const std::string photo = uitest::WritePhoto(dir.File(name), 64, 48);
    EXPECT_EQ(Turn(rotator, Q(photo), false), Q(photo));
    EXPECT_EQ(uitest::PhotoSize(photo), std::make_pair(48, 64));
    EXPECT_EQ(FilesIn(dir), QStringList{Q(name)}) << "no temporary file left";
    QFile::remove(Q(photo));
  }
  EXPECT_TRUE(messages.empty()) << messages.front().toStdString();
}

TEST_F(JpegRotatorTest, APhotoThatCannotBeTurnedStaysByteForByte) {
  const std::string good = uitest::PhotoBytes(256, 128, CameraExif());
  const struct {
    const char* name;
    std::string bytes;
    lumatrim::FailureKind kind;
  } cases[] = {
      {"first half of a photo", good.substr(0, good.size() / 2), lumatrim::FailureKind::DamagedData},
      {"a text file named .jpg", "this is not a photo\n", lumatrim::FailureKind::NotJpeg},
      {"an empty file", "", lumatrim::FailureKind::NotJpeg},
  };
  JpegRotator rotator;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string photo = WriteFile(dir.File("damaged.jpg"), c.bytes);
    try {
      rotator.RotateRight(Q(photo), true);
      ADD_FAILURE() << "turned";
    } catch (const lumatrim::LumatrimError& error) {
      EXPECT_EQ(error.Kind(), c.kind);
      EXPECT_TRUE(QString::fromStdString(error.what()).contains(QStringLiteral("„damaged.jpg“"))) << error.what();
    }
    EXPECT_EQ(ReadFile(photo), c.bytes);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("damaged.jpg")});
  }
}

// 450 x 600 as seen, in 16 x 16 blocks. What is trimmed depends on where the
// stored partial blocks land; the plan asked before the turn is what the turn
// then reports and what the file loses. Sides are the picture's as seen.
TEST_F(JpegRotatorTest, TheTrimAskedBeforeATurnIsTheTrimItMakes) {
  const lumatrim::Bitmap upright = lumatrim::test::LandmarkPicture(450, 600);
  const struct {
    int orientation;
    JpegRotator::Direction direction;
    lumatrim::EdgeTrim seen;
  } cases[] = {
      {1, JpegRotator::Direction::Right, {0, 8}},
      {1, JpegRotator::Direction::Left, {2, 0}},
      {3, JpegRotator::Direction::Right, {2, 0}},
      {2, JpegRotator::Direction::Right, {2, 8}},
      {6, JpegRotator::Direction::Left, {0, 0}},
  };
  JpegRotator rotator;
  for (const auto& c : cases) {
    SCOPED_TRACE("Orientation " + std::to_string(c.orientation));
    const QString photo = Q(WriteFile(dir.File("photo.jpg"), lumatrim::test::OrientedPhoto(upright, c.orientation)));
    EXPECT_EQ(JpegRotator::PlannedTrim(photo, c.direction), c.seen);
    const JpegRotator::Turned turned = rotator.Turn(photo, c.direction, true);
    EXPECT_EQ(turned.trim, c.seen);
    EXPECT_EQ(uitest::PhotoSize(photo.toStdString()), std::make_pair(600 - c.seen.rows, 450 - c.seen.columns));
  }
  EXPECT_EQ(JpegRotator::TrimText({2, 8}), QStringLiteral("2 × 8 px"));
  EXPECT_EQ(JpegRotator::PlannedTrim(Q(dir.File("missing.jpg")), JpegRotator::Direction::Left), lumatrim::EdgeTrim{});
}

}  // namespace
