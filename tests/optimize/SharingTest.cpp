// Sharing without surprises: output names from a pattern, small photos never
// enlarged, outputs that would not be smaller copied, old outputs kept or
// numbered, whole folders with their tree, and the presets.
#include <gtest/gtest.h>

#include <filesystem>

#include "OptimizePhotos.h"
#include "core/bytes/Error.h"
#include "core/optimize/NamePattern.h"
#include "core/optimize/OptimizeBatch.h"
#include "core/optimize/OptimizePresets.h"
#include "core/optimize/OutputNames.h"
#include "core/optimize/PhotoFolderScan.h"

namespace lumatrim::test {
namespace {

OptimizeSettings LongSide(const std::string& folder, int side) {
  OptimizeSettings settings;
  settings.TargetFolder = folder;
  settings.Rule = SizeRule::LongSideFixed;
  settings.LongSide = side;
  return settings;
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

TEST(NamePattern, FieldsAreFilledAndMistakesRefused) {
  const PhotoTime taken{2015, 2, 9, 7, 5, 3};
  const struct {
    const char* pattern;
    int sequence;
    const char* name;
  } rows[] = {
      {"opt_{název}", 1, "opt_IMG_0001"},
      {"{datum}_{čas}_{pořadí}", 12, "2015-02-09_07-05-03_12"},
      {"{datum}_{pořadí:3}", 7, "2015-02-09_007"},
      {"{pořadí:2}", 123, "123"},
      {"{nazev}-{cas}-{poradi}", 2, "IMG_0001-07-05-03-2"},
      {"dovolená", 1, "dovolená"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.pattern);
    ValidateNamePattern(row.pattern);
    EXPECT_EQ(ExpandNamePattern(row.pattern, "IMG_0001", row.sequence, taken), row.name);
  }
  for (const char* bad : {"", "{jméno}", "{název", "a/{název}", "{datum:3}", "{pořadí:0}", ".."}) {
    EXPECT_THROW(ValidateNamePattern(bad), LumatrimError) << bad;
  }
  EXPECT_TRUE(PatternUsesTime("{čas}"));
  EXPECT_FALSE(PatternUsesTime("opt_{název}"));
  EXPECT_FALSE(ParseExifDateTime("0000:00:00 00:00:00"));
  EXPECT_FALSE(ParseExifDateTime("2015:02:09"));
}

TEST(NeverEnlarged, SmallPhotosKeepTheirSizeUnlessAsked) {
  OptimizeSettings settings = LongSide("/tmp", 1280);
  const struct {
    int width, height;
    bool enlarge;
    std::pair<int, int> size;
  } rows[] = {
      {640, 480, false, {640, 480}},    {640, 480, true, {1280, 960}}, {3000, 2000, false, {1280, 853}},
      {480, 640, false, {480, 640}},    {1280, 960, false, {1280, 960}},
  };
  for (const auto& row : rows) {
    settings.AllowEnlarge = row.enlarge;
    EXPECT_EQ(TargetSize(row.width, row.height, settings), row.size) << row.width << "x" << row.height;
  }
}

// A photo already small and coded more finely than asked for: the new file
// would be larger, so the source is copied byte for byte and counted.
TEST(NeverEnlarged, OutputsThatWouldNotBeSmallerAreCopies) {
  TempDir in, out;
  const std::string small = WriteFile(in.File("malá.jpg"), CameraPhoto(64, 48));
  OptimizeSettings settings = LongSide(out.Path(), 1280);
  settings.Compression = 0;
  settings.KeepIfSmaller = true;
  const BatchReport report = RunOptimizeBatch({small}, settings);
  ASSERT_EQ(report.Written(), 1) << report.Photos[0].Detail;
  EXPECT_EQ(report.Copied(), 1);
  EXPECT_EQ(ReadPhotoFile(out.File("opt_malá.jpg")), ReadPhotoFile(small));
  EXPECT_EQ(report.Photos[0].OutputBytes, report.Photos[0].SourceBytes);
}

// Outputs of an earlier run: replaced, left alone, or numbered past; a
// source is never one of them.
TEST(ExistingOutputs, TheSettingDecides) {
  TempDir in;
  const std::vector<std::string> sources = {WriteFile(in.File("a.jpg"), CameraPhoto(40, 30)),
                                            WriteFile(in.File("opt_a.jpg"), CameraPhoto(40, 30))};
  const struct {
    ExistingOutput existing;
    std::vector<std::string> names;
    std::vector<bool> skipped;
  } rows[] = {
      {ExistingOutput::Overwrite, {"opt_a.jpg", "opt_opt_a.jpg"}, {false, false}},
      {ExistingOutput::Skip, {"opt_a.jpg", "opt_opt_a.jpg"}, {true, false}},
      {ExistingOutput::Number, {"opt_a-2.jpg", "opt_opt_a.jpg"}, {false, false}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.existing));
    TempDir out;
    WriteFile(out.File("opt_a.jpg"), "an earlier run");
    OptimizeSettings settings = LongSide(out.Path(), 20);
    settings.Existing = row.existing;
    EXPECT_EQ(CountExistingOutputs(sources, settings), 1);
    const BatchReport report = RunOptimizeBatch(sources, settings);
    for (size_t i = 0; i < sources.size(); ++i) {
      EXPECT_EQ(FileName(report.Photos[i].Output), row.names[i]);
      EXPECT_EQ(report.Photos[i].Outcome == PhotoOutcome::Skipped, row.skipped[i]);
    }
    EXPECT_EQ(ReadPhotoFile(out.File("opt_a.jpg")) == "an earlier run", row.existing != ExistingOutput::Overwrite);
  }
  OptimizeSettings intoSources = LongSide(in.Path(), 20);
  intoSources.NamePattern = "{název}";
  const BatchReport report = RunOptimizeBatch(sources, intoSources);
  EXPECT_EQ(FileName(report.Photos[0].Output), "a-2.jpg") << "a source is never overwritten";
}

// A tree of three folders keeps its shape under the target; hidden folders
// and other files are left out; names can come from the photo's date.
TEST(WholeFolders, PhonePhotosCountAsPhotos) {
  const std::pair<const char*, bool> names[] = {
      {"IMG_0001.HEIC", true}, {"a.heif", true}, {"b.hif", true}, {"c.avif", true},
      {"d.JPG", true},         {"e.png", false}, {"heic", false},  {".heic", false},
      {"f.Jpe", true},         {"g.JPEG", true}, {"h.jpg.txt", false},
  };
  for (const auto& [name, photo] : names) EXPECT_EQ(IsPhotoFileName(name), photo) << name;
}

TEST(WholeFolders, TheTreeIsKeptUnderTheTarget) {
  TempDir in, out;
  for (const char* path : {"a.jpg", "léto/b.JPG", "léto/hory/c.jpeg", ".cache/d.jpg", "poznámky.txt"}) {
    std::filesystem::create_directories(std::filesystem::path(in.File(path)).parent_path());
    WriteFile(in.File(path), CameraPhoto(40, 30));
  }
  size_t counted = 0;
  const std::vector<FoundPhoto> found = FindPhotosInFolder(in.Path(), true, [&](size_t n) { counted = n; });
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(counted, 3u);
  EXPECT_EQ(FindPhotosInFolder(in.Path(), false).size(), 1u);
  OptimizeSettings settings = LongSide(out.Path(), 20);
  settings.NamePattern = "{datum}_{pořadí:3}";
  std::vector<std::string> sources;
  for (const FoundPhoto& photo : found) {
    sources.push_back(photo.Path);
    settings.Subfolders.push_back(photo.Subfolder);
  }
  ASSERT_EQ(RunOptimizeBatch(sources, settings).Written(), 3);
  for (const char* path : {"2024-05-01_001.jpg", "léto/2024-05-01_002.JPG", "léto/hory/2024-05-01_003.jpeg"}) {
    EXPECT_TRUE(std::filesystem::exists(out.File(path))) << path;
  }
}

TEST(Presets, DefaultsAndFolderNames) {
  const std::vector<OptimizePreset> presets = DefaultPresets();
  const OptimizePreset* email = FindPreset(presets, "e-mail");
  ASSERT_NE(email, nullptr);
  OptimizeSettings settings;
  ApplyPreset(*email, settings);
  EXPECT_EQ(settings.LongSide, 1280);
  EXPECT_EQ(settings.Rule, SizeRule::LongSideFixed);
  EXPECT_EQ(settings.Quality, QualityMode::Automatic) << "a photo fine at 150 kB stays at 150 kB";
  EXPECT_EQ(settings.MaxFileBytes, 500'000u);
  EXPECT_EQ(FindPreset(presets, "Web a sociální sítě")->Quality, QualityMode::Automatic);
  EXPECT_TRUE(FindPreset(presets, "Jen zmenšit datovou velikost")->KeepSize);
  EXPECT_EQ(FindPreset(presets, "Tisk 13 × 18")->LongSide, 2100);
  EXPECT_EQ(FindPreset(presets, "Mail"), nullptr);
  for (auto [name, folder] : {std::pair{"Můj web 2", "muj-web-2"}, std::pair{"Tisk 13 × 18", "tisk-13-18"},
                              std::pair{"ŽLUŤOUČKÝ kůň", "zlutoucky-kun"}, std::pair{"×", "predvolba"}}) {
    EXPECT_EQ(PresetSubfolder(name), folder) << name;
  }
}

}  // namespace
}  // namespace lumatrim::test
