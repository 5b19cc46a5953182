#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumatrim {

class RandomAccessBytes;  // core/bytes/RandomAccessBytes.h

enum class ByteOrder : uint8_t { LittleEndian, BigEndian };  // "II" and "MM" in a TIFF header

// A read-only window on bytes someone else owns, read in one byte order at
// 0-based offsets. This is the only code that turns file bytes into numbers.
//
// Offsets are signed: an offset read from a file plus a base may land before
// the window as easily as past it. The direct reads treat every byte outside
// the window as zero, which the metadata layout relies on (an entry cut off by
// the end of its block reads as zeros); Cursor reads refuse instead.
//
// A window too large to hold (a TIFF file) keeps only its beginning in
// memory; with a source, offset o past it is byte sourceOrigin + o of the
// source, read on demand.
class ByteView {
 public:
  ByteView() = default;
  ByteView(std::string_view bytes, ByteOrder order) : bytes_(bytes), order_(order) {}
  ByteView(std::string_view prefix, ByteOrder order, const RandomAccessBytes* source, int64_t sourceOrigin)
      : bytes_(prefix), order_(order), source_(source), sourceOrigin_(sourceOrigin) {}

  int64_t Size() const;
  bool Empty() const { return bytes_.empty(); }
  ByteOrder Order() const { return order_; }
  bool BigEndian() const { return order_ == ByteOrder::BigEndian; }
  std::string_view Bytes() const { return bytes_; }

  // True when [offset, offset + count) lies inside the window. Written so that
  // no hostile offset or count can overflow the test.
  bool Contains(int64_t offset, int64_t count) const {
    return offset >= 0 && count >= 0 && count <= Size() && offset <= Size() - count;
  }

  // Bytes outside the window read as zero.
  uint8_t U8(int64_t offset) const;
  uint16_t U16(int64_t offset) const;
  uint32_t U32(int64_t offset) const;

  // Up to count bytes from offset: shorter where the window ends first, empty
  // when offset lies outside it.
  std::string Copy(int64_t offset, int64_t count) const;
  // The same, of the bytes held in memory, without a copy.
  std::string_view Clip(int64_t offset, int64_t count) const;
  // Those bytes as a view of their own (same byte order).
  ByteView Sub(int64_t offset, int64_t count) const { return ByteView(Clip(offset, count), order_); }
  ByteView WithOrder(ByteOrder order) const { return ByteView(bytes_, order, source_, sourceOrigin_); }

 private:
  std::string_view bytes_;
  ByteOrder order_ = ByteOrder::LittleEndian;
  const RandomAccessBytes* source_ = nullptr;
  int64_t sourceOrigin_ = 0;

  bool InMemory(int64_t offset, int64_t count) const {
    const auto size = static_cast<int64_t>(bytes_.size());
    return offset >= 0 && count >= 0 && count <= size && offset <= size - count;
  }
  // count (at most 4) bytes from offset, zero where they lie outside the window.
  void Gather(int64_t offset, int count, uint8_t* out) const;
};

// Writes a number in a byte order into a buffer; a write that would not fit
// entirely is dropped.
void PutU16(std::string& buffer, int64_t offset, uint16_t value, ByteOrder order);
void PutU32(std::string& buffer, int64_t offset, uint32_t value, ByteOrder order);

// A reading position in a ByteView whose first failure sticks: after a read
// past the end every later read returns zero and leaves the offset alone, so
// a parser reads a whole structure and checks once. The failure text says
// where: "offset 0x47 is beyond the end of data at 0x2".
class Cursor {
 public:
  explicit Cursor(ByteView view, int64_t offset = 0) : view_(view), offset_(offset) {}

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  std::string Bytes(int64_t count);
  void Skip(int64_t count) { Take(count); }
  void Seek(int64_t offset);

  int64_t Offset() const { return offset_; }
  int64_t Remaining() const { return view_.Contains(offset_, 0) ? view_.Size() - offset_ : 0; }
  bool Ok() const { return error_.empty(); }
  explicit operator bool() const { return Ok(); }
  // The first failure's text, empty while all reads succeeded.
  const std::string& Error() const { return error_; }

 private:
  ByteView view_;
  int64_t offset_;
  std::string error_;

  // The offset of count bytes at the cursor, advancing past them; -1 (and the
  // failure recorded) when they are not all there.
  int64_t Take(int64_t count);
};

}  // namespace lumatrim
