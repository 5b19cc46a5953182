// The maker entries we decode from the corpus photos against exiftool's
// reading of the same files (reference/<file>.num.json: its numeric values,
// so codes are compared through our own value texts).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "MakerRead.h"
#include "core/exif/TagRender.h"
#include "exif/RefJson.h"

namespace lumatrim::test {
namespace {

// Which photos (see GroupOf), our display name, exiftool's group:tag, and our
// decode list for a code (without one, our text is compared as it stands).
struct Comparison {
  const char *group, *ours, *reference, *list = nullptr;
};
// clang-format off
const Comparison kComparisons[] = {
    {"canon",     "Macro mode",    "Canon:MacroMode",        "1:Macro,2:Normal"},
    {"canon",     "Self Timer",    "Canon:SelfTimer"},
    {"canon",     "Focus Mode",    "Canon:FocusMode",        "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {"canon",     "White balance", "Canon:WhiteBalance",     "0:Auto,1:Sunny,2:Cloudy,3:Tungsten,4:Flourescent,5:Flash,6:Custom"},
    {"nikon",     "Quality",       "Nikon:Quality"},
    {"nikon",     "White Balance", "Nikon:WhiteBalance"},
    {"nikon",     "ISO Speed",     "Nikon:ISO"},
    {"nikon-old", "Quality",       "Nikon:Quality",          "1:Vga Basic,2:Vga Normal,3:Vga Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine10:2 Mpixel Basic,11:2 Mpixel Normal,12:2 Mpixel Fine"},
    {"nikon-old", "WhiteBalance",  "Nikon:WhiteBalance",     "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight"},
    {"olympus",   "JpegQual",      "Olympus:Quality",        "1:SQ,2:HQ,3:SHQ,4:Raw"},
    {"seiko",     "JpegQuality",   "Olympus:Quality"},  // Epson notes are Olympus-like
    {"fujifilm",  "Sharpness",     "FujiFilm:Sharpness",     "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard"},
    {"fujifilm",  "WhiteBalance",  "FujiFilm:WhiteBalance",  "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,770:White-fluorescence,1024:Incandenscense,3840:Custom white balance."},
    {"fujifilm",  "FlashMode",     "FujiFilm:FujiFlashMode", "0:Auto,1:On,2:Off,3:Red-eye reduction"},
    {"casio",     "Quality",       "Casio:Quality",          "1:Economy,2:Normal,3:Fine"},
    {"sanyo",     "JpegQuality",   "Sanyo:SanyoQuality"},
};
// clang-format on

// Photos where we differ from exiftool on purpose, why, and the display name
// we do not produce for them; each is checked to still hold.
const struct { const char *file, *reason, *missing; } kKnownDifferences[] = {
    {"nikon_new_header_exif0210_progressive_1.jpg",
     "the Nikon layout follows the photo's ExifVersion, not the note's own header: with 0210 a note "
     "starting with \"Nikon\" is taken as an old one, whose directory at byte 8 holds none of these tags",
     "Quality"},
    {"olympus_new_header_1.jpg",
     "the newer \"OLYMPUS\\0II\" note keeps its directory at byte 12 with offsets from the note; "
     "we read the older layout at byte 8", "JpegQual"},
    {"canon_bigendian_makernote_shifted_1.jpg",
     "editing software moved this note without correcting its offsets; we take offsets as written",
     "Macro mode"},
};

// Our text made comparable with exiftool's: no quotes round ASCII, numbers
// joined by " " instead of ", ", no outer blanks.
std::string Plain(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  for (size_t at = text.find(", "); at != std::string::npos; at = text.find(", ", at)) text.erase(at, 1);
  const size_t a = text.find_first_not_of(' '), b = text.find_last_not_of(' ');
  return a == std::string::npos ? "" : text.substr(a, b - a + 1);
}

std::string GroupOf(const std::string& file, const ReadResult& result) {
  const std::string make = file.substr(0, file.find('_'));
  return make == "nikon" && result.Has("FamilyID") ? "nikon-old" : make;  // the old table's spelling
}

std::vector<std::string> CorpusPhotos() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() + "/photos"))
    files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(MakerCorpus, decodedEntriesAgreeWithTheReference) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no photo corpus on this machine";
  int compared = 0;
  for (const std::string& file : CorpusPhotos()) {
    const std::string json = ReadFile(CorpusDir() + "/reference/" + file + ".num.json");
    const ReadResult ours = ReadPhotoFile(CorpusDir() + "/photos/" + file);
    const auto known = std::find_if(std::begin(kKnownDifferences), std::end(kKnownDifferences),
                                    [&](const auto& k) { return file == k.file; });
    if (known != std::end(kKnownDifferences)) {
      EXPECT_FALSE(ours.Has(known->missing)) << file << " no longer differs: " << known->reason;
      continue;
    }
    for (const Comparison& c : kComparisons) {
      const auto reference = RefJson(json, c.reference);
      if (GroupOf(file, ours) != c.group || !reference) continue;
      // A Canon item whose code is missing from its list is not added at all.
      const std::string shown = ours.Has(c.ours) ? ours.Data(c.ours) : "";
      EXPECT_EQ(Plain(shown), Plain(c.list ? DecodeValue(c.list, reference->text) : reference->text))
          << file << ": " << c.ours << " against " << c.reference << " = " << reference->text;
      ++compared;
    }
  }
  EXPECT_GE(compared, 90) << "the corpus should give every listed field several photos";
}

// Every corpus photo read whole, then with stretches of its maker note
// overwritten by 0xFF and 0x7F bytes (huge counts and offsets): under the
// sanitizers this shows that no byte outside the photo is ever read.
TEST(MakerCorpus, everyPhotoDecodesWithinItsBytes) {
  if (CorpusDir().empty()) GTEST_SKIP() << "no photo corpus on this machine";
  TempDir dir;
  int damaged = 0;
  for (const std::string& file : CorpusPhotos()) {
    SCOPED_TRACE(file);
    const std::string bytes = ReadFile(CorpusDir() + "/photos/" + file);
    const ReadResult whole = ReadPhotoFile(CorpusDir() + "/photos/" + file);
    if (whole.maker.empty()) continue;
    const size_t at = bytes.find(whole.makerNote.substr(0, 24)), span = std::min<size_t>(whole.makerNote.size(), 4096);
    ASSERT_NE(at, std::string::npos);
    for (size_t k = 0; k + 4 <= span; k += std::max<size_t>(2, span / 24), ++damaged) {
      std::string hostile = bytes;
      hostile.replace(at + k, 4, (k / 2) % 2 ? "\x7F\xFF\xFF\xFF" : "\xFF\xFF\xFF\xFF");
      EXPECT_TRUE(ReadPhotoFile(WriteFile(dir.File(file), hostile)).read);
    }
  }
  EXPECT_GT(damaged, 500);
}

}  // namespace
}  // namespace lumatrim::test
