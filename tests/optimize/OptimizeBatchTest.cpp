// The optimisation batch: sizes, the output's layout and tables, failure
// semantics with one and several workers, cancel, and the settings it refuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "OptimizePhotos.h"
#include "core/bytes/Error.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"

namespace lumatrim::test {
namespace {

namespace fs = std::filesystem;
using Size = std::pair<int, int>;

OptimizeSettings Fixed(const std::string& folder, int shortSide, int longSide, int jobs = 1) {
  OptimizeSettings s;
  s.TargetFolder = folder;
  s.ShortSide = shortSide;
  s.LongSide = longSide;
  s.Jobs = jobs;
  return s;
}

std::string Exiftool(const std::string& args) {
  std::string result;
  if (FILE* pipe = popen(("exiftool -s -s -s " + args + " 2>/dev/null").c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) result += buffer;
    pclose(pipe);
  }
  return result;
}

TEST(OptimizeBatch, ExamplesGiveTheRequestedSizes) {
  TempDir in, out;
  const std::vector<std::string> sources = {WriteFile(in.File("land.jpg"), CameraPhoto(3000, 2000)),
                                            WriteFile(in.File("port.jpg"), CameraPhoto(2000, 3000)),
                                            WriteFile(in.File("sq.jpg"), CameraPhoto(1000, 1000))};
  EXPECT_EQ(RunOptimizeBatch(sources, Fixed(out.Path(), 600, 800, 2)).Written(), 3);
  EXPECT_EQ(SizeOf(out.File("opt_land.jpg")), Size(800, 600)) << "landscape, stretched from 3:2 to 4:3";
  EXPECT_EQ(SizeOf(out.File("opt_port.jpg")), Size(600, 800));
  EXPECT_EQ(SizeOf(out.File("opt_sq.jpg")), Size(600, 600)) << "a square gets the short side twice";
  OptimizeSettings keep = Fixed(out.Path(), 0, 0);
  keep.KeepSize = true;
  RunOptimizeBatch({sources[1]}, keep);
  EXPECT_EQ(SizeOf(out.File("opt_port.jpg")), Size(2000, 3000));
}

OptimizeSettings WithRule(SizeRule rule, int shortSide, int longSide) {
  OptimizeSettings s;
  s.ShortSide = shortSide;
  s.LongSide = longSide;
  s.Rule = rule;
  return s;
}

// A fixed side is the result's short (or long) side and the other follows the
// photo's own proportions; only "Vlastní" (both sides) stretches on purpose.
TEST(OptimizeBatch, FixedSideKeepsEachPhotosProportions) {
  const auto fixedShort = WithRule(SizeRule::ShortSideFixed, 600, 800);  // the dialog's 4:3 guide in "D."
  const auto fixedLong = WithRule(SizeRule::LongSideFixed, 600, 800);
  const auto both = WithRule(SizeRule::BothSides, 600, 800);
  const struct {
    const char* name;
    int width, height;
    OptimizeSettings settings;
    Size expected;
  } rows[] = {
      {"3:2 landscape, short 600", 3000, 2000, fixedShort, {900, 600}},
      {"3:2 portrait, short 600", 2000, 3000, fixedShort, {600, 900}},
      {"16:9, long 800", 4000, 2250, fixedLong, {800, 450}},
      {"16:9 portrait, long 800", 2250, 4000, fixedLong, {450, 800}},
      {"4:3, short 600", 4000, 3000, fixedShort, {800, 600}},
      {"both sides stretch a 3:2 photo", 3000, 2000, both, {800, 600}},
      {"both sides, portrait", 2000, 3000, both, {600, 800}},
      {"square, short 600", 1000, 1000, fixedShort, {600, 600}},
      {"square, long 800", 1000, 1000, fixedLong, {800, 800}},
      {"square, both sides", 1000, 1000, both, {600, 600}},
      {"nearest pixel: 1000 x 333 at short 100 is 300.3", 1000, 333, WithRule(SizeRule::ShortSideFixed, 100, 0),
       {300, 100}},
      {"ties to even: 120 x 90 at long 6 is 4.5", 120, 90, WithRule(SizeRule::LongSideFixed, 0, 6), {6, 4}},
      {"a free side never below 1 px", 5000, 10, WithRule(SizeRule::LongSideFixed, 0, 100), {100, 1}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TargetSize(row.width, row.height, row.settings), row.expected) << row.name;
  }
  EXPECT_THROW(TargetSize(10000, 10, WithRule(SizeRule::ShortSideFixed, 600, 0)), LumatrimError)
      << "a long side of 600000 px cannot be written";

  TempDir in, out;
  const std::vector<std::string> sources = {WriteFile(in.File("land.jpg"), CameraPhoto(3000, 2000)),
                                            WriteFile(in.File("port.jpg"), CameraPhoto(2000, 3000)),
                                            WriteFile(in.File("wide.jpg"), CameraPhoto(4000, 2250))};
  OptimizeSettings batch = fixedShort;
  batch.TargetFolder = out.Path();
  batch.Jobs = 2;
  RunOptimizeBatch(sources, batch);
  EXPECT_EQ(SizeOf(out.File("opt_land.jpg")), Size(900, 600));
  EXPECT_EQ(SizeOf(out.File("opt_port.jpg")), Size(600, 900));
  EXPECT_EQ(SizeOf(out.File("opt_wide.jpg")), Size(1067, 600));
  batch.Rule = SizeRule::LongSideFixed;
  batch.ShortSide = 0;  // unused with a fixed long side
  RunOptimizeBatch({sources[2]}, batch);
  EXPECT_EQ(SizeOf(out.File("opt_wide.jpg")), Size(800, 450));
  batch.Rule = SizeRule::BothSides;
  EXPECT_THROW(RunOptimizeBatch({sources[2]}, batch), LumatrimError) << "both sides must be given";
}

// What the user sees in the written photo: fine stripes reduced to an even
// grey (50 % light), not to black, white or coarse bands.
TEST(OptimizeBatch, FineStripesBecomeEvenGreyInTheWrittenPhoto) {
  Bitmap stripes(400, 300);
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) std::fill_n(stripes.Row(y) + 3 * x, 3, uint8_t(x % 2 ? 255 : 0));
  }
  TempDir in, out;
  const std::string source =
      WriteFile(in.File("stripes.jpg"), EncodeRgb(stripes, {.hSampling = 1, .vSampling = 1, .quality = 100}));
  OptimizeSettings s = WithRule(SizeRule::BothSides, 150, 200);
  s.TargetFolder = out.Path();
  s.Compression = 0;
  RunOptimizeBatch({source}, s);
  JpegImage written;
  written.LoadFromFile(out.File("opt_stripes.jpg"));
  const Bitmap grey = written.Decode();
  int lowest = 255, highest = 0;
  double sum = 0;
  for (int y = 4; y < grey.Height - 4; ++y) {
    for (int x = 4; x < grey.Width - 4; ++x) {
      const int v = grey.Row(y)[3 * x + 1];
      lowest = std::min(lowest, v), highest = std::max(highest, v), sum += v;
    }
  }
  EXPECT_NEAR(sum / ((grey.Width - 8) * (grey.Height - 8)), 188, 4);
  EXPECT_LE(highest - lowest, 8);
}

// SOI, the source's EXIF (or JFIF APP0, or the default one), APP13, COM and
// colour profile, then the encoder's stream without its APP0.
TEST(OptimizeBatch, OutputsCarryTheSourceMetadataThenAProgressiveQuality80Stream) {
  const std::string app0 = JpegBuilder().App0Jfif().Bytes();
  const std::string icc =
      JpegBuilder().Segment(0xE2, std::string("ICC_PROFILE\0\1\1", 14) + std::string(200, 'p')).Bytes();
  const struct {
    const char* name;
    std::string source;
    std::vector<int> markers;  // of the output, up to the first quantisation table
    std::string piece;         // found in the output
  } rows[] = {
      {"camera.jpg", CameraPhoto(300, 200), {0xE1, 0xED, 0xFE, 0xDB}, "Dovolena 2024"},
      {"app0.jpg", "\xFF\xD8" + app0 + JpegBuilder().Com("x").Bytes() + CodedPicture(40, 30), {0xE0, 0xFE, 0xDB}, app0},
      {"bare.jpg", "\xFF\xD8" + CodedPicture(40, 30), {0xE0, 0xDB}, DefaultJfifHeader()},
      {"icc.jpg", JpegBuilder().Soi().App1Exif(CameraExif(40, 30)).Bytes() + icc + CodedPicture(40, 30),
       {0xE1, 0xE2, 0xDB}, icc},
  };
  TempDir in, out;
  std::vector<std::string> sources;
  for (const auto& row : rows) sources.push_back(WriteFile(in.File(row.name), row.source));
  RunOptimizeBatch(sources, Fixed(out.Path(), 60, 80));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string written = ReadFile(out.File(std::string("opt_") + row.name));
    std::vector<int> markers = SegmentMarkers(written);
    EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xC2), 1) << "progressive SOF2";
    markers.resize(std::min(markers.size(), row.markers.size()));
    EXPECT_EQ(markers, row.markers);
    EXPECT_NE(written.find(row.piece), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 2), "\xFF\xD9");
  }
  SCOPED_TRACE("compression 20 is quality 80: the photo tables scaled by 40 %");
  const std::string written = ReadFile(out.File("opt_camera.jpg"));
  const std::vector<int> luma = QuantTable(written, 0), chroma = QuantTable(written, 1);
  ASSERT_TRUE(luma.size() == 64 && chroma.size() == 64);
  EXPECT_EQ((std::vector<int>{luma[0], luma[1], luma[2], luma[63], chroma[0], chroma[1], chroma[63]}),
            (std::vector<int>{6, 6, 6, 167, 6, 6, 167}));
  const PhotoMetadata meta = ReadPhotoMetadata(out.File("opt_camera.jpg"));
  ASSERT_TRUE(meta.MetadataPresent() && meta.exif);
  const ExifData& exif = *meta.exif;
  EXPECT_EQ(Size(exif.GetTagInt("ExifImageWidth"), exif.GetTagInt("ExifImageLength")), Size(80, 60));
  EXPECT_TRUE(meta.ThumbnailPresent());
  if (std::system("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
  const std::string file = " '" + out.File("opt_camera.jpg") + "'";
  EXPECT_EQ(Exiftool("-Make -Model -DateTimeOriginal" + file), "Canon\nCanon EOS 5D\n2024:05:01 10:20:30\n");
  EXPECT_EQ(Exiftool("-ObjectName -Keywords -Comment" + file), "Karluv most\nPraha, most\nDovolena 2024\n");
  EXPECT_EQ(Exiftool("-ExifImageWidth -ExifImageHeight -ImageWidth -ImageHeight" + file), "80\n60\n80\n60\n");
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A damaged photo in the middle: the others are written, it is reported with
// its reason, an older file of its output name survives, and no temporary
// file is left. The same with several workers running ahead.
TEST(OptimizeBatch, GoesOnPastADamagedPhotoAndReportsIt) {
  for (int jobs : {1, 3}) {
    SCOPED_TRACE(jobs);
    TempDir in, out;
    std::vector<std::string> sources;
    for (int i = 0; i < 5; ++i) {
      std::string bytes = CameraPhoto(64, 48, i + 1);
      if (i == 2) bytes.resize(bytes.size() * 2 / 3);  // cut in its scan data
      sources.push_back(WriteFile(in.File("p" + std::to_string(i) + ".jpg"), bytes));
    }
    sources.push_back(in.File("gone.jpg"));
    WriteFile(out.File("opt_p2.jpg"), "older file");
    std::vector<int> progress;
    const BatchReport report = RunOptimizeBatch(sources, Fixed(out.Path(), 30, 40, jobs),
                                               [&](int done, int total, const BatchPhotoResult& photo) {
                                                 progress.push_back(done * 10 + total);
                                                 EXPECT_EQ(photo.Source, sources[static_cast<size_t>(done - 1)]);
                                               });
    EXPECT_EQ(progress, (std::vector<int>{16, 26, 36, 46, 56, 66})) << "every photo counts on the gauge";
    EXPECT_EQ(report.Written(), 4);
    EXPECT_FALSE(report.Cancelled);
    const BatchPhotoResult& damaged = report.Photos[2];
    EXPECT_EQ(damaged.Outcome, PhotoOutcome::Failed);
    EXPECT_EQ(damaged.Failure, FailureKind::DamagedData);
    EXPECT_NE(damaged.Detail.find("p2.jpg"), std::string::npos) << damaged.Detail;
    EXPECT_EQ(report.Photos[5].Failure, FailureKind::FileMissing) << "a photo moved away is told apart";
    EXPECT_EQ(ReadFile(out.File("opt_p2.jpg")), "older file");
    EXPECT_EQ(SizeOf(out.File("opt_p4.jpg")), Size(40, 30)) << "the photos after it are written";
    EXPECT_EQ(FilesIn(out.Path()),
              (std::vector<std::string>{"opt_p0.jpg", "opt_p1.jpg", "opt_p2.jpg", "opt_p3.jpg", "opt_p4.jpg"}))
        << "no temporary files";
  }
}

// a.jpg would go to opt_a.jpg, which is the second source (also when reached
// through a link to the folder): it gets a numbered name instead.
TEST(OptimizeBatch, NeverWritesOverASourcePhoto) {
  TempDir dir, other;
  const std::string original = CameraPhoto(40, 30, 5);
  const std::string a = WriteFile(dir.File("a.jpg"), CameraPhoto(40, 30));
  const std::string optA = WriteFile(dir.File("opt_a.jpg"), original);
  fs::create_directory_symlink(dir.Path(), other.File("link"));
  for (const std::string& folder : {dir.Path(), other.File("link")}) {
    SCOPED_TRACE(folder);
    const BatchReport report = RunOptimizeBatch({a, optA}, Fixed(folder, 10, 20));
    EXPECT_EQ(report.Written(), 2);
    EXPECT_EQ(ReadFile(optA), original);
    EXPECT_EQ(report.Photos[0].Output, folder + "/opt_a-2.jpg");
    EXPECT_TRUE(report.Photos[0].Numbered);
    EXPECT_TRUE(fs::exists(dir.File("opt_opt_a.jpg")));
  }
}

TEST(OptimizeBatch, RefusesBadSettingsBeforeWritingAnything) {
  TempDir in, out;
  const std::string a = WriteFile(in.File("a.jpg"), CameraPhoto(40, 30));
  OptimizeSettings badCompression = Fixed(out.Path(), 6, 8);
  badCompression.Compression = 101;
  for (const OptimizeSettings& bad : {Fixed(out.Path(), 0, 800), Fixed(out.Path(), 600, -1),
                                      Fixed(out.Path(), 600, 70000), Fixed("", 600, 800),
                                      Fixed(out.File("missing"), 6, 8), badCompression}) {
    SCOPED_TRACE(bad.TargetFolder + " " + std::to_string(bad.ShortSide) + "x" + std::to_string(bad.LongSide));
    EXPECT_THROW(RunOptimizeBatch({a}, bad), LumatrimError);
  }
  EXPECT_TRUE(fs::is_empty(out.Path()));
  EXPECT_TRUE(RunOptimizeBatch({}, Fixed(out.Path(), 600, 800)).Photos.empty()) << "an empty list is a batch that did nothing";
  EXPECT_EQ(ParseSide(" 640 ", "short side"), 640) << "a side typed as text is a whole number";
  for (const char* text : {"", "12.5", "12,5", "abc", "1e3", "99999999999", "-"}) {
    EXPECT_THROW(ParseSide(text, "short side"), LumatrimError) << text;
  }
}

// Cancelled after the second photo, with workers running ahead: exactly the
// photos written before stay, complete, and nothing else is in the folder.
TEST(OptimizeBatch, CancelStopsBeforeTheNextWriteAndLeavesOnlyCompleteOutputs) {
  TempDir in, out;
  std::vector<std::string> sources;
  for (int i = 0; i < 8; ++i) sources.push_back(WriteFile(in.File(std::to_string(i) + ".jpg"), CameraPhoto(64, 48, i)));
  std::atomic<bool> cancel{false};
  const auto progress = [&](int done, int, const BatchPhotoResult&) { cancel = done == 2; };
  const BatchReport report = RunOptimizeBatch(sources, Fixed(out.Path(), 30, 40, 2), progress, &cancel);
  EXPECT_TRUE(report.Cancelled);
  EXPECT_EQ(report.Written(), 2);
  EXPECT_EQ(report.Count(PhotoOutcome::NotDone), 6);
  EXPECT_EQ(FilesIn(out.Path()), (std::vector<std::string>{"opt_0.jpg", "opt_1.jpg"}));
  EXPECT_EQ(SizeOf(out.File("opt_1.jpg")), Size(40, 30)) << "complete and decodable";
}

}  // namespace
}  // namespace lumatrim::test
