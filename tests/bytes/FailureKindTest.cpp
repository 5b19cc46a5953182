// Failures carry a kind the windows can put into words: the throw sites of
// file writing, file reading and the JPEG codec each name theirs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>

#include "JpegBuilder.h"
#include "WithoutRootRights.h"
#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/jpeg/JpegImage.h"

using lumatrim::FailureKind;
using lumatrim::LumatrimError;

namespace {

// The kind of the LumatrimError the action throws; Other with a failed
// expectation when it throws nothing.
FailureKind KindOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const LumatrimError& error) {
    EXPECT_NE(std::string(error.what()), "") << "the technical detail stays";
    return error.Kind();
  }
  ADD_FAILURE() << "nothing was thrown";
  return FailureKind::Other;
}

std::string CameraJpeg() {
  lumatrim::Bitmap bitmap(64, 48);
  for (size_t i = 0; i < bitmap.Bytes.size(); ++i) bitmap.Bytes[i] = static_cast<uint8_t>(i * 7);
  lumatrim::JpegImage image;
  image.Assign(std::move(bitmap));
  image.Compress(90);
  return image.Data();
}

TEST(FailureKinds, ThrowSitesNameWhatWentWrong) {
  lumatrim::test::TempDir dir;
  const std::string good = CameraJpeg();
  struct Case {
    const char* what;
    std::function<void()> action;
    FailureKind kind;
  } cases[] = {
      {"write into a missing folder", [&] { lumatrim::AtomicFile::Write(dir.File("none/a.jpg"), "x"); },
       FailureKind::FileMissing},
      {"write a name too long", [&] { lumatrim::AtomicFile::Write(dir.File(std::string(300, 'n') + ".jpg"), "x"); },
       FailureKind::NameTooLong},
      {"read a missing photo", [&] { lumatrim::JpegImage().LoadFromFile(dir.File("missing.jpg")); },
       FailureKind::FileMissing},
      {"read a text file", [&] { lumatrim::JpegImage().LoadFromBytes("This is a text file."); },
       FailureKind::NotJpeg},
      {"decode a photo cut in half",
       [&] {
         lumatrim::JpegImage image;
         image.LoadFromBytes(good.substr(0, good.size() / 2));
         (void)image.Decode();
       },
       FailureKind::DamagedData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(KindOf(c.action), c.kind);
  }
}

TEST(FailureKinds, AFolderWithoutWriteRightsIsNoPermission) {
  lumatrim::test::TempDir dir;
  const std::string folder = dir.File("locked");
  ASSERT_EQ(::mkdir(folder.c_str(), 0555), 0);
  const int kind = lumatrim::test::WithoutRootRights([&] {
    try {
      lumatrim::AtomicFile::Write(folder + "/a.jpg", "x");
    } catch (const LumatrimError& error) {
      return static_cast<int>(error.Kind());
    }
    return -1;
  });
  EXPECT_EQ(kind, static_cast<int>(FailureKind::NoPermission));
  ::chmod(folder.c_str(), 0755);
}

TEST(FailureKinds, ErrnoValuesMapToKinds) {
  EXPECT_EQ(lumatrim::FailureKindOfErrno(ENOSPC, FailureKind::WriteFailed), FailureKind::NoSpace);
  EXPECT_EQ(lumatrim::FailureKindOfErrno(EDQUOT, FailureKind::WriteFailed), FailureKind::NoSpace);
  EXPECT_EQ(lumatrim::FailureKindOfErrno(EROFS, FailureKind::WriteFailed), FailureKind::NoPermission);
  EXPECT_EQ(lumatrim::FailureKindOfErrno(EIO, FailureKind::WriteFailed), FailureKind::WriteFailed);
  EXPECT_EQ(LumatrimError("plain").Kind(), FailureKind::Other);
}

}  // namespace
