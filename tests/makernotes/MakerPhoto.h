#pragma once
// Photos with a maker note built in memory, and what the reader made of them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {

// A TIFF block: IFD0 (Make, Model), EXIF (ExifVersion when given, MakerNote,
// ExifImageWidth 640, FNumber 2.8), then the maker-note bytes at its end. Some
// layouts count offsets from the TIFF header, so body() gets the note's offset.
struct MakerPhoto {
  Order order = Order::Intel;
  std::string make, model, exifVersion;
  std::function<std::string(uint32_t makerOffset)> body;
  int declaredLength = -1;  // bytes the MakerNote entry declares (-1: all); the rest stays behind the note

  std::string Tiff() const {
    const auto length = static_cast<uint32_t>(declaredLength >= 0 ? declaredLength : body(0).size());
    auto build = [&](uint32_t at) {
      Ifd exif;
      if (!exifVersion.empty()) exif.Undefined(0x9000, exifVersion);
      exif.WithOffset(0x927C, UNDEFINED, length, at).Long(0xA002, {640}).Rational(0x829D, {{28, 10}});
      Ifd ifd0;
      ifd0.Ascii(0x010F, make);
      if (!model.empty()) ifd0.Ascii(0x0110, model);
      return TiffBuilder(order).Bytes(ifd0.SubIfd(0x8769, exif));
    };
    const auto at = static_cast<uint32_t>((build(0).size() + 1) & ~size_t{1});  // the size ignores the offset
    std::string tiff = build(at);
    tiff.resize(at, '\0');
    return tiff + body(at);
  }
  std::string Jpeg() const { return JpegBuilder().Soi().App1Exif(Tiff()).Sos().Bytes(); }
};

struct ReadResult {
  bool read = false;
  std::vector<std::string> maker;  // Group 1 entries as "Desc=Data", in TagList order
  std::string raws, exifImageWidth, makerNote;
  std::string Data(const std::string& desc) const {
    for (const std::string& e : maker)
      if (e.rfind(desc + "=", 0) == 0) return e.substr(desc.size() + 1);
    return "<missing>";
  }
  bool Has(const std::string& desc) const { return Data(desc) != "<missing>"; }
};

inline ReadResult ReadPhotoFile(const std::string& path) {
  ReadResult result;
  TimgData data;
  data.DecimalSeparator = '.';
  result.read = data.ReadPhoto(path);
  if (!data.ExifInfo) return result;
  result.makerNote = data.ExifInfo->MakerNoteRaw;
  for (const TTagEntry& e : data.ExifInfo->TagList) {
    if (e.Group == 1) result.maker.push_back(e.Desc + "=" + e.Data), result.raws += e.Raw + '|';
    if (e.Tag == 0xA002) result.exifImageWidth = e.Data;
  }
  return result;
}

inline ReadResult ReadPhotoBytes(const std::string& bytes, const std::string& fileName) {
  TempDir dir;
  return ReadPhotoFile(WriteFile(dir.File(fileName), bytes));
}

}  // namespace lumatrim::test
