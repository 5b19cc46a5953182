// Writes go to a temporary file beside the target and replace it only when
// complete; a failed write leaves every file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"
#include "writer/WriterSupport.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string MessageOf(const std::function<void()>& write) {
  try {
    write();
  } catch (const LumatrimError& error) {
    return error.what();
  }
  return "(no error)";
}

std::string PhotoWithComment() {
  return std::string("\xFF\xD8", 2) + SegmentBytes(0xFE, "hello") + BodyAfterApp0(EncodedJpeg(16, 16));
}

}  // namespace

TEST(AtomicFile, ReplacesOnlyAfterACompleteWrite) {
  TempDir dir;
  const std::string path = WriteFile(dir.File("a.bin"), "old");
  ::chmod(path.c_str(), 0640);
  {
    AtomicFile file(path);
    file.Append("new ");
    EXPECT_EQ(ReadFile(path), "old") << "the target is untouched while writing";
    file.Append("bytes");
    file.Commit();
  }
  EXPECT_EQ(ReadFile(path), "new bytes");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u) << "permissions are kept";
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"a.bin"});

  SCOPED_TRACE("an abandoned write removes its temporary file");
  { AtomicFile abandoned(path); abandoned.Append("half"); }
  EXPECT_EQ(ReadFile(path), "new bytes");
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"a.bin"});

  SCOPED_TRACE("a link is followed; the file it names is replaced");
  fs::create_symlink(path, dir.File("link.bin"));
  AtomicFile::Write(dir.File("link.bin"), "via link");
  EXPECT_TRUE(fs::is_symlink(dir.File("link.bin")));
  EXPECT_EQ(ReadFile(path), "via link");
}

TEST(AtomicFile, FailuresNameTheFileAndKeepEverything) {
  TempDir dir;
  SCOPED_TRACE("a folder that does not exist");
  const std::string missing = dir.File("gone/x.jpg");
  EXPECT_NE(MessageOf([&] { AtomicFile::Write(missing, "x"); }).find(missing), std::string::npos);

  SCOPED_TRACE("a target that is a folder");
  fs::create_directory(dir.File("sub"));
  EXPECT_NE(MessageOf([&] { AtomicFile::Write(dir.File("sub"), "x"); }).find("sub"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir.File("sub")));
}

// Root ignores folder permissions, so as root the attempt runs in a child
// process that has given up its rights. Returns the attempt's own result.
int WithoutRootRights(const std::function<int()>& attempt) {
  if (::geteuid() != 0) return attempt();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(98);
    ::_exit(attempt());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 97;
}

TEST(AtomicWrite, ReadOnlyFolderLeavesThePhotoIntact) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  const std::string folder = dir.File("ro");
  fs::create_directory(folder);
  const std::string photo = WriteFile(folder + "/p.jpg", PhotoWithComment());
  ::chmod(photo.c_str(), 0644);
  ::chmod(folder.c_str(), 0555);
  const int result = WithoutRootRights([&] {
    TimgData data;
    if (!data.ReadPhoto(photo)) return 1;
    data.DropExif();
    data.StartEmptyIptc();
    if (MessageOf([&] { data.RewritePhoto(photo); }).find(photo) == std::string::npos) return 2;
    const std::string fresh = folder + "/new.jpg";
    if (MessageOf([&] { data.SaveJpegWithMetadata(LoadedImage(EncodedJpeg(8, 8)), fresh, true); }).find(fresh) ==
        std::string::npos) {
      return 3;
    }
    if (MessageOf([&] { data.IptcInfo->SaveToFile(photo); }).find(photo) == std::string::npos) return 4;
    return 0;
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(result, 0) << "1 unread, 2-4: a write did not fail with the file's name";
  EXPECT_EQ(ReadFile(photo), PhotoWithComment());
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"p.jpg"});
}

TEST(AtomicWrite, PhotoThatDisappearedIsReportedNotRecreated) {
  TempDir dir;
  const std::string photo = WriteFile(dir.File("p.jpg"), PhotoWithComment());
  const std::string other = WriteFile(dir.File("other.jpg"), PhotoWithComment());
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(photo));
  fs::remove(photo);

  SCOPED_TRACE("removing EXIF from a photo that is gone");
  data.DropExif();
  EXPECT_THROW(data.RewritePhoto(photo), LumatrimError);
  EXPECT_FALSE(fs::exists(photo));

  SCOPED_TRACE("saving IPTC items into it");
  data.StartEmptyIptc();
  data.IptcInfo->SetValue("City", "Praha");
  EXPECT_THROW(data.IptcInfo->SaveToFile(photo), LumatrimError);
  EXPECT_FALSE(fs::exists(photo));

  SCOPED_TRACE("the folder is gone as well");
  fs::remove_all(dir.File("sub"));
  EXPECT_THROW(data.IptcInfo->SaveToFile(dir.File("sub/p.jpg"), other), LumatrimError);
  EXPECT_EQ(ReadFile(other), PhotoWithComment());
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"other.jpg"});
}

TEST(AtomicWrite, OversizedIptcIsRefusedBeforeWriting) {
  TempDir dir;
  const std::string photo = WriteFile(dir.File("p.jpg"), PhotoWithComment());
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(photo));
  data.StartEmptyIptc();
  data.IptcInfo->SetValue("ImageCaption", std::string(40000, 'x'));
  const std::string message = MessageOf([&] { data.IptcInfo->SaveToFile(photo); });
  EXPECT_NE(message.find("40000"), std::string::npos) << message;
  EXPECT_EQ(ReadFile(photo), PhotoWithComment());
  EXPECT_EQ(Listing(dir.Path()), std::vector<std::string>{"p.jpg"});
}
