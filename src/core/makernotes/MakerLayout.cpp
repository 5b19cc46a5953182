#include "core/makernotes/MakerLayout.h"

#include "core/makernotes/MakerTables.h"

namespace lumatrim {
namespace {

// Which of a make's rows applies; the first row that matches wins.
enum class When : uint8_t {
  Always,
  NoteStartsWith,  // the note's first bytes are the row's signature
  NewerNikon,      // EXIF version above 0210, or none and a D model in a TIFF/NEF file
};

// Where value offsets count from: the EXIF block's TIFF header, or a byte of the note.
enum class Origin : uint8_t { TiffHeader, NoteByte };

struct MakerLayoutRow {
  const char* key;
  When when;
  const char* signature;
  const MakerTable* table;
  int dirOffset;
  Origin origin;
  int originByte;
  bool littleEndian;
};

// clang-format off
constexpr MakerLayoutRow kMakerLayouts[] = {
    // key     when                  signature table            dir origin              byte little-endian
    {"NIKON", When::NewerNikon,     "",       &NikonTable,     18, Origin::NoteByte,   10, false},  // own TIFF header at byte 10
    {"NIKON", When::NoteStartsWith, "Nikon",  &NikonOldTable,   8, Origin::TiffHeader,  0, false},
    {"NIKON", When::Always,         "",       &NikonTable,      0, Origin::TiffHeader,  0, false},
    {"OLYMP", When::Always,         "",       &OlympusTable,    8, Origin::TiffHeader,  0, false},
    {"CASIO", When::NoteStartsWith, "QVC",    &CasioQvcTable,   6, Origin::TiffHeader,  0, false},
    {"CASIO", When::Always,         "",       &CasioTable,      0, Origin::TiffHeader,  0, false},
    {"FUJIF", When::Always,         "",       &FujiTable,      12, Origin::NoteByte,    0, true},
    {"CANON", When::Always,         "",       &CanonTable,      0, Origin::TiffHeader,  0, false},
    {"SEIKO", When::Always,         "",       &SeikoTable,      8, Origin::TiffHeader,  0, false},
    {"SANYO", When::Always,         "",       &SanyoTable,      8, Origin::TiffHeader,  0, false},
    {"MINOL", When::Always,         "",       &MinoltaTable,    0, Origin::TiffHeader,  0, false},
};
// clang-format on

// The character after the first blank of the model (the D of "NIKON D70"),
// or its first character when it has no blank.
char ModelCharacter(const std::string& model) {
  const size_t blank = model.find(' ');
  const size_t at = blank == std::string::npos ? 0 : blank + 1;
  return at < model.size() ? model[at] : '\0';
}

bool Applies(const MakerLayoutRow& row, const MakerNoteFacts& facts) {
  switch (row.when) {
    case When::Always: return true;
    case When::NoteStartsWith: return facts.note.starts_with(row.signature);
    case When::NewerNikon:
      return facts.exifVersion > std::string("0210") ||
             (facts.exifVersion.empty() && ModelCharacter(facts.model) == 'D' && facts.fromTiffFile);
  }
  return false;
}

}  // namespace

std::string MakeKey(const std::string& cameraMake) {
  std::string key = cameraMake.substr(0, 5);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

std::optional<MakerLayout> ChooseMakerLayout(const MakerNoteFacts& facts) {
  const std::string key = MakeKey(facts.make);
  for (const MakerLayoutRow& row : kMakerLayouts) {
    if (key != row.key || !Applies(row, facts)) continue;
    // Offsets from the TIFF header move back by the note's own offset from it.
    const int64_t origin = row.origin == Origin::NoteByte ? row.originByte : -facts.noteTiffOffset;
    return MakerLayout{row.key, *row.table, row.dirOffset, origin, row.littleEndian};
  }
  return std::nullopt;
}

}  // namespace lumatrim
