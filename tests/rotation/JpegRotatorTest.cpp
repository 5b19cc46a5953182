#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <filesystem>
#include <memory>

#include "JpegBuilder.h"
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

// Rotation with the real jpegtran; stand-in tools are shell scripts.
class JpegRotatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("jpegtran")).isEmpty())
      GTEST_SKIP() << "jpegtran is not installed";
  }
  // The turned photo's path, or empty text with the failure's message kept.
  QString Turn(JpegRotator& rotator, const QString& path, bool left) {
    try {
      return left ? rotator.RotateLeft(path, true) : rotator.RotateRight(path, true);
    } catch (const lumatrim::LumatrimError& error) {
      messages.push_back(QString::fromStdString(error.what()));
      return QString();
    }
  }
  TempDir dir, toolDir;
  std::vector<QString> messages;
};

TEST_F(JpegRotatorTest, LeftThenRightGivesTheOriginalPixelsAndKeepsExif) {
  JpegRotator rotator;
  ASSERT_TRUE(rotator.ToolFound());
  const std::string tiff = CameraExif();
  for (auto [w, h] : {std::pair{64, 48}, std::pair{100, 75}}) {
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

TEST_F(JpegRotatorTest, MissingToolIsReportedAndTheFileIsUntouched) {
  std::string photo = uitest::WritePhoto(dir.File("a.jpg"), 32, 16);
  std::string original = ReadFile(photo);
  JpegRotator rotator(Q(dir.File("nowhere/jpegtran")));
  EXPECT_FALSE(rotator.ToolFound());
  EXPECT_TRUE(Turn(rotator, Q(photo), true).isEmpty());
  EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("JpegTran WinExec Error: 2")});
  EXPECT_EQ(ReadFile(photo), original);
  EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("a.jpg")});
}

TEST_F(JpegRotatorTest, FailingToolLeavesThePhotoByteForByte) {
  std::string good = uitest::PhotoBytes(256, 128, CameraExif());
  struct Case {
    const char* name;
    std::string bytes;
    std::string script;  // empty: the real tool; else $6 is the output file, $7 the input
  } cases[] = {
      {"first half of a photo", good.substr(0, good.size() / 2), ""},
      {"a text file named .jpg", "this is not a photo\n", ""},
      {"an empty file", "", ""},
      {"tool claims success, writes garbage", good, "printf 'garbage' > \"$6\"; exit 0"},
      {"tool claims success, writes nothing", good, "exit 0"},
      {"tool copies the photo unturned", good, "cp \"$7\" \"$6\"; exit 0"},
      {"tool fails with a message", good, "echo 'jpegtran: cannot open' >&2; exit 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto rotator = std::make_unique<JpegRotator>();
    if (!c.script.empty()) {
      QString tool = Q(WriteFile(toolDir.File("jpegtran"), "#!/bin/sh\n" + c.script + "\n"));
      QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
      rotator = std::make_unique<JpegRotator>(tool);
    }
    messages.clear();
    std::string photo = WriteFile(dir.File("damaged.jpg"), c.bytes);
    EXPECT_TRUE(Turn(*rotator, Q(photo), false).isEmpty());
    ASSERT_EQ(messages.size(), 1u);
    if (c.script.empty())
      EXPECT_TRUE(messages[0].contains(QStringLiteral("„damaged.jpg“"))) << messages[0].toStdString();
    EXPECT_EQ(ReadFile(photo), c.bytes);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("damaged.jpg")});
  }
}

}  // namespace
