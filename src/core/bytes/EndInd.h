#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/bytes/RandomAccessBytes.h"

namespace lumatrim {

// A byte string read in the byte order of a TIFF block, at 1-based positions
// (position 1 is the first byte), so the offset arithmetic of the EXIF code
// reads like the file layout: for a JPEG APP1 block, "II"/"MM" stands at 9.
//
// This is the only code that touches raw file bytes. Every read is range
// checked: bytes outside the buffer read as zero, so a hostile offset can never
// reach memory outside the file's bytes. Writes outside the buffer are dropped.
//
// A block too large to hold (a TIFF file) keeps only its beginning in Buffer;
// with Source set, the bytes past it are read on demand: position p is byte
// SourceOrigin + p - 1 of Source, so Buffer is a prefix of what Source holds.
class tEndInd {
 public:
  bool BigEndian = false;
  std::string Buffer;
  std::shared_ptr<const RandomAccessBytes> Source;
  int64_t SourceOrigin = 0;

  virtual ~tEndInd() = default;

  void SetBuffer(std::string bytes) { Buffer = std::move(bytes); }
  const std::string& GetBuffer() const { return Buffer; }

  // Bytes in the block: Buffer's, or Source's from SourceOrigin on.
  int64_t BlockSize() const;
  // True when [pos, pos + count) lies inside the block; cannot overflow.
  bool Contains(int64_t pos, int64_t count) const { return InRange(BlockSize(), pos, count); }

  uint8_t GetByte(int64_t pos) const;
  uint16_t GetWord(int64_t pos) const;
  uint32_t GetLong(int64_t pos) const;

  // Writes into the given buffer (not necessarily Buffer) in this block's order.
  void PutLong(std::string& buffer, uint32_t value, int64_t pos) const;
  void PutWord(std::string& buffer, uint16_t value, int64_t pos) const;

  // Up to count bytes from pos; shorter (or empty) where the block ends first.
  std::string Copy(int64_t pos, int64_t count) const;

  // The same accessors over any byte string, for callers without a tEndInd.
  static bool InRange(const std::string& bytes, int64_t pos, int64_t count) {
    return InRange(static_cast<int64_t>(bytes.size()), pos, count);
  }
  static bool InRange(int64_t size, int64_t pos, int64_t count);
  static uint8_t ByteAt(const std::string& bytes, int64_t pos);
  static uint16_t WordAt(const std::string& bytes, int64_t pos, bool bigEndian);
  static uint32_t LongAt(const std::string& bytes, int64_t pos, bool bigEndian);
  static std::string CopyFrom(const std::string& bytes, int64_t pos, int64_t count);

 private:
  // Source is consulted only for what Buffer does not hold.
  bool FromSource(int64_t pos, int64_t count) const { return Source && !InRange(Buffer, pos, count); }
  // count (at most 4) bytes from pos, zero where they lie outside the block.
  std::string Window(int64_t pos, int count) const;
};

}  // namespace lumatrim
