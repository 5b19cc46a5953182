#include "core/makernotes/MakerLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/exif/ImageInfo.h"
#include "core/makernotes/CanonTable.h"
#include "core/makernotes/CasioQvcTable.h"
#include "core/makernotes/CasioTable.h"
#include "core/makernotes/FujiTable.h"
#include "core/makernotes/MinoltaTable.h"
#include "core/makernotes/NikonOldTable.h"
#include "core/makernotes/NikonTable.h"
#include "core/makernotes/OlympusTable.h"
#include "core/makernotes/SanyoTable.h"
#include "core/makernotes/SeikoTable.h"

namespace lumatrim {

namespace {

// Offsets counted from the TIFF header of the EXIF block: the maker note's own
// offset from that header moves the values back to block positions.
MakerLayout FromTiffHeader(const char* key, MakerTable table, int dirOffset, const TImageInfo& info) {
  // A hostile note position can sit at the int limit; count in 64 bits and
  // clamp, which leaves every value offset outside the block.
  const int64_t ownOffset = int64_t{info.MakerNotePos} - info.Base;
  const int64_t adjust = std::clamp<int64_t>(int64_t{dirOffset} + 1 + ownOffset, INT_MIN, INT_MAX);
  return {key, table, dirOffset, static_cast<int>(adjust), false};
}

// Offsets counted from byte k (from 0) of the maker note itself: the same for
// JPEG and TIFF files.
MakerLayout FromMakerByte(const char* key, MakerTable table, int dirOffset, int k, bool littleEndian) {
  return {key, table, dirOffset, dirOffset + 1 - k, littleEndian};
}

// The character after the first blank of the model (the D of "NIKON D70"),
// or its first character when it has no blank.
char ModelCharacter(const std::string& model) {
  const size_t blank = model.find(' ');
  const size_t at = blank == std::string::npos ? 0 : blank + 1;
  return at < model.size() ? model[at] : '\0';
}

bool StartsWith(const std::string& bytes, const char* prefix) { return bytes.rfind(prefix, 0) == 0; }

std::optional<MakerLayout> NikonLayout(const TImageInfo& info, bool fromTiffFile) {
  // Newer cameras carry their own TIFF header at byte 10 of the maker note.
  const bool newer = info.ExifVersion > std::string("0210") ||
                     (info.ExifVersion.empty() && ModelCharacter(info.CameraModel) == 'D' && fromTiffFile);
  if (newer) return FromMakerByte("NIKON", NikonTable, 18, 10, false);
  if (StartsWith(info.MakerNoteRaw, "Nikon")) return FromTiffHeader("NIKON", NikonOldTable, 8, info);
  return FromTiffHeader("NIKON", NikonTable, 0, info);
}

}  // namespace

std::string MakeKey(const std::string& cameraMake) {
  std::string key = cameraMake.substr(0, 5);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

std::optional<MakerLayout> ChooseMakerLayout(const TImageInfo& info, bool fromTiffFile) {
  const std::string key = MakeKey(info.CameraMake);
  if (key == "NIKON") return NikonLayout(info, fromTiffFile);
  if (key == "OLYMP") return FromTiffHeader("OLYMP", OlympusTable, 8, info);
  if (key == "CASIO") {
    if (StartsWith(info.MakerNoteRaw, "QVC")) return FromTiffHeader("CASIO", CasioQvcTable, 6, info);
    return FromTiffHeader("CASIO", CasioTable, 0, info);
  }
  if (key == "FUJIF") return FromMakerByte("FUJIF", FujiTable, 12, 0, true);
  if (key == "CANON") return FromTiffHeader("CANON", CanonTable, 0, info);
  if (key == "SEIKO") return FromTiffHeader("SEIKO", SeikoTable, 8, info);
  if (key == "SANYO") return FromTiffHeader("SANYO", SanyoTable, 8, info);
  if (key == "MINOL") return FromTiffHeader("MINOL", MinoltaTable, 0, info);
  return std::nullopt;
}

}  // namespace lumatrim
