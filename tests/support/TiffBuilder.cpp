#include "support/TiffBuilder.h"

namespace lumatrim::test {

std::string U16(uint16_t v, Order order) {
  std::string s(2, '\0');
  s[order == Order::Motorola ? 0 : 1] = static_cast<char>(v >> 8);
  s[order == Order::Motorola ? 1 : 0] = static_cast<char>(v & 0xFF);
  return s;
}

std::string U32(uint32_t v, Order order) {
  const std::string hi = U16(static_cast<uint16_t>(v >> 16), order), lo = U16(static_cast<uint16_t>(v), order);
  return order == Order::Motorola ? hi + lo : lo + hi;
}

namespace {
std::string Number(uint64_t v, int size, Order order) {
  if (size == 1) return std::string(1, static_cast<char>(v & 0xFF));
  if (size == 2) return U16(static_cast<uint16_t>(v), order);
  return U32(static_cast<uint32_t>(v), order);
}
// A number that names no type is written a byte per value.
int TypeSize(uint16_t type) {
  const int size = TiffTypeSize(type);
  return size == 0 ? 1 : size;
}
}  // namespace

Ifd& Ifd::Raw(uint16_t tag, uint16_t type, uint32_t count, const std::string& bytes) {
  Item item; item.tag = tag; item.type = type; item.count = count; item.anyOrder = bytes;
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::Ascii(uint16_t tag, const std::string& text) {
  return Raw(tag, ASCII, static_cast<uint32_t>(text.size() + 1), text + std::string(1, '\0'));
}

Ifd& Ifd::Undefined(uint16_t tag, const std::string& bytes) {
  return Raw(tag, UNDEFINED, static_cast<uint32_t>(bytes.size()), bytes);
}

Ifd& Ifd::Bytes(uint16_t tag, std::initializer_list<uint8_t> values) {
  return Raw(tag, BYTE, static_cast<uint32_t>(values.size()), std::string(values.begin(), values.end()));
}

Ifd& Ifd::Typed(uint16_t tag, uint16_t type, std::initializer_list<uint32_t> values) {
  Item item; item.tag = tag; item.type = type; item.count = static_cast<uint32_t>(values.size());
  item.numberSize = TypeSize(type);
  for (uint32_t v : values) item.numbers.push_back(v);
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::Short(uint16_t tag, std::initializer_list<uint16_t> values) {
  return Short(tag, std::vector<uint16_t>(values));
}

Ifd& Ifd::Short(uint16_t tag, const std::vector<uint16_t>& values) {
  Item item; item.tag = tag; item.type = SHORT; item.count = static_cast<uint32_t>(values.size());
  item.numberSize = 2;
  for (uint16_t v : values) item.numbers.push_back(v);
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::Long(uint16_t tag, std::initializer_list<uint32_t> values) { return Typed(tag, LONG, values); }

Ifd& Ifd::Rational(uint16_t tag, std::initializer_list<std::pair<uint32_t, uint32_t>> values) {
  return Rational(tag, std::vector<std::pair<uint32_t, uint32_t>>(values));
}

Ifd& Ifd::Rational(uint16_t tag, const std::vector<std::pair<uint32_t, uint32_t>>& values) {
  Item item; item.tag = tag; item.type = RATIONAL; item.count = static_cast<uint32_t>(values.size());
  item.numberSize = 4;
  for (auto [n, d] : values) { item.numbers.push_back(n); item.numbers.push_back(d); }
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::SRational(uint16_t tag, std::initializer_list<std::pair<int32_t, int32_t>> values) {
  Item item; item.tag = tag; item.type = SRATIONAL; item.count = static_cast<uint32_t>(values.size());
  item.numberSize = 4;
  for (auto [n, d] : values) {
    item.numbers.push_back(static_cast<uint32_t>(n));
    item.numbers.push_back(static_cast<uint32_t>(d));
  }
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::WithOffset(uint16_t tag, uint16_t type, uint32_t count, uint32_t offsetField) {
  Item item; item.tag = tag; item.type = type; item.count = count;
  item.fixedOffset = true; item.offsetField = offsetField;
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::Generated(uint16_t tag, uint16_t type, uint32_t count, size_t size, Generator make) {
  Item item; item.tag = tag; item.type = type; item.count = count;
  item.generate = std::move(make); item.generatedSize = size;
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::SubIfd(uint16_t tag, const Ifd& child) {
  Item item; item.tag = tag; item.type = LONG; item.count = 1;
  item.child = std::make_shared<Ifd>(child);
  items_.push_back(item);
  return *this;
}

Ifd& Ifd::Next(const Ifd& next) {
  next_ = std::make_shared<Ifd>(next);
  return *this;
}

Ifd& Ifd::Thumbnail(const std::string& jpegBytes) {
  thumbnail_ = jpegBytes;
  Item offset; offset.tag = 0x0201; offset.type = LONG; offset.count = 1; offset.thumbnailOffset = true;
  Item length; length.tag = 0x0202; length.type = LONG; length.count = 1; length.thumbnailLength = true;
  items_.push_back(offset);
  items_.push_back(length);
  return *this;
}

Ifd& Ifd::ForceCount(uint16_t count) {
  forcedCount_ = count;
  return *this;
}

std::string Ifd::ValueBytes(const Item& item, Order order, uint32_t at) {
  if (item.generate) return item.generate(at, order);
  if (!item.numbers.empty()) {
    std::string out;
    for (uint64_t v : item.numbers) out += Number(v, item.numberSize, order);
    return out;
  }
  return item.anyOrder;
}

std::string Ifd::Serialize(Order order, uint32_t start, Layout layout) const {
  if (layout == Layout::Camera) return SerializeInCameraLayout(order, start);
  const auto dirSize = static_cast<uint32_t>(2 + 12 * items_.size() + 4);
  std::string data;  // everything after the directory itself
  auto here = [&] { return start + dirSize + static_cast<uint32_t>(data.size()); };
  auto align = [&] { if (data.size() % 2) data.push_back('\0'); };

  std::vector<std::string> fields(items_.size());
  uint32_t thumbOffset = 0;
  if (!thumbnail_.empty()) {
    thumbOffset = here();
    data += thumbnail_;
    align();
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    if (item.fixedOffset) { fields[i] = U32(item.offsetField, order); continue; }
    if (item.child) continue;
    if (item.thumbnailOffset) { fields[i] = U32(thumbOffset, order); continue; }
    if (item.thumbnailLength) { fields[i] = U32(static_cast<uint32_t>(thumbnail_.size()), order); continue; }
    std::string value = ValueBytes(item, order, here());
    if (value.size() <= 4) {
      fields[i] = value + std::string(4 - value.size(), '\0');
    } else {
      fields[i] = U32(here(), order);
      data += value;
      align();
    }
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i].child) continue;
    fields[i] = U32(here(), order);
    data += items_[i].child->Serialize(order, here());
    align();
  }
  uint32_t nextOffset = 0;
  if (next_) {
    nextOffset = here();
    data += next_->Serialize(order, here());
  }

  std::string out = U16(forcedCount_ >= 0 ? static_cast<uint16_t>(forcedCount_) : static_cast<uint16_t>(items_.size()), order);
  for (size_t i = 0; i < items_.size(); ++i) {
    out += U16(items_[i].tag, order) + U16(items_[i].type, order) + U32(items_[i].count, order) + fields[i];
  }
  out += U32(nextOffset, order);
  return out + data;
}

std::string Ifd::SerializeInCameraLayout(Order order, uint32_t start) const {
  const auto dirSize = static_cast<uint32_t>(2 + 12 * items_.size() + 4);
  std::string data;
  // Offset of the next block, word-aligned before it (no padding at the end).
  auto place = [&] {
    if (data.size() % 2) data.push_back('\0');
    return start + dirSize + static_cast<uint32_t>(data.size());
  };
  std::vector<std::string> fields(items_.size());
  std::vector<size_t> later;  // sub-directories and the thumbnail, after the values
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    if (item.fixedOffset) { fields[i] = U32(item.offsetField, order); continue; }
    if (item.child || item.thumbnailOffset) { later.push_back(i); continue; }
    if (item.thumbnailLength) { fields[i] = U32(static_cast<uint32_t>(thumbnail_.size()), order); continue; }
    const size_t size = item.generate ? item.generatedSize : ValueBytes(item, order, 0).size();
    if (size <= 4) {
      std::string value = ValueBytes(item, order, 0);
      value.resize(4, '\0');
      fields[i] = value;
    } else {
      const uint32_t at = place();
      fields[i] = U32(at, order);
      data += ValueBytes(item, order, at);
    }
  }
  for (size_t i : later) {
    const uint32_t at = place();
    fields[i] = U32(at, order);
    data += items_[i].child ? items_[i].child->Serialize(order, at, Layout::Camera) : thumbnail_;
  }
  uint32_t nextOffset = 0;
  if (next_) {
    nextOffset = place();
    data += next_->Serialize(order, nextOffset, Layout::Camera);
  }
  std::string out = U16(forcedCount_ >= 0 ? static_cast<uint16_t>(forcedCount_) : static_cast<uint16_t>(items_.size()), order);
  for (size_t i = 0; i < items_.size(); ++i) {
    out += U16(items_[i].tag, order) + U16(items_[i].type, order) + U32(items_[i].count, order) + fields[i];
  }
  out += U32(nextOffset, order);
  return out + data;
}

std::string TiffBuilder::Bytes(const Ifd& ifd0) const {
  std::string out = order_ == Order::Motorola ? "MM" : "II";
  out += U16(42, order_) + U32(ifd0Offset_, order_);
  // A header naming another IFD0 offset still gets IFD0 at 8 unless padded.
  if (ifd0Offset_ > 8 && ifd0Offset_ < 1u << 20) out += std::string(ifd0Offset_ - 8, '\0');
  return out + ifd0.Serialize(order_, ifd0Offset_ >= 8 && ifd0Offset_ < 1u << 20 ? ifd0Offset_ : 8, layout_);
}

}  // namespace lumatrim::test
