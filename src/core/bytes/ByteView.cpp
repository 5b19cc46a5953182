#include "core/bytes/ByteView.h"

#include <cstdint>
#include <cstdio>

namespace lumatrim {
namespace {

std::string Hex(int64_t value) {
  char text[24];
  if (value < 0) std::snprintf(text, sizeof text, "-0x%llx", static_cast<unsigned long long>(-(value + 1)) + 1);
  else std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

uint8_t ByteView::U8(int64_t offset) const {
  return Contains(offset, 1) ? static_cast<uint8_t>(bytes_[static_cast<size_t>(offset)]) : 0;
}

uint16_t ByteView::U16(int64_t offset) const {
  // Far outside: answer before offset + 1 could overflow.
  if (offset < -1 || offset > Size()) return 0;
  const uint16_t a = U8(offset), b = U8(offset + 1);
  return BigEndian() ? static_cast<uint16_t>(a << 8 | b) : static_cast<uint16_t>(b << 8 | a);
}

uint32_t ByteView::U32(int64_t offset) const {
  if (offset < -3 || offset > Size()) return 0;
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const uint32_t byte = U8(offset + i);
    value |= BigEndian() ? byte << (8 * (3 - i)) : byte << (8 * i);
  }
  return value;
}

std::string_view ByteView::Clip(int64_t offset, int64_t count) const {
  if (offset < 0 || count <= 0 || offset >= Size()) return {};
  const int64_t available = Size() - offset;
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

std::string_view Cursor::Bytes(int64_t count) {
  const int64_t at = Take(count);
  return at < 0 ? std::string_view() : view_.Clip(at, count);
}

void Cursor::Seek(int64_t offset) {
  if (Ok()) offset_ = offset;
}

}  // namespace lumatrim
