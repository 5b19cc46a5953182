#pragma once
// What the reader made of a photo with a maker note.
#include <string>
#include <vector>

#include "core/photo/PhotoReader.h"
#include "support/JpegBuilder.h"

namespace lumatrim::test {

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
  ReadOptions options;
  options.decimalSeparator = '.';
  const PhotoMetadata data = ReadPhotoMetadata(path, options);
  result.read = data.MetadataPresent();
  if (!data.exif) return result;
  result.makerNote = data.exif->MakerNoteRaw;
  for (const TagEntry& e : data.exif->TagList) {
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
