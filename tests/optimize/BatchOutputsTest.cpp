// Where a batch's outputs go and what they carry besides the picture: no two
// photos of a batch share a name, long names fit, dates are kept, GPS can be
// left out.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "OptimizePhotos.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/optimize/OutputNames.h"
#include "core/photo/PhotoReader.h"
#include "support/ExifTool.h"

namespace lumatrim::test {
namespace {

namespace fs = std::filesystem;

OptimizeSettings Small(const std::string& folder) {
  OptimizeSettings s;
  s.TargetFolder = folder;
  s.ShortSide = 12;
  s.LongSide = 16;
  s.Jobs = 2;
  return s;
}

std::vector<std::string> NamesOf(const BatchReport& report) {
  std::vector<std::string> names;
  for (const BatchPhotoResult& photo : report.Photos) names.push_back(fs::path(photo.Output).filename().string());
  return names;
}

// Every camera restarts at IMG_0001: photos of one name from several folders
// all arrive; a source whose own name looks numbered keeps it.
TEST(BatchOutputs, SameNamesFromSeveralFoldersGetNumbers) {
  TempDir a, b, c, out;
  WriteFile(out.File("opt_x.jpg"), "from an earlier run");
  const std::vector<std::string> sources = {
      WriteFile(a.File("x.jpg"), CameraPhoto(40, 30, 1)), WriteFile(b.File("x.jpg"), CameraPhoto(40, 30, 2)),
      WriteFile(c.File("x-2.jpg"), CameraPhoto(40, 30, 3)), WriteFile(c.File("X.jpg"), CameraPhoto(40, 30, 4))};
  const BatchReport report = RunOptimizeBatch(sources, Small(out.Path()));
  EXPECT_EQ(report.Written(), 4);
  EXPECT_EQ(NamesOf(report), (std::vector<std::string>{"opt_x.jpg", "opt_x-3.jpg", "opt_x-2.jpg", "opt_X-4.jpg"}))
      << "x-2.jpg keeps its own name; letter case is ignored, as on a memory card";
  EXPECT_EQ((std::vector<bool>{report.Photos[0].Numbered, report.Photos[1].Numbered, report.Photos[2].Numbered}),
            (std::vector<bool>{false, true, false}));
  for (size_t i = 0; i < sources.size(); ++i) {
    SCOPED_TRACE(i);
    JpegImage written, source;
    written.LoadFromFile(report.Photos[i].Output);
    EXPECT_EQ(written.Decode(8).Bytes.size(), size_t{2 * 2 * 3});
    EXPECT_NE(ReadFile(report.Photos[i].Output), "from an earlier run") << "the earlier run's file is replaced";
  }
  EXPECT_NE(ReadFile(out.File("opt_x-3.jpg")), ReadFile(out.File("opt_x.jpg"))) << "two different photos";
}

// The output is a JPEG, and its extension says so for a HEIF photo however
// it was named (the name decides when it is a photo's); a JPEG keeps its name.
TEST(BatchOutputs, HeifPhotosGetAJpegExtension) {
  const std::string heif("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24), jpeg("\xFF\xD8\xFF");
  TempDir in, out;
  for (const auto& [source, bytes, output] : {std::tuple{"IMG_2.heic", jpeg, "opt_IMG_2.jpg"}, {"noext", heif, "opt_noext.jpg"},
                                              {"photo.dat", heif, "opt_photo.jpg"}, {"plain", jpeg, "opt_plain"},
                                              {"camera.JPG", heif, "opt_camera.JPG"}}) {
    const std::vector<PlannedOutput> plan = PlanOutputs({WriteFile(in.File(source), bytes)}, Small(out.Path()), 255);
    EXPECT_EQ(fs::path(plan.at(0).Path).filename().string(), output) << source;
  }
}

// Names near the file system's limit: written as they are when they fit,
// shortened (keeping opt_, a number and the extension) when not, never cut
// inside a character.
TEST(BatchOutputs, LongNamesAreShortenedNeverRefused) {
  TempDir a, b, out;
  const std::string name250 = std::string(246, 'n') + ".jpg";
  const std::string czech = std::string("ab") + [] {
    std::string s;
    for (int i = 0; i < 124; ++i) s += "\xC4\x8D";  // "č", 2 bytes
    return s;
  }() + ".jpg";  // 254 bytes
  ASSERT_EQ(name250.size(), 250u);
  const std::vector<std::string> sources = {WriteFile(a.File(name250), CameraPhoto(40, 30, 1)),
                                            WriteFile(b.File(name250), CameraPhoto(40, 30, 2)),
                                            WriteFile(a.File(czech), CameraPhoto(40, 30, 3))};
  const BatchReport report = RunOptimizeBatch(sources, Small(out.Path()));
  ASSERT_EQ(report.Written(), 3) << report.Photos[0].Detail;
  const std::vector<std::string> names = NamesOf(report);
  EXPECT_EQ(names[0], "opt_" + name250) << "254 bytes fit as they are";
  EXPECT_EQ(names[1], "opt_" + std::string(245, 'n') + "-2.jpg") << "the number takes the last letter's room";
  for (const std::string& name : names) {
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(name.substr(name.size() - 4), ".jpg");
  }
  EXPECT_EQ(names[2].size(), 254u) << "an odd byte of a two-byte letter is not kept";
  EXPECT_EQ((std::vector<bool>{report.Photos[0].Shortened, report.Photos[1].Shortened, report.Photos[2].Shortened}),
            (std::vector<bool>{false, true, true}));
  EXPECT_EQ(FittedOutputName("opt_short", "", ".jpg", 255), "opt_short.jpg");
}

TEST(BatchOutputs, OutputsKeepTheirSourcesModificationTimes) {
  TempDir in, out;
  const std::vector<std::string> sources = {WriteFile(in.File("a.jpg"), CameraPhoto(40, 30)),
                                            WriteFile(in.File("b.jpg"), CameraPhoto(30, 40))};
  const struct timespec taken[2] = {{0, UTIME_OMIT}, {1588325430, 250000000}};  // 2020-05-01, a quarter second
  ASSERT_EQ(::utimensat(AT_FDCWD, sources[0].c_str(), taken, 0), 0);
  const struct timespec older[2] = {{0, UTIME_OMIT}, {946684800, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, sources[1].c_str(), older, 0), 0);
  ASSERT_EQ(RunOptimizeBatch(sources, Small(out.Path())).Written(), 2);
  for (auto [file, time] : {std::pair{"opt_a.jpg", taken[1]}, std::pair{"opt_b.jpg", older[1]}}) {
    SCOPED_TRACE(file);
    struct stat info {};
    ASSERT_EQ(::stat(out.File(file).c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, time.tv_sec);
    EXPECT_EQ(info.st_mtim.tv_nsec, time.tv_nsec);
  }
}

// With the option, the outputs (a built photo and camera photos) lose every
// GPS tag and nothing else, with no new complaint from exiftool or exiv2;
// without it, the position is kept.
TEST(BatchOutputs, GpsOptionLeavesThePositionOut) {
  if (!HaveTool("exiftool -ver")) GTEST_SKIP() << "exiftool is not installed";
  TempDir in, out, kept;
  std::vector<std::string> sources;
  Ifd gps;
  gps.Bytes(0x0000, {2, 3, 0, 0}).Ascii(0x0001, "N").Rational(0x0002, {{50, 1}, {5, 1}, {30, 1}});
  Ifd exif;
  exif.Ascii(0x9003, "2024:05:01 10:20:30").Long(0xA002, {40}).Long(0xA003, {30});
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 5D").SubIfd(0x8769, exif).SubIfd(0x8825, gps);
  sources.push_back(WriteFile(in.File("built.jpg"), JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Motorola).Bytes(ifd0)).Bytes() +
                                                        CodedPicture(40, 30)));
  if (!CorpusDir().empty()) {
    for (const char* name : {"apple_gps_bigendian_1.jpg", "fujifilm_gps_iptc_1.jpg", "nikon_new_header_gps_2.jpg"}) {
      if (fs::exists(CorpusDir() + "/photos/" + name)) sources.push_back(CorpusDir() + "/photos/" + name);
    }
  }
  OptimizeSettings settings = Small(out.Path());
  settings.KeepSize = true;
  settings.RemoveGps = true;
  ASSERT_EQ(RunOptimizeBatch(sources, settings).Written(), static_cast<int>(sources.size()));
  settings.TargetFolder = kept.Path();
  settings.RemoveGps = false;
  ASSERT_EQ(RunOptimizeBatch(sources, settings).Written(), static_cast<int>(sources.size()));
  for (const std::string& source : sources) {
    const std::string name = "opt_" + fs::path(source).filename().string();
    SCOPED_TRACE(name);
    const std::string without = out.File(name), with = kept.File(name);
    EXPECT_EQ(Output("exiftool -s -s -s -GPS:all " + Quoted(without)), "");
    EXPECT_NE(Output("exiftool -s -s -s -GPSLatitude " + Quoted(with)), "");
    std::set<std::string> expected;
    for (const std::string& line : ExifLines(with)) {
      if (line.rfind("[GPS]", 0) != 0) expected.insert(line);
    }
    EXPECT_EQ(ExifLines(without), expected);
    const std::set<std::string> warned = ValidationWarnings(with);
    for (const std::string& warning : ValidationWarnings(without)) {
      if (warning.rfind("Validate ", 0) != 0) { EXPECT_TRUE(warned.count(warning)) << "new warning: " << warning; }
    }
    if (HaveTool("exiv2 --version")) { EXPECT_EQ(Exiv2Complaints(without), Exiv2Complaints(with)); }
  }
}

// "Přepsat" leaves an earlier output made read-only (its mode, which holds for
// root too), tells why, leaves no temporary file, and goes on.
TEST(BatchOutputs, ReadOnlyEarlierOutputIsNotReplaced) {
  TempDir in, out;
  fs::permissions(WriteFile(out.File("opt_a.jpg"), "kept"), fs::perms(0444));
  const BatchReport report = RunOptimizeBatch(
      {WriteFile(in.File("a.jpg"), CameraPhoto(40, 30, 1)), WriteFile(in.File("b.jpg"), CameraPhoto(40, 30, 2))},
      Small(out.Path()));
  EXPECT_EQ(report.Photos[0].Failure, FailureKind::NoPermission) << report.Photos[0].Detail;
  EXPECT_EQ(report.Written(), 1);
  EXPECT_EQ(ReadFile(out.File("opt_a.jpg")), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace lumatrim::test
