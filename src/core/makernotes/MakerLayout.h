#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/makernotes/MakerRow.h"

namespace lumatrim {

// What the layout choice looks at: the camera's make, model and EXIF version
// and the note's first bytes, and where the note lies from the TIFF header
// its offsets may count from.
struct MakerNoteFacts {
  std::string make;          // value text of Make
  std::string model;         // value text of Model
  std::string exifVersion;   // first raw bytes of ExifVersion
  std::string_view note;     // the MakerNote value
  int64_t noteTiffOffset = 0;  // of the note's first byte, counted from the TIFF header
  bool fromTiffFile = false;   // read from a .tif, .tiff or .nef file
};

// Where one maker's directory starts inside the maker-note bytes and where the
// offsets of its out-of-entry values count from.
struct MakerLayout {
  const char* Key = "";        // the make key, "NIKON" .. "MINOL"
  MakerTable Table;
  int DirOffset = 0;           // directory start in the note
  int64_t ValueOrigin = 0;     // note offset where a value offset of 0 points
  bool LittleEndian = false;   // read little-endian whatever the EXIF block's order
};

// The first five characters of the make, in capitals ("Nikon" -> "NIKON").
std::string MakeKey(const std::string& cameraMake);

// The layout for a maker note; none for an unsupported make.
std::optional<MakerLayout> ChooseMakerLayout(const MakerNoteFacts& facts);

}  // namespace lumatrim
