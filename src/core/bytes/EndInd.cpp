#include "core/bytes/EndInd.h"

#include <algorithm>

namespace lumatrim {

bool tEndInd::InRange(int64_t size, int64_t pos, int64_t count) {
  return pos >= 1 && count >= 0 && count <= size && pos - 1 <= size - count;
}

int64_t tEndInd::BlockSize() const {
  if (!Source) return static_cast<int64_t>(Buffer.size());
  return std::max<int64_t>(0, Source->Size() - SourceOrigin);
}

std::string tEndInd::Copy(int64_t pos, int64_t count) const {
  if (!FromSource(pos, count)) return CopyFrom(Buffer, pos, count);
  if (pos < 1 || pos > BlockSize()) return {};
  return Source->ReadAt(SourceOrigin + pos - 1, count);
}

std::string tEndInd::Window(int64_t pos, int count) const {
  std::string bytes(static_cast<size_t>(count), '\0');
  if (pos > BlockSize() || pos <= -count) return bytes;
  const int64_t skipped = pos < 1 ? 1 - pos : 0;  // bytes before position 1 stay zero
  const std::string got = Copy(pos + skipped, count - skipped);
  bytes.replace(static_cast<size_t>(skipped), got.size(), got);
  return bytes;
}

uint8_t tEndInd::GetByte(int64_t pos) const {
  return FromSource(pos, 1) ? ByteAt(Window(pos, 1), 1) : ByteAt(Buffer, pos);
}

uint16_t tEndInd::GetWord(int64_t pos) const {
  return FromSource(pos, 2) ? WordAt(Window(pos, 2), 1, BigEndian) : WordAt(Buffer, pos, BigEndian);
}

uint32_t tEndInd::GetLong(int64_t pos) const {
  return FromSource(pos, 4) ? LongAt(Window(pos, 4), 1, BigEndian) : LongAt(Buffer, pos, BigEndian);
}

uint8_t tEndInd::ByteAt(const std::string& bytes, int64_t pos) {
  if (!InRange(bytes, pos, 1)) return 0;
  return static_cast<uint8_t>(bytes[static_cast<size_t>(pos - 1)]);
}

uint16_t tEndInd::WordAt(const std::string& bytes, int64_t pos, bool bigEndian) {
  // Far outside the buffer: answer before pos + 1 could overflow.
  if (pos < 0 || pos > static_cast<int64_t>(bytes.size())) return 0;
  const uint16_t a = ByteAt(bytes, pos), b = ByteAt(bytes, pos + 1);
  return bigEndian ? static_cast<uint16_t>(a << 8 | b) : static_cast<uint16_t>(b << 8 | a);
}

uint32_t tEndInd::LongAt(const std::string& bytes, int64_t pos, bool bigEndian) {
  if (pos < -2 || pos > static_cast<int64_t>(bytes.size())) return 0;
  const uint32_t hi = WordAt(bytes, bigEndian ? pos : pos + 2, bigEndian);
  const uint32_t lo = WordAt(bytes, bigEndian ? pos + 2 : pos, bigEndian);
  return hi << 16 | lo;
}

std::string tEndInd::CopyFrom(const std::string& bytes, int64_t pos, int64_t count) {
  const auto size = static_cast<int64_t>(bytes.size());
  if (pos < 1 || count <= 0 || pos > size) return {};
  const int64_t available = size - (pos - 1);
  return bytes.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(count < available ? count : available));
}

void tEndInd::PutWord(std::string& buffer, uint16_t value, int64_t pos) const {
  if (!InRange(buffer, pos, 2)) return;
  const auto i = static_cast<size_t>(pos - 1);
  buffer[i] = static_cast<char>(BigEndian ? value >> 8 : value & 0xFF);
  buffer[i + 1] = static_cast<char>(BigEndian ? value & 0xFF : value >> 8);
}

void tEndInd::PutLong(std::string& buffer, uint32_t value, int64_t pos) const {
  if (!InRange(buffer, pos, 4)) return;
  const auto hi = static_cast<uint16_t>(value >> 16), lo = static_cast<uint16_t>(value & 0xFFFF);
  PutWord(buffer, BigEndian ? hi : lo, pos);
  PutWord(buffer, BigEndian ? lo : hi, pos + 2);
}

}  // namespace lumatrim
