#include "core/bytes/ByteView.h"

#include <cstdint>
#include <cstdio>

#include <algorithm>

#include "core/bytes/RandomAccessBytes.h"

namespace lumatrim {
namespace {

std::string Hex(int64_t value) {
  char text[24];
  if (value < 0) std::snprintf(text, sizeof text, "-0x%llx", static_cast<unsigned long long>(-(value + 1)) + 1);
  else std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

int64_t ByteView::Size() const {
  if (!source_) return static_cast<int64_t>(bytes_.size());
  return std::max<int64_t>(0, source_->Size() - sourceOrigin_);
}

void ByteView::Gather(int64_t offset, int count, uint8_t* out) const {
  std::fill(out, out + count, 0);
  // Far outside: answer before offset + count could overflow.
  if (offset <= -count || offset > Size()) return;
  if (!source_ || InMemory(offset, count)) {
    for (int i = 0; i < count; ++i)
      if (InMemory(offset + i, 1)) out[i] = static_cast<uint8_t>(bytes_[static_cast<size_t>(offset + i)]);
    return;
  }
  const int64_t skipped = offset < 0 ? -offset : 0;  // bytes before the window stay zero
  const std::string got = Copy(offset + skipped, count - skipped);
  std::copy(got.begin(), got.end(), out + skipped);
}

uint8_t ByteView::U8(int64_t offset) const {
  uint8_t b[1];
  Gather(offset, 1, b);
  return b[0];
}

uint16_t ByteView::U16(int64_t offset) const {
  uint8_t b[2];
  Gather(offset, 2, b);
  return BigEndian() ? static_cast<uint16_t>(b[0] << 8 | b[1]) : static_cast<uint16_t>(b[1] << 8 | b[0]);
}

uint32_t ByteView::U32(int64_t offset) const {
  uint8_t b[4];
  Gather(offset, 4, b);
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= BigEndian() ? uint32_t{b[i]} << (8 * (3 - i)) : uint32_t{b[i]} << (8 * i);
  return value;
}

std::string ByteView::Copy(int64_t offset, int64_t count) const {
  if (!source_ || InMemory(offset, count)) return std::string(Clip(offset, count));
  if (offset < 0 || offset >= Size()) return {};
  return source_->ReadAt(sourceOrigin_ + offset, count);
}

std::string_view ByteView::Clip(int64_t offset, int64_t count) const {
  const auto size = static_cast<int64_t>(bytes_.size());
  if (offset < 0 || count <= 0 || offset >= size) return {};
  const int64_t available = size - offset;
  return bytes_.substr(static_cast<size_t>(offset), static_cast<size_t>(count < available ? count : available));
}

void PutU16(std::string& buffer, int64_t offset, uint16_t value, ByteOrder order) {
  if (!ByteView(buffer, order).Contains(offset, 2)) return;
  const auto i = static_cast<size_t>(offset);
  const bool big = order == ByteOrder::BigEndian;
  buffer[i] = static_cast<char>(big ? value >> 8 : value & 0xFF);
  buffer[i + 1] = static_cast<char>(big ? value & 0xFF : value >> 8);
}

void PutU32(std::string& buffer, int64_t offset, uint32_t value, ByteOrder order) {
  if (!ByteView(buffer, order).Contains(offset, 4)) return;
  const auto hi = static_cast<uint16_t>(value >> 16), lo = static_cast<uint16_t>(value & 0xFFFF);
  const bool big = order == ByteOrder::BigEndian;
  PutU16(buffer, offset, big ? hi : lo, order);
  PutU16(buffer, offset + 2, big ? lo : hi, order);
}

int64_t Cursor::Take(int64_t count) {
  if (!Ok()) return -1;
  if (!view_.Contains(offset_, 0)) {
    error_ = "offset " + Hex(offset_) + " is beyond the end of data at " + Hex(view_.Size());
    return -1;
  }
  if (!view_.Contains(offset_, count)) {
    error_ = "unexpected end of data at offset " + Hex(view_.Size()) + " while reading [" + Hex(offset_) + ", " +
             (count < 0 || count > INT64_MAX - offset_ ? std::string("...") : Hex(offset_ + count)) + ")";
    return -1;
  }
  const int64_t at = offset_;
  offset_ += count;
  return at;
}

uint8_t Cursor::U8() {
  const int64_t at = Take(1);
  return at < 0 ? 0 : view_.U8(at);
}

uint16_t Cursor::U16() {
  const int64_t at = Take(2);
  return at < 0 ? 0 : view_.U16(at);
}

uint32_t Cursor::U32() {
  const int64_t at = Take(4);
  return at < 0 ? 0 : view_.U32(at);
}

std::string Cursor::Bytes(int64_t count) {
  const int64_t at = Take(count);
  return at < 0 ? std::string() : view_.Copy(at, count);
}

void Cursor::Seek(int64_t offset) {
  if (Ok()) offset_ = offset;
}

}  // namespace lumatrim
