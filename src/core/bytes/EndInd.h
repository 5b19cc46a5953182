#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace lumatrim {

// A byte string read in the byte order of a TIFF block, at 1-based positions
// (position 1 is the first byte), so the offset arithmetic of the EXIF code
// reads like the file layout: for a JPEG APP1 block, "II"/"MM" stands at 9.
//
// This is the only code that touches raw file bytes. Every read is range
// checked: bytes outside the buffer read as zero, so a hostile offset can never
// reach memory outside the file's bytes. Writes outside the buffer are dropped.
class tEndInd {
 public:
  bool BigEndian = false;
  std::string Buffer;

  virtual ~tEndInd() = default;

  void SetBuffer(std::string bytes) { Buffer = std::move(bytes); }
  const std::string& GetBuffer() const { return Buffer; }

  // True when [pos, pos + count) lies inside the buffer; cannot overflow.
  bool Contains(int64_t pos, int64_t count) const { return InRange(Buffer, pos, count); }

  uint8_t GetByte(int64_t pos) const { return ByteAt(Buffer, pos); }
  uint16_t GetWord(int64_t pos) const { return WordAt(Buffer, pos, BigEndian); }
  uint32_t GetLong(int64_t pos) const { return LongAt(Buffer, pos, BigEndian); }

  // Writes into the given buffer (not necessarily Buffer) in this block's order.
  void PutLong(std::string& buffer, uint32_t value, int64_t pos) const;
  void PutWord(std::string& buffer, uint16_t value, int64_t pos) const;

  // Up to count bytes from pos; shorter (or empty) where the buffer ends first.
  std::string Copy(int64_t pos, int64_t count) const { return CopyFrom(Buffer, pos, count); }

  // The same accessors over any byte string, for callers without a tEndInd.
  static bool InRange(const std::string& bytes, int64_t pos, int64_t count);
  static uint8_t ByteAt(const std::string& bytes, int64_t pos);
  static uint16_t WordAt(const std::string& bytes, int64_t pos, bool bigEndian);
  static uint32_t LongAt(const std::string& bytes, int64_t pos, bool bigEndian);
  static std::string CopyFrom(const std::string& bytes, int64_t pos, int64_t count);
};

}  // namespace lumatrim
