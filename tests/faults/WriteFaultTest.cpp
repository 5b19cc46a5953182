// Writes that fail half way (full disk, failing flush, refused rename, read-only
// folder) leave the photo and every earlier output byte for byte, leave no
// temporary file, and say what went wrong and where.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/iptc/IptcRecord.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "faults/FaultHooks.h"
#include "faults/FaultKit.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

namespace {

// One way the program writes a photo. The photo is dir/p.jpg; writers that
// make a new file write dir/opt_p.jpg, where an earlier output already stands.
struct Writer {
  const char* name;
  bool inPlace;
  bool viaAtomicFile;  // flushes before the rename and names the system's cause
  std::function<void(const std::string& dir)> write;
};

const std::vector<Writer>& Writers() {
  static const std::vector<Writer> writers = {
      {"RewritePhoto without EXIF", true, true,
       [](const std::string& dir) {
         PhotoMetadata data = ReadPhotoMetadata(dir + "/p.jpg");
         DropExif(data);
         RewritePhoto(data, dir + "/p.jpg");
       }},
      {"IPTC items saved into the photo", true, true,
       [](const std::string& dir) {
         PhotoMetadata data = ReadPhotoMetadata(dir + "/p.jpg");
         StartEmptyIptc(data);
         data.iptc->SetValue("City", "Brno");
         SaveIptc(data, dir + "/p.jpg");
       }},
      {"WriteJpegWithMetadata over an earlier output", false, true,
       [](const std::string& dir) {
         PhotoMetadata data = ReadPhotoMetadata(dir + "/p.jpg");
         JpegImage image;
         image.LoadFromFile(dir + "/p.jpg");
         SetPictureSize(data, image.Height(), image.Width());
         WriteJpegWithMetadata(data, image, dir + "/opt_p.jpg");
       }},
      {"JpegImage::SaveToFile over an earlier output", false, false,
       [](const std::string& dir) {
         JpegImage image;
         image.LoadFromFile(dir + "/p.jpg");
         image.SaveToFile(dir + "/opt_p.jpg");
       }},
      {"batch over an earlier output", false, true,
       [](const std::string& dir) {
         OptimizeSettings settings;
         settings.TargetFolder = dir;
         settings.KeepSize = true;
         settings.Jobs = 1;
         BatchOrThrow({dir + "/p.jpg"}, settings);
       }},
  };
  return writers;
}

// A folder holding the photo and, for writers that make a new file, an earlier output.
void Stage(const std::string& dir, size_t commentBytes = 3000) {
  WriteFile(dir + "/p.jpg", CameraPhoto(commentBytes));
  WriteFile(dir + "/opt_p.jpg", CameraPhoto(50, 16, 8));
}

// Bytes the writer puts into its file when nothing fails.
size_t OutputSize(const Writer& writer) {
  TempDir dir;
  Stage(dir.Path());
  writer.write(dir.Path());
  return ReadFile(dir.Path() + (writer.inPlace ? "/p.jpg" : "/opt_p.jpg")).size();
}

// Runs the writer with a fault armed and checks that it failed cleanly.
void ExpectCleanFailure(const Writer& writer, const std::string& dir, const std::function<void()>& arm,
                        const std::string& cause, bool injected = true) {
  const auto before = Snapshot(dir);
  std::string message;
  int hits = 0;
  {
    faults::Armed armed;
    arm();
    message = MessageOf([&] { writer.write(dir); });
    hits = faults::FaultsHit();
  }
  if (injected) {
    EXPECT_GT(hits, 0) << "the fault was never reached";
  }
  EXPECT_NE(message, "(no error)") << "a failed write was reported as success";
  EXPECT_EQ(Snapshot(dir), before) << "a file changed or a temporary file was left behind";
  EXPECT_NE(message.find(writer.inPlace ? "p.jpg" : "opt_p.jpg"), std::string::npos) << message;
  if (!cause.empty() && writer.viaAtomicFile) {
    EXPECT_NE(message.find(cause), std::string::npos) << message;
  }
}

}  // namespace

TEST(WriteFaults, DiskFullPartWayThroughKeepsEveryFile) {
  for (const Writer& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    const size_t size = OutputSize(writer);
    for (size_t budget : {size_t{0}, size_t{1}, size_t{4}, size_t{100}, size / 2, size - 1}) {
      SCOPED_TRACE("the disk fills after " + std::to_string(budget) + " of " + std::to_string(size) + " bytes");
      TempDir dir;
      Stage(dir.Path());
      ExpectCleanFailure(writer, dir.Path(), [&] { faults::FailWritesAfter(budget); }, std::strerror(ENOSPC));
    }
  }
}

TEST(WriteFaults, FailedFlushOrRenameKeepsEveryFile) {
  for (const Writer& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    if (writer.viaAtomicFile) {
      SCOPED_TRACE("the flush to disk fails");
      TempDir dir;
      Stage(dir.Path());
      ExpectCleanFailure(writer, dir.Path(), [] { faults::FailFlush(); }, std::strerror(EIO));
    }
    for (int error : {EXDEV, EACCES, EBUSY}) {
      SCOPED_TRACE(std::string("the rename fails: ") + std::strerror(error));
      TempDir dir;
      Stage(dir.Path());
      ExpectCleanFailure(writer, dir.Path(), [error] { faults::FailRename(error); }, std::strerror(error));
    }
  }
}

TEST(WriteFaults, FullTmpfsKeepsEveryFile) {
  TempDir dir;
  const std::string disk = dir.File("disk");
  fs::create_directory(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << ")";
  }
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{disk};

  // A 40 kB photo leaves no room on a 64 kB disk for a second copy of itself.
  Stage(disk, 40000);
  for (const Writer& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    ExpectCleanFailure(writer, disk, [] {}, std::strerror(ENOSPC), false);
  }
}

TEST(WriteFaults, ReadOnlyFolderKeepsEveryFile) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  const std::string folder = dir.File("ro");
  fs::create_directory(folder);
  Stage(folder);
  for (const auto& entry : fs::directory_iterator(folder)) ::chmod(entry.path().c_str(), 0644);
  ::chmod(folder.c_str(), 0555);
  const auto before = Snapshot(folder);
  for (size_t i = 0; i < Writers().size(); ++i) {
    const Writer& writer = Writers()[i];
    SCOPED_TRACE(writer.name);
    const int result = WithoutRootRights([&] {
      const std::string message = MessageOf([&] { writer.write(folder); });
      if (message == "(no error)") return 1;
      return message.find(writer.inPlace ? "p.jpg" : "opt_p.jpg") == std::string::npos ? 2 : 0;
    });
    EXPECT_EQ(result, 0) << "1: reported as success, 2: the message does not name the file";
    EXPECT_EQ(Snapshot(folder), before);
  }
  ::chmod(folder.c_str(), 0755);
}

// A write that fails is that photo's failure: it is reported with the
// system's cause, the photos around it are still written where they can be,
// and an earlier file of its name stays.
TEST(WriteFaults, BatchGoesOnPastTheFailingPhotoAndKeepsWhatItWrote) {
  const auto stageBatch = [](const TempDir& dir) {
    fs::create_directory(dir.File("out"));
    std::vector<std::string> sources;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) sources.push_back(WriteFile(dir.File(name), CameraPhoto(2000)));
    WriteFile(dir.File("out/opt_c.jpg"), "earlier output of c");
    return sources;
  };
  OptimizeSettings settings;
  settings.KeepSize = true;
  settings.Jobs = 2;

  TempDir clean;
  settings.TargetFolder = clean.File("out");
  ASSERT_EQ(RunOptimizeBatch(stageBatch(clean), settings).Written(), 3);
  const std::string firstOutput = ReadFile(clean.File("out/opt_a.jpg"));
  const std::string lastOutput = ReadFile(clean.File("out/opt_c.jpg"));

  {
    SCOPED_TRACE("the disk fills while the second photo is written");
    TempDir dir;
    settings.TargetFolder = dir.File("out");
    const auto sources = stageBatch(dir);
    BatchReport report;
    {
      faults::Armed armed;
      faults::FailWritesAfter(firstOutput.size() + 10);
      report = RunOptimizeBatch(sources, settings);
    }
    ASSERT_EQ(report.Photos.size(), 3u);
    EXPECT_EQ(report.Photos[0].Outcome, PhotoOutcome::Written);
    const BatchPhotoResult& b = report.Photos[1];
    EXPECT_EQ(b.Failure, FailureKind::WriteFailed);
    EXPECT_NE(b.Detail.find("opt_b.jpg"), std::string::npos) << b.Detail;
    EXPECT_NE(b.Detail.find(std::strerror(ENOSPC)), std::string::npos) << b.Detail;
    EXPECT_EQ(report.Photos[2].Failure, FailureKind::WriteFailed) << "the disk is still full";
    const std::map<std::string, std::string> expected = {{"opt_a.jpg", Fingerprint(firstOutput)},
                                                         {"opt_c.jpg", Fingerprint("earlier output of c")}};
    EXPECT_EQ(Snapshot(dir.File("out")), expected);
  }
  {
    SCOPED_TRACE("the second output's name is taken by a folder");
    TempDir dir;
    settings.TargetFolder = dir.File("out");
    const auto sources = stageBatch(dir);
    fs::create_directory(dir.File("out/opt_b.jpg"));
    const BatchReport report = RunOptimizeBatch(sources, settings);
    EXPECT_EQ(report.Written(), 2);
    EXPECT_EQ(report.Photos[1].Failure, FailureKind::WriteFailed);
    EXPECT_NE(report.Photos[1].Detail.find("opt_b.jpg"), std::string::npos) << report.Photos[1].Detail;
    const std::map<std::string, std::string> expected = {
        {"opt_a.jpg", Fingerprint(firstOutput)}, {"opt_b.jpg", "<folder>"}, {"opt_c.jpg", Fingerprint(lastOutput)}};
    EXPECT_EQ(Snapshot(dir.File("out")), expected);
  }
}
