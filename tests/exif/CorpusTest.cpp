// Every corpus photo read whole and compared with exiftool's reading of it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "core/photo/PhotoReader.h"
#include "exif/RefJson.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;

namespace {

// Our name, exiftool's tag (after its group), and whether numbers are compared.
struct Field {
  const char *ours, *theirs;
  bool numeric;
};
constexpr Field kFields[] = {
    {"Make", "Make", false},          {"Model", "Model", false},        {"ExposureTime", "ExposureTime", true},
    {"FNumber", "FNumber", true},     {"ISOSpeedRatings", "ISO", true}, {"DateTime", "ModifyDate", false},
    {"FocalLength", "FocalLength", true},         {"ExifImageWidth", "ExifImageWidth", true},
    {"ExifImageLength", "ExifImageHeight", true}, {"Orientation", "Orientation", true}};

// Where we differ from exiftool on purpose, and why (every field of the file):
// {file name, reason}. None at present.
constexpr std::array<std::array<const char*, 2>, 0> kDifferences{};

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text.substr(std::min(text.size(), text.find_first_not_of(' ')));
}

std::optional<RefValue> Theirs(const std::string& json, const std::string& tag) {
  for (const char* group : {"IFD0:", "ExifIFD:", "SubIFD:", "SubIFD1:"})
    if (auto v = RefJson(json, group + tag)) return v;
  return std::nullopt;
}

// Empty when we agree (or exiftool's value is no single number), else what differs.
std::string Compare(const ExifData* info, const Field& f, const std::string& printed, const std::string& numeric) {
  const bool ours = info && info->TagIndexByName(f.ours) >= 0;
  const auto theirs = Theirs(f.numeric ? numeric : printed, f.theirs);
  if (!ours || !theirs) return ours == theirs.has_value() ? "" : ours ? "exiftool has none" : "we have none";
  if (f.numeric) {
    if (theirs->quoted) return {};
    const double a = info->GetTagNumber(f.ours), b = std::strtod(theirs->text.c_str(), nullptr);
    if (std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(b))) return {};
    return "ours " + info->TagValueByName(f.ours) + ", exiftool " + theirs->text;
  }
  const std::string a = Trimmed(info->TagValueByName(f.ours)), b = Trimmed(theirs->text).substr(0, 50);
  return a == b ? "" : "ours '" + a + "', exiftool '" + b + "'";
}

}  // namespace

TEST(Corpus, everyPhotoAgreesWithTheReference) {
  const std::string corpus = CorpusDir();
  if (corpus.empty() || !std::filesystem::is_directory(corpus + "/photos")) GTEST_SKIP() << "no corpus";
  int compared = 0;
  for (const auto& item : std::filesystem::directory_iterator(corpus + "/photos")) {
    const std::string file = item.path().filename().string();
    SCOPED_TRACE(file);
    ReadOptions options;
    options.decimalSeparator = '.';
    PhotoMetadata data = ReadPhotoMetadata(item.path().string(), options);
    if (data.exif) data.exif->ParseThumbnailDirectory(), data.CutThumbnail();  // for the sanitizers
    const std::string printed = ReadFile(corpus + "/reference/" + file + ".json");
    const std::string numeric = ReadFile(corpus + "/reference/" + file + ".num.json");
    const char* excuse = nullptr;
    for (const auto& d : kDifferences) excuse = file == d[0] ? d[1] : excuse;
    int problems = 0;
    for (const Field& field : kFields) {
      const std::string problem = Compare(data.exif.get(), field, printed, numeric);
      problems += !problem.empty();
      compared += problem.empty();
      if (!problem.empty() && !excuse) ADD_FAILURE() << field.ours << ": " << problem;
    }
    if (excuse) { EXPECT_GT(problems, 0) << "no longer differs, though listed: " << excuse; }
  }
  EXPECT_GT(compared, 500);
}
