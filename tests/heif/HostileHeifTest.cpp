#include <gtest/gtest.h>

#include <filesystem>

#include "core/heif/HeifMetadata.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/photo/PhotoReader.h"
#include "optimize/OptimizePhotos.h"
#include "support/ExiftoolCheck.h"

namespace lumatrim::test {
namespace {

const std::string kTiff("MM\0*\0\0\0\x08\0\0\0\0\0\0", 14);

TEST(HeifExifItem, TheTiffBlockIsFoundOnlyWhereTheOffsetPointsInside) {
  const struct {
    const char* name;
    std::string item;
    bool found;
  } rows[] = {
      {"offset 0", std::string("\0\0\0\0", 4) + kTiff, true},
      {"offset 6 past Exif\\0\\0", std::string("\0\0\0\x06" "Exif\0\0", 10) + kTiff, true},
      {"offset 0 before Exif\\0\\0", std::string("\0\0\0\0" "Exif\0\0", 10) + kTiff, true},
      {"offset past the end", std::string("\0\0\x10\0", 4) + kTiff, false},
      {"largest offset", std::string("\xFF\xFF\xFF\xFF", 4) + kTiff, false},
      {"shorter than the offset field", std::string("\0\0\0", 3), false},
      {"no TIFF header", std::string("\0\0\0\0", 4) + "JUNKJUNKJUNK", false},
  };
  for (const auto& row : rows) EXPECT_EQ(TiffOfExifItem(row.item), row.found ? std::optional<std::string_view>(kTiff) : std::nullopt) << row.name;
}

// The bytes with value written at offset from the first place the box type is named.
std::string Patched(std::string bytes, const std::string& boxType, long offset, const std::string& value) {
  const size_t at = bytes.find(boxType);
  if (at != std::string::npos) bytes.replace(at + offset, value.size(), value);
  return bytes;
}

// Damaged HEIF files fail with the damaged-photo kind, the batch goes on past
// them, and reading their metadata just finds none.
TEST(HostileHeif, DamagedFilesFailClearlyAndTheBatchGoesOn) {
  if (RunCommand("command -v heif-enc 2>/dev/null").empty()) GTEST_SKIP() << "needs heif-enc";
  const TempDir in, out;
  const std::string jpeg = WriteFile(in.File("good.jpg"), CameraPhoto(64, 48));
  RunCommand("heif-enc -q 50 -o " + in.File("good.heic") + " " + jpeg + " >/dev/null 2>&1");
  const std::string good = ReadFile(in.File("good.heic"));
  ASSERT_FALSE(good.empty());
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"zero", ""},
      {"cut_in_half", good.substr(0, good.size() / 2)},
      {"cut_after_ftyp", good.substr(0, 40)},
      {"huge_ispe", Patched(good, "ispe", 8, std::string("\x7F\xFF\0\0\x7F\xFF\0\0", 8))},
      {"huge_meta_box", Patched(good, "meta", -4, "\xFF\xFF\xFF\xF0")},
      {"missing_primary", Patched(good, "pitm", 8, "\x77\x77")},
  };
  std::vector<std::string> sources;
  for (const auto& row : rows) {
    sources.push_back(WriteFile(in.File(std::string(row.name) + ".heic"), row.bytes));
    EXPECT_FALSE(ReadPhotoMetadata(sources.back()).ExifPresent()) << row.name;
  }
  sources.push_back(in.File("good.heic"));
  // HEIF bytes under a JPEG's name: the name keeps, the bytes decide how it is read.
  sources.push_back(WriteFile(in.File("misnamed.jpg"), good));
  const BatchReport report = RunOptimizeBatch(sources, {.TargetFolder = out.Path(), .KeepSize = true});
  ASSERT_EQ(report.Photos.size(), sources.size());
  for (size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_TRUE(report.Photos[i].Outcome == PhotoOutcome::Failed && report.Photos[i].Failure == FailureKind::DamagedData)
        << rows[i].name << ": " << report.Photos[i].Detail;
  }
  for (const char* name : {"opt_good.jpg", "opt_misnamed.jpg"}) {
    EXPECT_EQ(ReadFile(out.File(name)).substr(0, 2), "\xFF\xD8") << name << " is a JPEG";
  }
}

}  // namespace
}  // namespace lumatrim::test
