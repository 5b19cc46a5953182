#pragma once
#include <cstdint>

namespace lumatrim {

// TIFF field types, as the EXIF standard numbers them. A file may carry any
// 16-bit number here, so entries keep the raw number and compare with these.
enum class TiffType : uint16_t {
  Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5, SByte = 6, Undefined = 7,
  SShort = 8, SLong = 9, SRational = 10, Float = 11, Double = 12,
};

// Bytes of one value of a type; 0 for type 0 and numbers above 12.
constexpr int TiffTypeSize(uint16_t type) {
  constexpr int kSizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  return type <= 12 ? kSizes[type] : 0;
}

constexpr bool IsType(uint16_t type, TiffType expected) { return type == static_cast<uint16_t>(expected); }

// Which list of the windows an entry belongs to.
enum class TagGroup : int32_t {
  Standard = 0,  // EXIF, GPS and thumbnail tags
  Maker = 1,     // maker-note entries and the derived values added after the walk
};

}  // namespace lumatrim
