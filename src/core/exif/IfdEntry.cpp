#include "core/exif/IfdEntry.h"

#include <algorithm>

#include "core/exif/TiffType.h"

namespace lumatrim {

int64_t IfdReader::EntriesInView() const {
  return std::max<int64_t>(0, (view_.Size() - (offset_ + 2)) / kEntrySize);
}

IfdEntry IfdReader::Entry(int64_t index, int64_t valueBase) const {
  IfdEntry entry;
  entry.offset = LinkOffset(index);
  entry.tag = view_.U16(entry.offset);
  entry.type = view_.U16(entry.offset + 2);
  entry.count = view_.U32(entry.offset + 4);
  entry.byteCount = uint64_t{entry.count} * static_cast<uint64_t>(TiffTypeSize(entry.type));
  entry.valueOffset = entry.ValueInline() ? entry.offset + 8 : int64_t{view_.U32(entry.offset + 8)} + valueBase;
  return entry;
}

}  // namespace lumatrim
