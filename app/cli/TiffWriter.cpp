#include "cli/TiffWriter.h"

namespace cli {

std::string U16(uint16_t v, bool bigEndian) {
  const char hi = static_cast<char>(v >> 8), lo = static_cast<char>(v & 0xFF);
  return bigEndian ? std::string{hi, lo} : std::string{lo, hi};
}

std::string U32(uint32_t v, bool bigEndian) {
  const auto hi = static_cast<uint16_t>(v >> 16), lo = static_cast<uint16_t>(v & 0xFFFF);
  return bigEndian ? U16(hi, true) + U16(lo, true) : U16(lo, false) + U16(hi, false);
}

TiffDir& TiffDir::Add(uint16_t tag, uint16_t type, uint32_t count, std::function<std::string(uint32_t, bool)> value,
                      size_t size) {
  Entry entry;
  entry.tag = tag;
  entry.type = type;
  entry.count = count;
  entry.value = std::move(value);
  entry.size = size;
  entries_.push_back(std::move(entry));
  return *this;
}

TiffDir& TiffDir::Ascii(uint16_t tag, const std::string& text) {
  const std::string bytes = text + '\0';
  return Add(tag, 2, static_cast<uint32_t>(bytes.size()), [bytes](uint32_t, bool) { return bytes; }, bytes.size());
}

TiffDir& TiffDir::Bytes(uint16_t tag, uint16_t type, const std::string& bytes) {
  return Add(tag, type, static_cast<uint32_t>(bytes.size()), [bytes](uint32_t, bool) { return bytes; }, bytes.size());
}

TiffDir& TiffDir::Short(uint16_t tag, std::vector<uint16_t> values) {
  const size_t n = values.size();
  return Add(tag, 3, static_cast<uint32_t>(n), [values](uint32_t, bool be) {
    std::string out;
    for (uint16_t v : values) out += U16(v, be);
    return out;
  }, 2 * n);
}

TiffDir& TiffDir::Long(uint16_t tag, std::vector<uint32_t> values) {
  const size_t n = values.size();
  return Add(tag, 4, static_cast<uint32_t>(n), [values](uint32_t, bool be) {
    std::string out;
    for (uint32_t v : values) out += U32(v, be);
    return out;
  }, 4 * n);
}

TiffDir& TiffDir::Rational(uint16_t tag, std::vector<std::pair<uint32_t, uint32_t>> values) {
  const size_t n = values.size();
  return Add(tag, 5, static_cast<uint32_t>(n), [values](uint32_t, bool be) {
    std::string out;
    for (const auto& [num, den] : values) out += U32(num, be) + U32(den, be);
    return out;
  }, 8 * n);
}

TiffDir& TiffDir::SRational(uint16_t tag, std::vector<std::pair<int32_t, int32_t>> values) {
  const size_t n = values.size();
  return Add(tag, 10, static_cast<uint32_t>(n), [values](uint32_t, bool be) {
    std::string out;
    for (const auto& [num, den] : values) out += U32(static_cast<uint32_t>(num), be) + U32(static_cast<uint32_t>(den), be);
    return out;
  }, 8 * n);
}

TiffDir& TiffDir::Generated(uint16_t tag, uint16_t type, uint32_t count, size_t size, Generator make) {
  return Add(tag, type, count, std::move(make), size);
}

TiffDir& TiffDir::Sub(uint16_t tag, TiffDir child) {
  Add(tag, 4, 1, nullptr, 4);
  entries_.back().child = std::make_shared<TiffDir>(std::move(child));
  return *this;
}

TiffDir& TiffDir::Next(TiffDir next) {
  next_ = std::make_shared<TiffDir>(std::move(next));
  return *this;
}

TiffDir& TiffDir::Thumbnail(std::string jpeg) {
  thumbnail_ = std::move(jpeg);
  Add(0x0201, 4, 1, nullptr, 4);
  entries_.back().thumbnailOffset = true;
  return Long(0x0202, {static_cast<uint32_t>(thumbnail_.size())});
}

std::string TiffDir::Serialize(bool be, uint32_t at) const {
  const size_t tableSize = 2 + 12 * entries_.size() + 4;
  std::string table = U16(static_cast<uint16_t>(entries_.size()), be);
  std::string data;
  // Offset of the next byte appended to data, word aligned as TIFF wants.
  const auto nextOffset = [&]() {
    if (data.size() % 2) data += '\0';
    return static_cast<uint32_t>(at + tableSize + data.size());
  };
  std::vector<std::pair<size_t, const Entry*>> pending;  // children and thumbnail, placed after the values
  for (const Entry& entry : entries_) {
    table += U16(entry.tag, be) + U16(entry.type, be) + U32(entry.count, be);
    if (entry.child || entry.thumbnailOffset) {
      pending.emplace_back(table.size(), &entry);
      table += std::string(4, '\0');
    } else if (entry.size <= 4) {
      std::string value = entry.value(0, be);
      value.resize(4, '\0');
      table += value;
    } else {
      const uint32_t offset = nextOffset();
      data += entry.value(offset, be);
      table += U32(offset, be);
    }
  }
  const size_t linkAt = table.size();
  table += std::string(4, '\0');
  for (const auto& [slot, entry] : pending) {
    const uint32_t offset = nextOffset();
    data += entry->child ? entry->child->Serialize(be, offset) : thumbnail_;
    table.replace(slot, 4, U32(offset, be));
  }
  if (next_) {
    const uint32_t offset = nextOffset();
    data += next_->Serialize(be, offset);
    table.replace(linkAt, 4, U32(offset, be));
  }
  return table + data;
}

std::string BuildTiff(const TiffDir& ifd0, bool bigEndian) {
  return std::string(bigEndian ? "MM" : "II") + U16(42, bigEndian) + U32(8, bigEndian) + ifd0.Serialize(bigEndian, 8);
}

}  // namespace cli
