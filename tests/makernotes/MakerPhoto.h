#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/TiffBuilder.h"

namespace lumatrim::test {

// A photo whose EXIF sub-IFD carries a maker note, built as a TIFF block:
//
//   IFD0:  Make, Model, ExifOffset
//   EXIF:  ExifVersion (when given), MakerNote, ExifImageWidth 640, FNumber 28/10
//   then:  the maker-note bytes, appended at the end of the block
//
// The maker note's bytes depend on where it lands (TIFF-header layouts count
// their value offsets from the block's start), so Body receives the TIFF
// offset of the maker note's first byte.
struct MakerPhoto {
  Order order = Order::Intel;
  std::string make, model, exifVersion;
  std::function<std::string(uint32_t makerOffset)> body;
  // Bytes of the body the MakerNote entry declares; -1 for all of them. Less
  // leaves the rest of the body in the EXIF block just behind the maker note.
  int declaredLength = -1;

  std::string Tiff() const;
  std::string Jpeg() const;  // the same TIFF block in an APP1 segment
};

// What a reader made of a photo file.
struct MakerEntry {
  std::string desc, data, raw;
  bool operator==(const MakerEntry&) const = default;
};
struct ReadResult {
  bool read = false;
  std::vector<MakerEntry> maker;  // Group 1 entries, in TagList order
  std::string exifImageWidth, fNumber, errorText;
  std::string makerNote;  // the MakerNote value's bytes
  std::string Data(const std::string& desc) const;  // first entry of that name, or "<missing>"
  bool Has(const std::string& desc) const;
};

// Writes bytes to a file of that name in a fresh folder and reads it back.
ReadResult ReadPhotoBytes(const std::string& bytes, const std::string& fileName);
ReadResult ReadPhotoFile(const std::string& path);

}  // namespace lumatrim::test
