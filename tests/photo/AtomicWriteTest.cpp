// Writes go to a temporary file beside the target and replace it only when
// complete; a failed write leaves every file as it was and names the file.
#include "support/WithoutRootRights.h"
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"
#include "photo/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

Names Listing(const std::string& folder) {
  Names names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// True when the write fails with a LumatrimError whose message names `name`.
bool FailsNaming(const std::string& name, const std::function<void()>& write) {
  try {
    write();
  } catch (const LumatrimError& error) {
    return std::string(error.what()).find(name) != std::string::npos;
  }
  return false;
}

const std::string kPhoto = "\xFF\xD8" + SegmentBytes(0xFE, "hello") + BodyAfterApp0(EncodedJpeg(16, 16));


}  // namespace

TEST(AtomicFile, ReplacesOnlyAfterACompleteWriteKeepingPermissionsAndLinks) {
  TempDir dir;
  const std::string path = WriteFile(dir.File("a.bin"), "old");
  fs::permissions(path, fs::perms(0640));
  fs::create_symlink(path, dir.File("link.bin"));
  {
    AtomicFile file(dir.File("link.bin"));
    file.Append("new");
    EXPECT_EQ(ReadFile(path), "old") << "the target is untouched while writing";
    file.Commit();
  }
  { AtomicFile abandoned(path); abandoned.Append("half"); }
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_TRUE(fs::is_symlink(dir.File("link.bin")));
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
  EXPECT_EQ(Listing(dir.Path()), (Names{"a.bin", "link.bin"})) << "no temporary file is left";
}

TEST(AtomicWrite, ReadOnlyFolderLeavesThePhotoIntact) {
  TempDir dir;
  fs::permissions(dir.Path(), fs::perms(0755));
  const std::string folder = dir.File("ro");
  fs::create_directory(folder);
  const std::string photo = WriteFile(folder + "/p.jpg", kPhoto);
  fs::permissions(photo, fs::perms(0644));
  fs::permissions(folder, fs::perms(0555));
  const int result = WithoutRootRights([&] {
    PhotoMetadata data = ReadPhotoMetadata(photo);
    if (!data.MetadataPresent()) return 1;
    DropExif(data);
    StartEmptyIptc(data);
    const std::string fresh = folder + "/new.jpg";
    if (!FailsNaming(photo, [&] { RewritePhoto(data, photo); })) return 2;
    const auto saveResized = [&] {
      const JpegImage image = LoadedImage(EncodedJpeg(8, 8));
      SetPictureSize(data, image.Height(), image.Width());
      WriteJpegWithMetadata(data, image, fresh);
    };
    if (!FailsNaming(fresh, saveResized)) return 3;
    if (!FailsNaming(photo, [&] { SaveIptc(data, photo); })) return 4;
    return 0;
  });
  fs::permissions(folder, fs::perms(0755));
  EXPECT_EQ(result, 0) << "1 unread, 2-4: a write did not fail with the file's name";
  EXPECT_EQ(ReadFile(photo), kPhoto);
  EXPECT_EQ(Listing(folder), Names{"p.jpg"});
}

// A photo removed after it was read, or a folder that is gone, is reported,
// not recreated; an oversized IPTC block is refused before anything is written.
TEST(AtomicWrite, VanishedFilesAndOversizedIptcLeaveEveryFile) {
  TempDir dir;
  const std::string photo = WriteFile(dir.File("p.jpg"), kPhoto);
  const std::string other = WriteFile(dir.File("other.jpg"), kPhoto);
  PhotoMetadata data = ReadPhotoMetadata(photo);
  ASSERT_TRUE(data.MetadataPresent());
  StartEmptyIptc(data);
  data.iptc->SetValue("ImageCaption", std::string(70000, 'x'));
  EXPECT_TRUE(FailsNaming("does not fit", [&] { SaveIptc(data, photo); }));
  EXPECT_EQ(ReadFile(photo), kPhoto);
  data.iptc->Clear();
  fs::remove(photo);
  DropExif(data);
  EXPECT_TRUE(FailsNaming(photo, [&] { RewritePhoto(data, photo); }));
  EXPECT_TRUE(FailsNaming(photo, [&] { SaveIptc(data, photo); }));
  EXPECT_TRUE(FailsNaming("sub/p.jpg", [&] { SaveIptc(data, dir.File("sub/p.jpg"), other); }));
  EXPECT_EQ(ReadFile(other), kPhoto);
  EXPECT_EQ(Listing(dir.Path()), Names{"other.jpg"});
}

namespace {

// A photo whose name is at the file system's limit (255 bytes) is rewritten
// in place: without its EXIF, and with new IPTC items. The temporary file's
// name stays short, so it is no longer the part that does not fit.
TEST(AtomicWrite, PhotosWithNamesAtTheLimitAreRewritten) {
  TempDir dir;
  const std::string name = std::string(251, 'x') + ".jpg";
  const std::string path = WriteFile(dir.File(name), JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Intel).Bytes(
                                                          Ifd().Ascii(0x010F, "Canon"))).Bytes() +
                                                      BodyAfterApp0(EncodedJpeg(16, 8)));
  {
    PhotoMetadata data = ReadPhotoMetadata(path);
    ASSERT_TRUE(data.MetadataPresent());
    StartEmptyIptc(data);
    data.iptc->SetValue("City", "Brno");
    ASSERT_NO_THROW(SaveIptc(data, path));
  }
  PhotoMetadata data = ReadPhotoMetadata(path);
  ASSERT_TRUE(data.MetadataPresent());
  EXPECT_TRUE(data.IptcPresent());
  DropExif(data);
  ASSERT_NO_THROW(RewritePhoto(data, path));
  PhotoMetadata after = ReadPhotoMetadata(path);
  EXPECT_FALSE(after.ExifPresent());
  EXPECT_EQ(Listing(dir.Path()), Names{name}) << "no temporary file left";
}

}  // namespace
