// The maker entries we decode from the corpus photos against exiftool's
// reading of the same files (reference/<file>.num.json: its numeric values,
// so codes are compared through our own value texts).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "MakerPhoto.h"
#include "exif/RefJson.h"
#include "core/exif/TagRender.h"

namespace lumatrim::test {
namespace {

namespace fs = std::filesystem;

std::string Trim(const std::string& text) {
  const size_t a = text.find_first_not_of(' '), b = text.find_last_not_of(' ');
  return a == std::string::npos ? "" : text.substr(a, b - a + 1);
}

// Code: exiftool's number through our decode list; Number: we show it as is;
// Quoted: ASCII, we show its bytes in double quotes; Array: exiftool joins with " ", we with ", ".
enum class Kind { Code, Number, Quoted, Array };

// Which photos (see GroupOf), our display name, exiftool's group:tag, and our decode list for Kind::Code.
struct Comparison {
  const char *group, *ours, *reference;
  Kind kind;
  const char* list = "";
};

// clang-format off
const Comparison kComparisons[] = {
    {"canon",     "Macro mode",    "Canon:MacroMode",        Kind::Code,   "1:Macro,2:Normal"},
    {"canon",     "Self Timer",    "Canon:SelfTimer",        Kind::Number},
    {"canon",     "Focus Mode",    "Canon:FocusMode",        Kind::Code,   "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {"canon",     "White balance", "Canon:WhiteBalance",     Kind::Code,   "0:Auto,1:Sunny,2:Cloudy,3:Tungsten,4:Flourescent,5:Flash,6:Custom"},
    {"nikon",     "Quality",       "Nikon:Quality",          Kind::Quoted},
    {"nikon",     "White Balance", "Nikon:WhiteBalance",     Kind::Quoted},
    {"nikon",     "ISO Speed",     "Nikon:ISO",              Kind::Array},
    {"nikon-old", "Quality",       "Nikon:Quality",          Kind::Code,   "1:Vga Basic,2:Vga Normal,3:Vga Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine10:2 Mpixel Basic,11:2 Mpixel Normal,12:2 Mpixel Fine"},
    {"nikon-old", "WhiteBalance",  "Nikon:WhiteBalance",     Kind::Code,   "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight"},
    {"olympus",   "JpegQual",      "Olympus:Quality",        Kind::Code,   "1:SQ,2:HQ,3:SHQ,4:Raw"},
    {"seiko",     "JpegQuality",   "Olympus:Quality",        Kind::Number},  // Epson notes are Olympus-like
    {"fujifilm",  "Sharpness",     "FujiFilm:Sharpness",     Kind::Code,   "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard"},
    {"fujifilm",  "WhiteBalance",  "FujiFilm:WhiteBalance",  Kind::Code,   "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,770:White-fluorescence,1024:Incandenscense,3840:Custom white balance."},
    {"fujifilm",  "FlashMode",     "FujiFilm:FujiFlashMode", Kind::Code,   "0:Auto,1:On,2:Off,3:Red-eye reduction"},
    {"casio",     "Quality",       "Casio:Quality",          Kind::Code,   "1:Economy,2:Normal,3:Fine"},
    {"sanyo",     "JpegQuality",   "Sanyo:SanyoQuality",     Kind::Number},
};
// clang-format on

// Photos where we differ from exiftool on purpose, why, and the display name
// we do not produce for them; each is checked to still hold.
const struct { const char *file, *reason, *missing; } kKnownDifferences[] = {
    {"nikon_new_header_exif0210_progressive_1.jpg",
     "the Nikon layout follows the photo's ExifVersion, not the note's own header: with 0210 a note "
     "starting with \"Nikon\" is taken as an old one, whose directory at byte 8 holds none of these tags",
     "Quality"},
    {"nikon_jpeg_named_nef_1.nef",
     "a JPEG under a .nef name is read as a TIFF file by its extension and holds no TIFF block", "Quality"},
    {"olympus_new_header_1.jpg",
     "the newer \"OLYMPUS\\0II\" note keeps its directory at byte 12 with offsets from the note; "
     "we read the older layout at byte 8", "JpegQual"},
    {"canon_bigendian_makernote_shifted_1.jpg",
     "editing software moved this note without correcting its offsets; we take offsets as written",
     "Macro mode"},
};

std::string GroupOf(const std::string& file, const ReadResult& result) {
  const std::string make = file.substr(0, file.find('_'));
  if (make == "nikon" && result.Has("FamilyID")) return "nikon-old";  // the old table's spelling
  return make;
}

std::string Expected(const Comparison& c, const std::string& reference) {
  switch (c.kind) {
    case Kind::Code: return DecodeValue(c.list, reference);
    case Kind::Number: return reference;
    case Kind::Quoted: return "\"" + reference + "\"";
    case Kind::Array: {
      std::string text = reference;
      for (size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at + 2)) text.replace(at, 1, ", ");
      return text;
    }
  }
  return {};
}

std::vector<std::string> CorpusPhotos() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(CorpusDir() + "/photos")) files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(MakerCorpus, DecodedEntriesAgreeWithTheReference) {
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
    const std::string group = GroupOf(file, ours);
    for (const Comparison& c : kComparisons) {
      if (group != c.group) continue;
      const auto reference = RefJson(json, c.reference);
      if (!reference) continue;
      // A Canon item whose code is missing from its list is not added at all.
      const std::string shown = ours.Has(c.ours) ? ours.Data(c.ours) : "";
      EXPECT_EQ(Trim(shown), Trim(Expected(c, reference->text)))
          << file << ": " << c.ours << " against " << c.reference << " = " << reference->text;
      ++compared;
    }
  }
  EXPECT_GE(compared, 90) << "the corpus should give every listed field several photos";
}

// Every corpus photo read whole, then with stretches of its maker note
// overwritten by 0xFF and 0x7F bytes (huge counts and offsets): under the
// sanitizers this shows that no byte outside the photo is ever read.
TEST(MakerCorpus, EveryPhotoDecodesWithinItsBytes) {
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
