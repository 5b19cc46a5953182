#pragma once
#include <optional>
#include <string>

#include "core/makernotes/MakerRow.h"

namespace lumatrim {

class TImageInfo;

// Where one maker's directory starts inside the maker-note bytes and where the
// offsets of its out-of-entry values count from.
struct MakerLayout {
  const char* Key = "";     // the make key, "NIKON" .. "MINOL"
  MakerTable Table;
  int DirOffset = 0;        // directory start, counted from 0
  int Adjust = 0;           // a value lies at block position offset + DirOffset + 2 - Adjust
  bool LittleEndian = false;  // read little-endian whatever the EXIF block's order
};

// The first five characters of the make, in capitals ("Nikon" -> "NIKON").
std::string MakeKey(const std::string& cameraMake);

// The layout for the maker note of info (CameraMake, CameraModel,
// ExifVersion, MakerNoteRaw, MakerNotePos, Base); none for an unsupported make.
std::optional<MakerLayout> ChooseMakerLayout(const TImageInfo& info, bool fromTiffFile);

}  // namespace lumatrim
