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

// The maker note as the walk may read it: a directory whose count promises
// more entries than the bytes hold is cut to the whole entries present, so no
// entry is made up of bytes from beyond the note. Empty when the note is too
// short to hold even the count.
std::string BoundedBlock(const TImageInfo& info, int dirOffset) {
  const std::string& note = info.MakerNoteRaw;
  const int64_t countPos = int64_t{dirOffset} + 1;
  if (!tEndInd::InRange(note, countPos, 2)) return {};
  const int64_t fitting = (static_cast<int64_t>(note.size()) - (countPos + 1)) / 12;
  if (tEndInd::WordAt(note, countPos, info.BigEndian) <= fitting) return note;
  std::string bounded = note;
  info.PutWord(bounded, static_cast<uint16_t>(fitting), countPos);
  return bounded;
}
}  // namespace

bool TmsInfo::DecodeMakerNote() {
  const std::optional<MakerLayout> layout = ChooseMakerLayout(ImageInfo, FromTiffFile);
  if (!layout) return false;
  ByteOrderGuard guard(ImageInfo);
  if (layout->LittleEndian) ImageInfo.BigEndian = false;
  const std::string block = BoundedBlock(ImageInfo, layout->DirOffset);
  if (!block.empty()) ImageInfo.ParseMakerDirectory(block, layout->Table, layout->DirOffset, layout->Adjust);
  return true;
}

}  // namespace lumatrim
