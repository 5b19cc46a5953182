// The batch's quality modes: size limits and scores as typed, and what a
// size limit does to the written files.
#include <gtest/gtest.h>

#include <filesystem>

#include "OptimizePhotos.h"
#include "core/bytes/Error.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/quality/Ssimulacra2.h"

namespace lumatrim::test {
namespace {

namespace fs = std::filesystem;

TEST(QualityModes, SizesAndScoresAsTyped) {
  const struct {
    const char* text;
    uint64_t bytes;  // 0: refused
  } sizes[] = {
      {"500k", 512000},   {"500 kB", 512000}, {"2M", 2097152}, {"1,5m", 1572864}, {"0.5K", 512},
      {"300000", 300000}, {" 64 ", 64},       {"", 0},         {"k", 0},          {"-5k", 0},
      {"12.5", 0},        {"0", 0},           {"1e3", 0},      {"5G", 0},         {"99999999999M", 0},
  };
  for (const auto& row : sizes) {
    SCOPED_TRACE(row.text);
    if (row.bytes == 0) {
      EXPECT_THROW(ParseFileSize(row.text), LumatrimError);
    } else {
      EXPECT_EQ(ParseFileSize(row.text), row.bytes);
    }
  }
  EXPECT_EQ(ParseScore("87,5"), 87.5);
  for (const char* text : {"0", "101", "x", "-85", ""}) EXPECT_THROW(ParseScore(text), LumatrimError) << text;
}

// Every written file fits the limit (its metadata counted); a limit even the
// lowest quality cannot meet fails that photo alone, with its own kind, and
// leaves an older file of its name as it was.
TEST(QualityModes, SizeLimitIsNeverExceeded) {
  TempDir in, out;
  const std::vector<std::string> sources = {WriteFile(in.File("a.jpg"), CameraPhoto(400, 300, 1)),
                                            WriteFile(in.File("b.jpg"), CameraPhoto(300, 400, 2))};
  OptimizeSettings settings;
  settings.TargetFolder = out.Path();
  settings.KeepSize = true;
  settings.Quality = QualityMode::MaxFileSize;
  for (const uint64_t limit : {uint64_t{9000}, uint64_t{20000}, uint64_t{1'000'000}}) {
    SCOPED_TRACE(limit);
    settings.MaxFileBytes = limit;
    const BatchReport report = RunOptimizeBatch(sources, settings);
    ASSERT_EQ(report.Written(), 2);
    for (const char* name : {"opt_a.jpg", "opt_b.jpg"}) {
      const uint64_t size = fs::file_size(out.File(name));
      EXPECT_LE(size, limit);
      if (limit < 1'000'000) EXPECT_GT(size, limit * 8 / 10) << "the room is used";
      EXPECT_EQ(SizeOf(out.File(name)).first * SizeOf(out.File(name)).second, 400 * 300);
    }
  }
  WriteFile(out.File("opt_a.jpg"), "older file");
  settings.MaxFileBytes = 3000;  // less than the EXIF block with its thumbnail
  const BatchReport report = RunOptimizeBatch({sources[0]}, settings);
  ASSERT_EQ(report.Failed(), 1);
  EXPECT_EQ(report.Photos[0].Failure, FailureKind::SizeLimitUnreachable);
  EXPECT_NE(report.Photos[0].Detail.find("a.jpg"), std::string::npos) << report.Photos[0].Detail;
  EXPECT_EQ(ReadFile(out.File("opt_a.jpg")), "older file");
  settings.MaxFileBytes = 0;
  EXPECT_THROW(RunOptimizeBatch(sources, settings), LumatrimError) << "a limit of nothing is refused";
}

// Each photo gets the smallest file that reaches the score against the
// picture it was resized to; a lower target gives smaller files.
TEST(QualityModes, AutomaticQualityReachesTheScore) {
  TempDir in, out;
  const std::vector<std::string> sources = {WriteFile(in.File("a.jpg"), CameraPhoto(320, 240, 4)),
                                            WriteFile(in.File("b.jpg"), CameraPhoto(240, 320, 5))};
  OptimizeSettings settings;
  settings.TargetFolder = out.Path();
  settings.Rule = SizeRule::LongSideFixed;
  settings.LongSide = 200;
  settings.Quality = QualityMode::Automatic;
  uint64_t previousBytes = UINT64_MAX;
  for (const double target : {90.0, 70.0}) {
    SCOPED_TRACE(target);
    settings.AutoQualityScore = target;
    ASSERT_EQ(RunOptimizeBatch(sources, settings).Written(), 2);
    uint64_t bytes = 0;
    for (const std::string& source : sources) {
      const std::string output = out.File("opt_" + fs::path(source).filename().string());
      JpegImage original, written;
      original.LoadFromFile(source);
      written.LoadFromFile(output);
      const Bitmap reference = original.DecodeResampled(written.Width(), written.Height());
      EXPECT_GE(quality::Ssimulacra2(reference, written.Decode()), target);
      bytes += fs::file_size(output);
    }
    EXPECT_LT(bytes, previousBytes);
    previousBytes = bytes;
  }
}

// With automatic quality a size limit is a ceiling: the automatic file when
// it fits, byte for byte, else the best quality that fits.
TEST(QualityModes, SizeLimitIsACeilingOnAutomaticQuality) {
  TempDir in, out;
  const std::vector<std::string> sources = {WriteFile(in.File("a.jpg"), CameraPhoto(400, 300, 6))};
  OptimizeSettings settings;
  settings.TargetFolder = out.Path();
  settings.KeepSize = true;
  settings.Quality = QualityMode::Automatic;
  ASSERT_EQ(RunOptimizeBatch(sources, settings).Written(), 1);
  const std::string automatic = ReadFile(out.File("opt_a.jpg"));
  for (const uint64_t ceiling : {automatic.size(), automatic.size() * 3 / 4}) {
    settings.MaxFileBytes = ceiling;
    ASSERT_EQ(RunOptimizeBatch(sources, settings).Written(), 1);
    EXPECT_EQ(ReadFile(out.File("opt_a.jpg")) == automatic, ceiling == automatic.size());
    EXPECT_LE(fs::file_size(out.File("opt_a.jpg")), ceiling);
  }
}

}  // namespace
}  // namespace lumatrim::test
