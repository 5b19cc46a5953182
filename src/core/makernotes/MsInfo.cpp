#include "core/makernotes/MsInfo.h"

#include <cstdint>
#include <string>

#include "core/exif/ImageInfo.h"
#include "core/makernotes/MakerLayout.h"

namespace lumatrim {

namespace {
// Puts the block's byte order back however the walk ends.
class ByteOrderGuard {
 public:
  explicit ByteOrderGuard(TImageInfo& info) : info_(info), saved_(info.BigEndian) {}
  ~ByteOrderGuard() { info_.BigEndian = saved_; }
  ByteOrderGuard(const ByteOrderGuard&) = delete;
  ByteOrderGuard& operator=(const ByteOrderGuard&) = delete;

 private:
  TImageInfo& info_;
  bool saved_;
};
}  // namespace

bool TmsInfo::DecodeMakerNote() {
  const std::optional<MakerLayout> layout = ChooseMakerLayout(ImageInfo, FromTiffFile);
  if (!layout) return false;
  ByteOrderGuard guard(ImageInfo);
  if (layout->LittleEndian) ImageInfo.BigEndian = false;
  ImageInfo.ParseMakerDirectory(ImageInfo.MakerNoteRaw, layout->Table, layout->DirOffset, layout->Adjust);
  return true;
}

}  // namespace lumatrim
