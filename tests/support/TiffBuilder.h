#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/exif/TiffType.h"

namespace lumatrim::test {

enum class Order { Intel, Motorola };  // "II" little-endian, "MM" big-endian

// The core's TIFF field types as the raw numbers an entry carries; tests also
// write numbers that name no type.
constexpr uint16_t TypeNumber(TiffType type) { return static_cast<uint16_t>(type); }
inline constexpr uint16_t BYTE = TypeNumber(TiffType::Byte), ASCII = TypeNumber(TiffType::Ascii), SHORT = TypeNumber(TiffType::Short),
                          LONG = TypeNumber(TiffType::Long), RATIONAL = TypeNumber(TiffType::Rational), SBYTE = TypeNumber(TiffType::SByte),
                          UNDEFINED = TypeNumber(TiffType::Undefined), SSHORT = TypeNumber(TiffType::SShort),
                          SLONG = TypeNumber(TiffType::SLong), SRATIONAL = TypeNumber(TiffType::SRational),
                          FLOAT = TypeNumber(TiffType::Float), DOUBLE = TypeNumber(TiffType::Double);

// Where a directory puts what does not fit its entries. The tests' layout puts
// a thumbnail first; the camera layout is the one real cameras write: values
// in entry order, then sub-directories and the thumbnail in entry order,
// word-aligned between blocks (the sample photos are built this way).
enum class Layout { ThumbnailFirst, Camera };

// Bytes of integers in a chosen byte order.
std::string U16(uint16_t v, Order order);
std::string U32(uint32_t v, Order order);

// One image file directory. Entries are written in the order they are added;
// offsets of out-of-line values and of sub-directories are computed on
// serialisation, so a test states only tags and values:
//
//   Ifd exif; exif.Rational(0x829A, {{1, 125}});
//   Ifd ifd0; ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif);
//   std::string tiff = TiffBuilder(Order::Intel).Bytes(ifd0);
class Ifd {
 public:
  Ifd& Raw(uint16_t tag, uint16_t type, uint32_t count, const std::string& bytesInAnyOrder);
  Ifd& Ascii(uint16_t tag, const std::string& text);  // adds the trailing zero
  Ifd& Undefined(uint16_t tag, const std::string& bytes);
  Ifd& Bytes(uint16_t tag, std::initializer_list<uint8_t> values);
  Ifd& Short(uint16_t tag, std::initializer_list<uint16_t> values);
  Ifd& Short(uint16_t tag, const std::vector<uint16_t>& values);
  Ifd& Long(uint16_t tag, std::initializer_list<uint32_t> values);
  Ifd& Rational(uint16_t tag, std::initializer_list<std::pair<uint32_t, uint32_t>> values);
  Ifd& Rational(uint16_t tag, const std::vector<std::pair<uint32_t, uint32_t>>& values);
  Ifd& SRational(uint16_t tag, std::initializer_list<std::pair<int32_t, int32_t>> values);
  Ifd& Typed(uint16_t tag, uint16_t type, std::initializer_list<uint32_t> values);  // any integer type
  // An entry whose 4-byte value/offset field is given as is (hostile offsets).
  Ifd& WithOffset(uint16_t tag, uint16_t type, uint32_t count, uint32_t offsetField);
  // Value bytes made once their own offset is known (maker notes whose inner
  // offsets count from the TIFF header); `size` must not depend on it.
  using Generator = std::function<std::string(uint32_t valueOffset, Order order)>;
  Ifd& Generated(uint16_t tag, uint16_t type, uint32_t count, size_t size, Generator make);
  // A LONG entry pointing to a child directory (ExifOffset, GPSInfo, ...).
  Ifd& SubIfd(uint16_t tag, const Ifd& child);
  // The directory linked from this one's next-IFD field (IFD1 after IFD0).
  Ifd& Next(const Ifd& next);
  // A JPEG thumbnail stored in this directory's data area, with
  // JPEGInterchangeFormat (0x0201) and its length (0x0202) pointing at it.
  Ifd& Thumbnail(const std::string& jpegBytes);
  // Count field of the directory overridden (hostile counts).
  Ifd& ForceCount(uint16_t count);

  // Serialises this directory and everything it links to as if it started at
  // TIFF offset `start`; the result begins at that offset.
  std::string Serialize(Order order, uint32_t start, Layout layout = Layout::ThumbnailFirst) const;

 private:
  struct Item {
    uint16_t tag = 0, type = 0;
    uint32_t count = 0;
    std::string anyOrder;           // bytes for Raw/Ascii/Undefined (order-independent)
    std::vector<uint64_t> numbers;
    Generator generate;             // Generated: bytes made at their offset
    size_t generatedSize = 0;  // integers, written in the order's byte order
    int numberSize = 0;             // 1, 2, 4 per number (rationals: two 4-byte numbers)
    bool fixedOffset = false;
    uint32_t offsetField = 0;
    std::shared_ptr<Ifd> child;
    bool thumbnailOffset = false, thumbnailLength = false;
  };
  std::vector<Item> items_;
  std::shared_ptr<Ifd> next_;
  std::string thumbnail_;
  int forcedCount_ = -1;

  static std::string ValueBytes(const Item& item, Order order, uint32_t at);
  std::string SerializeInCameraLayout(Order order, uint32_t start) const;
};

// A TIFF block: "II"/"MM", 42, offset of IFD0 (8 unless overridden), IFD0.
class TiffBuilder {
 public:
  explicit TiffBuilder(Order order) : order_(order) {}
  TiffBuilder& Ifd0Offset(uint32_t offset) { ifd0Offset_ = offset; return *this; }
  TiffBuilder& WithLayout(Layout layout) { layout_ = layout; return *this; }
  std::string Bytes(const Ifd& ifd0) const;

 private:
  Order order_;
  uint32_t ifd0Offset_ = 8;
  Layout layout_ = Layout::ThumbnailFirst;
};

}  // namespace lumatrim::test
