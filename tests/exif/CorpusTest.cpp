#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "core/exif/ImgData.h"
#include "exif/MiniJson.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;
namespace fs = std::filesystem;

namespace {

// A field compared with the reference: our key name, exiftool's tag (after
// the group), and whether the value is compared as a number.
struct Field {
  const char* ours;
  const char* theirs;
  bool numeric;
};

constexpr Field kFields[] = {
    {"Make", "Make", false},
    {"Model", "Model", false},
    {"ExposureTime", "ExposureTime", true},
    {"FNumber", "FNumber", true},
    {"ISOSpeedRatings", "ISO", true},
    {"DateTime", "ModifyDate", false},
    {"FocalLength", "FocalLength", true},
    {"ExifImageWidth", "ExifImageWidth", true},
    {"ExifImageLength", "ExifImageHeight", true},
    {"Orientation", "Orientation", true},
};

// Where we knowingly differ from exiftool, and why.
struct Difference {
  const char* file;
  const char* field;  // "*" for every field
  const char* reason;
};

constexpr Difference kDifferences[] = {
    {"nikon_jpeg_named_nef_1.nef", "*",
     "a .nef name means a TIFF read; this file is a JPEG, so nothing is read"},
    {"nikon_d1x_tiff_exif_beyond_256k_1.tiff", "*",
     "only the first 256000 bytes after the TIFF header are read; its EXIF directory lies beyond them"},
};

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

// exiftool's value of a tag from the IFD0/EXIF groups (first one found).
const JsonScalar* Theirs(const std::map<std::string, JsonScalar>& ref, const std::string& tag) {
  for (const char* group : {"IFD0:", "ExifIFD:", "SubIFD:", "SubIFD1:"}) {
    auto it = ref.find(group + tag);
    if (it != ref.end()) return &it->second;
  }
  return nullptr;
}

bool Expected(const std::string& file, const std::string& field) {
  for (const Difference& d : kDifferences)
    if (file == d.file && (field == d.field || std::string(d.field) == "*")) return true;
  return false;
}

std::string Compare(const TImageInfo* info, const Field& field, const std::map<std::string, JsonScalar>& printed,
                    const std::map<std::string, JsonScalar>& numeric) {
  const bool ours = info && info->TagIndexByName(field.ours) >= 0;
  const JsonScalar* theirs = field.numeric ? Theirs(numeric, field.theirs) : Theirs(printed, field.theirs);
  if (!ours && !theirs) return {};
  if (!ours) return std::string("missing, exiftool has ") + theirs->text;
  if (!theirs) return "exiftool has none, we have " + info->TagValueByName(field.ours);
  if (field.numeric) {
    if (theirs->kind != JsonScalar::Number) return {};  // a list or text: not one number
    const double a = info->GetTagNumber(field.ours), b = theirs->Value();
    if (std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(b))) return {};
    std::ostringstream out;
    out << "ours " << a << " (" << info->TagValueByName(field.ours) << "), exiftool " << theirs->text;
    return out.str();
  }
  const std::string a = Trimmed(info->TagValueByName(field.ours)), b = Trimmed(theirs->text).substr(0, 50);
  return a == b ? std::string() : "ours '" + a + "', exiftool '" + b + "'";
}

}  // namespace

TEST(Corpus, everyPhotoAgreesWithTheReference) {
  const std::string corpus = CorpusDir();
  if (corpus.empty() || !fs::is_directory(corpus + "/photos")) GTEST_SKIP() << "no corpus on this machine";
  std::set<std::string> files;
  for (const auto& item : fs::directory_iterator(corpus + "/photos"))
    if (item.is_regular_file()) files.insert(item.path().filename().string());
  ASSERT_FALSE(files.empty());

  int compared = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    TimgData data;
    data.DecimalSeparator = '.';
    data.ReadPhoto(corpus + "/photos/" + file);
    if (data.ExifInfo) {
      data.ExifInfo->ParseThumbnailDirectory();
      data.CutThumbnail();
    }
    const auto printed = MiniJson::FirstObject(ReadFile(corpus + "/reference/" + file + ".json"));
    const auto numeric = MiniJson::FirstObject(ReadFile(corpus + "/reference/" + file + ".num.json"));
    for (const Field& field : kFields) {
      const std::string problem = Compare(data.ExifInfo.get(), field, printed, numeric);
      if (problem.empty()) {
        ++compared;
        continue;
      }
      if (!Expected(file, field.ours)) ADD_FAILURE() << field.ours << ": " << problem;
    }
  }
  EXPECT_GT(compared, 500);
}
