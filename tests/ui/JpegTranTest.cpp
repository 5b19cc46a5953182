#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>

#include "JpegBuilder.h"
#include "TiffBuilder.h"
#include "UiTestPhotos.h"
#include "core/jpeg/JpegImage.h"
#include "ui/jpegtran/JpegTran.h"

using lumatrim::test::Ifd;
using lumatrim::test::Order;
using lumatrim::test::ReadFile;
using lumatrim::test::TempDir;
using lumatrim::test::TiffBuilder;
using lumatrim::test::WriteFile;

using namespace std::string_literals;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string CameraExif() {
  Ifd exif;
  exif.Rational(0x829A, {{1, 125}}).Short(0x8827, {200});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 5D").SubIfd(0x8769, exif);
  return TiffBuilder(Order::Intel).Bytes(ifd0);
}

QStringList FilesIn(const std::string& dir) {
  return QDir(Q(dir)).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

std::pair<int, int> SizeOf(const std::string& path) {
  lumatrim::JpegImage image;
  image.LoadFromFile(path);
  return {image.Width(), image.Height()};
}

// A stand-in tool: a shell script that does what the test needs.
std::string FakeTool(const TempDir& dir, const std::string& body) {
  std::string path = dir.File("jpegtran");
  WriteFile(path, "#!/bin/sh\n" + body + "\n");
  QFile::setPermissions(Q(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

class JpegTranTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("jpegtran")).isEmpty())
      GTEST_SKIP() << "jpegtran is not installed";
  }
  std::vector<QString> messages;
  void Capture(TJpegTran& tran) {
    tran.SetMessageSink([this](const QString& text) { messages.push_back(text); });
  }
};

TEST_F(JpegTranTest, LeftThenRightGivesTheOriginalPixelsBack) {
  TempDir dir;
  TJpegTran tran;
  Capture(tran);
  ASSERT_TRUE(tran.ToolFound());
  for (auto [w, h] : {std::pair{64, 48}, std::pair{100, 75}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    std::string photo = uitest::WritePhoto(dir.File("photo.jpg"), w, h, CameraExif());
    std::string before = uitest::DecodedPixels(photo);

    EXPECT_EQ(tran.RotateLeft(Q(photo), true), Q(photo));
    EXPECT_EQ(SizeOf(photo), std::make_pair(h, w)) << "turned: width and height swap";
    EXPECT_NE(uitest::DecodedPixels(photo), before);
    EXPECT_EQ(tran.RotateRight(Q(photo), true), Q(photo));
    EXPECT_EQ(SizeOf(photo), std::make_pair(w, h));
    EXPECT_EQ(uitest::DecodedPixels(photo), before);
    EXPECT_EQ(FilesIn(dir.Path()), QStringList{QStringLiteral("photo.jpg")}) << "no temporary file left";
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(JpegTranTest, ExifBlockAndPermissionsSurviveTheRotation) {
  TempDir dir;
  TJpegTran tran;
  Capture(tran);
  std::string tiff = CameraExif();
  std::string photo = uitest::WritePhoto(dir.File("exif.jpg"), 64, 48, tiff);
  namespace fs = std::filesystem;
  const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(photo, shared);

  ASSERT_FALSE(tran.RotateRight(Q(photo), true).isEmpty());
  std::string after = ReadFile(photo);
  EXPECT_NE(after.find("Exif\0\0"s + tiff), std::string::npos) << "the EXIF block is copied unchanged";
  EXPECT_EQ(fs::status(photo).permissions(), shared) << "not the private mode of a temporary file";
}

TEST_F(JpegTranTest, CopyModeWritesASuffixedFileAndLeavesTheSource) {
  TempDir dir;
  TJpegTran tran;
  Capture(tran);
  std::string photo = uitest::WritePhoto(dir.File("holiday.jpg"), 32, 16);
  std::string original = ReadFile(photo);
  EXPECT_EQ(tran.RotateLeft(Q(photo), false), Q(dir.File("holiday_rot.jpg")));
  EXPECT_EQ(ReadFile(photo), original);
  EXPECT_EQ(SizeOf(dir.File("holiday_rot.jpg")), std::make_pair(16, 32));
}

TEST_F(JpegTranTest, RotatingThroughALinkTurnsThePhotoAndKeepsTheLink) {
  TempDir dir;
  TJpegTran tran;
  Capture(tran);
  std::string photo = uitest::WritePhoto(dir.File("real.jpg"), 32, 16);
  std::filesystem::create_symlink(photo, dir.File("link.jpg"));
  ASSERT_FALSE(tran.RotateRight(Q(dir.File("link.jpg")), true).isEmpty());
  EXPECT_TRUE(QFileInfo(Q(dir.File("link.jpg"))).isSymLink());
  EXPECT_EQ(SizeOf(photo), std::make_pair(16, 32));
}

TEST_F(JpegTranTest, MissingToolIsReportedAndTheFileIsUntouched) {
  TempDir dir;
  std::string photo = uitest::WritePhoto(dir.File("a.jpg"), 32, 16);
  std::string original = ReadFile(photo);
  TJpegTran tran(nullptr, Q(dir.File("nowhere/jpegtran")));
  Capture(tran);
  EXPECT_FALSE(tran.ToolFound());
  EXPECT_TRUE(tran.RotateLeft(Q(photo), true).isEmpty());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QStringLiteral("JpegTran WinExec Error: 2"));
  EXPECT_EQ(ReadFile(photo), original);
  EXPECT_EQ(FilesIn(dir.Path()), QStringList{QStringLiteral("a.jpg")});
}

TEST_F(JpegTranTest, ToolFoundIsFixedWhenTheComponentIsCreated) {
  TempDir dir;
  TJpegTran tran(nullptr, Q(dir.File("jpegtran")));
  FakeTool(dir, "exit 0");
  EXPECT_FALSE(tran.ToolFound()) << "a tool added later is not noticed";
  EXPECT_TRUE(TJpegTran(nullptr, Q(dir.File("jpegtran"))).ToolFound());
}

TEST_F(JpegTranTest, FailingToolLeavesThePhotoByteForByte) {
  TempDir dir;
  TJpegTran tran;
  Capture(tran);
  std::string good = uitest::PhotoBytes(256, 256, CameraExif());
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"first half of a photo", good.substr(0, good.size() / 2)},
      {"a text file named .jpg", "this is not a photo\n"},
      {"an empty file", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    std::string photo = WriteFile(dir.File("damaged.jpg"), c.bytes);
    EXPECT_TRUE(tran.RotateRight(Q(photo), true).isEmpty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("„damaged.jpg“"))) << messages[0].toStdString();
    EXPECT_EQ(ReadFile(photo), c.bytes);
    EXPECT_EQ(FilesIn(dir.Path()), QStringList{QStringLiteral("damaged.jpg")});
  }
}

TEST_F(JpegTranTest, ToolOutputIsCheckedBeforeThePhotoIsReplaced) {
  TempDir toolDir, dir;
  std::string photo = uitest::WritePhoto(dir.File("p.jpg"), 32, 16);
  std::string original = ReadFile(photo);
  struct Case {
    const char* name;
    std::string script;
  } cases[] = {
      // $6 is the output file: -copy all -rotate N -outfile OUT IN
      {"claims success, writes garbage", "printf 'garbage' > \"$6\"; exit 0"},
      {"claims success, writes nothing", "exit 0"},
      {"copies the photo unturned", "cp \"$7\" \"$6\"; exit 0"},
      {"fails with a message", "echo 'jpegtran: cannot open' >&2; exit 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TJpegTran tran(nullptr, Q(FakeTool(toolDir, c.script)));
    Capture(tran);
    messages.clear();
    EXPECT_TRUE(tran.RotateRight(Q(photo), true).isEmpty());
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(ReadFile(photo), original);
    EXPECT_EQ(FilesIn(dir.Path()), QStringList{QStringLiteral("p.jpg")});
  }
}

TEST_F(JpegTranTest, HangingToolIsStoppedAtTheTimeLimit) {
  TempDir toolDir, dir;
  std::string photo = uitest::WritePhoto(dir.File("p.jpg"), 32, 16);
  std::string original = ReadFile(photo);
  TJpegTran tran(nullptr, Q(FakeTool(toolDir, "exec sleep 30")));
  Capture(tran);
  tran.SetTimeLimit(300);
  EXPECT_TRUE(tran.RotateLeft(Q(photo), true).isEmpty());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(ReadFile(photo), original);
  EXPECT_EQ(FilesIn(dir.Path()), QStringList{QStringLiteral("p.jpg")});
}

TEST(JpegTranNames, SuffixGoesBeforeTheLastDot) {
  EXPECT_EQ(TJpegTran::SuffixedName(QStringLiteral("holiday.jpg"), QStringLiteral("_rot")), QStringLiteral("holiday_rot.jpg"));
  EXPECT_EQ(TJpegTran::SuffixedName(QStringLiteral("/my.photos/img"), QStringLiteral("_rot")),
            QStringLiteral("/my_rot.photos/img"));
  EXPECT_EQ(TJpegTran::SuffixedName(QStringLiteral("img"), QStringLiteral("_rot")), QStringLiteral("_rotimg"));
}

}  // namespace
