#pragma once
#include <cstdint>

#include "core/bytes/ByteView.h"

namespace lumatrim {

// One 12-byte directory entry as read, with where its value lies.
struct IfdEntry {
  uint16_t tag = 0;
  uint16_t type = 0;          // raw field type; see TiffType
  uint32_t count = 0;         // number of values
  uint64_t byteCount = 0;     // count times the type's size
  int64_t offset = 0;         // of the entry in the view
  int64_t valueOffset = 0;    // of the value: in the entry when it fits 4 bytes, else its offset field + base

  bool ValueInline() const { return byteCount <= 4; }
};

// The one reader of a TIFF directory, for the EXIF directories and the maker
// notes alike. A directory at `offset` of the view:
//   2 bytes   entry count
//   12 bytes  per entry: 2 tag, 2 type, 4 count, 4 value or offset of the value
//   4 bytes   offset of the next directory (IFD1 after IFD0)
// Offsets read from the file are distrusted by whoever reads the value: they
// only locate it (reads outside the view give zeros).
class IfdReader {
 public:
  static constexpr int64_t kEntrySize = 12;

  IfdReader(ByteView view, int64_t offset) : view_(view), offset_(offset) {}

  // The count field as written (may promise more entries than there are bytes).
  uint16_t CountField() const { return view_.U16(offset_); }
  // How many whole entries the view holds after the count field.
  int64_t EntriesInView() const;
  // Offset of the next-directory field after count entries.
  int64_t LinkOffset(int64_t count) const { return offset_ + 2 + kEntrySize * count; }
  uint32_t NextDirectory(int64_t count) const { return view_.U32(LinkOffset(count)); }

  // Entry i; a value that does not fit the entry lies at its offset field plus
  // valueBase (where offset 0 of the file's offsets falls in the view).
  IfdEntry Entry(int64_t index, int64_t valueBase) const;

 private:
  ByteView view_;
  int64_t offset_;
};

}  // namespace lumatrim
