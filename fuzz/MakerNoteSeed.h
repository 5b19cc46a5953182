#pragma once
// The header of a maker-note fuzz input, shared by the target and the seed maker.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/exif/ExifData.h"
#include "core/makernotes/MakerNoteDecoder.h"

namespace lumatrim::fuzz {

inline constexpr size_t kMakerNoteHeader = 4;
inline constexpr std::array<const char*, 9> kMakes = {
    "NIKON CORPORATION", "OLYMPUS OPTICAL CO.,LTD", "CASIO COMPUTER CO.,LTD.", "FUJIFILM", "Canon",
    "SEIKO EPSON CORP.", "SANYO Electric Co.,Ltd.", "Minolta Co., Ltd.", "Unknown Maker"};

struct MakerNoteSetup {
  uint8_t Make = 0;   // index into kMakes (mod its size)
  uint8_t Flags = 0;  // 1 big-endian, 2 from a TIFF file, 4 EXIF 0220 (else 0210), 8 no EXIF version, 16 model "D70"
  uint16_t Position = 1;

  static MakerNoteSetup FromBytes(const uint8_t* header) {
    MakerNoteSetup s;
    s.Make = header[0];
    s.Flags = header[1];
    s.Position = static_cast<uint16_t>(((header[2] << 8 | header[3]) % 8192) + 1);
    return s;
  }

  std::string Header() const {
    const uint16_t p = static_cast<uint16_t>(Position - 1);
    return {static_cast<char>(Make), static_cast<char>(Flags), static_cast<char>(p >> 8), static_cast<char>(p & 0xFF)};
  }

  // The note as the directory walk would hand it over, inside an EXIF block
  // made here (exifBlock) of zeros around it.
  MakerNoteSource Apply(const std::string& note, std::string& exifBlock) const {
    const bool fromTiff = (Flags & 2) != 0;
    const int64_t tiffOrigin = fromTiff ? ExifData::kTiffFileOrigin : ExifData::kJpegTiffOrigin;
    exifBlock = std::string(Position - 1, '\0') + note + std::string(64, '\0');
    MakerNoteSource source;
    source.noteOffset = Position - 1;
    source.facts = {kMakes[Make % kMakes.size()], (Flags & 16) ? "NIKON D70" : "E990",
                    (Flags & 8) ? "" : (Flags & 4) ? "0220" : "0210", note, source.noteOffset - tiffOrigin, fromTiff};
    source.exif = ByteView(exifBlock, (Flags & 1) ? ByteOrder::BigEndian : ByteOrder::LittleEndian);
    return source;
  }
};

}  // namespace lumatrim::fuzz
