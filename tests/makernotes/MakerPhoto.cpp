#include "MakerPhoto.h"

#include "core/exif/ImgData.h"
#include "support/JpegBuilder.h"

namespace lumatrim::test {

std::string MakerPhoto::Tiff() const {
  auto build = [&](uint32_t makerOffset, uint32_t length) {
    Ifd exif;
    if (!exifVersion.empty()) exif.Undefined(0x9000, exifVersion);
    exif.WithOffset(0x927C, UNDEFINED, length, makerOffset);
    exif.Long(0xA002, {640});
    exif.Rational(0x829D, {{28, 10}});
    Ifd ifd0;
    ifd0.Ascii(0x010F, make);
    if (!model.empty()) ifd0.Ascii(0x0110, model);
    ifd0.SubIfd(0x8769, exif);
    return TiffBuilder(order).Bytes(ifd0);
  };
  // The block's size does not depend on the offset written into the entry.
  const uint32_t length = static_cast<uint32_t>(declaredLength >= 0 ? declaredLength : body(0).size());
  std::string tiff = build(0, length);
  const auto makerOffset = static_cast<uint32_t>((tiff.size() + 1) & ~size_t{1});
  tiff = build(makerOffset, length);
  tiff.resize(makerOffset, '\0');
  return tiff + body(makerOffset);
}

std::string MakerPhoto::Jpeg() const { return JpegBuilder().Soi().App1Exif(Tiff()).Sos().Bytes(); }

std::string ReadResult::Data(const std::string& desc) const {
  for (const MakerEntry& e : maker)
    if (e.desc == desc) return e.data;
  return "<missing>";
}

bool ReadResult::Has(const std::string& desc) const { return Data(desc) != "<missing>"; }

ReadResult ReadPhotoFile(const std::string& path) {
  ReadResult result;
  TimgData data;
  result.read = data.ReadPhoto(path);
  result.errorText = data.ErrorText;
  if (!data.ExifInfo) return result;
  result.makerNote = data.ExifInfo->MakerNoteRaw;
  for (const TTagEntry& e : data.ExifInfo->TagList) {
    if (e.Group == 1) result.maker.push_back({e.Desc, e.Data, e.Raw});
    if (e.Tag == 0xA002) result.exifImageWidth = e.Data;
    if (e.Tag == 0x829D) result.fNumber = e.Data;
  }
  return result;
}

ReadResult ReadPhotoBytes(const std::string& bytes, const std::string& fileName) {
  TempDir dir;
  return ReadPhotoFile(WriteFile(dir.File(fileName), bytes));
}

}  // namespace lumatrim::test
