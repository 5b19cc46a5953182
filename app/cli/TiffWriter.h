#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A small TIFF directory writer for the sample photos: entries are stated in
// tag order, offsets of out-of-line values, sub-directories, the next
// directory and a JPEG thumbnail are computed when the block is laid out.
namespace cli {

class TiffDir {
 public:
  // Value bytes made once the value's own offset is known (maker notes whose
  // inner offsets count from the TIFF header). The size must not depend on it.
  using Generator = std::function<std::string(uint32_t valueOffset, bool bigEndian)>;

  TiffDir& Ascii(uint16_t tag, const std::string& text);  // adds the trailing zero
  TiffDir& Bytes(uint16_t tag, uint16_t type, const std::string& bytes);  // BYTE/UNDEFINED, any order
  TiffDir& Short(uint16_t tag, std::vector<uint16_t> values);
  TiffDir& Long(uint16_t tag, std::vector<uint32_t> values);
  TiffDir& Rational(uint16_t tag, std::vector<std::pair<uint32_t, uint32_t>> values);
  TiffDir& SRational(uint16_t tag, std::vector<std::pair<int32_t, int32_t>> values);
  TiffDir& Generated(uint16_t tag, uint16_t type, uint32_t count, size_t size, Generator make);
  TiffDir& Sub(uint16_t tag, TiffDir child);  // a LONG offset to a child directory
  TiffDir& Next(TiffDir next);               // IFD1 after IFD0
  TiffDir& Thumbnail(std::string jpeg);      // JPEGInterchangeFormat and its length

  // This directory and all it links to, laid out as if it started at TIFF
  // offset `at`; the result begins at that offset.
  std::string Serialize(bool bigEndian, uint32_t at) const;

 private:
  struct Entry {
    uint16_t tag = 0, type = 0;
    uint32_t count = 0;
    std::function<std::string(uint32_t, bool)> value;  // bytes in the block's order
    size_t size = 0;
    std::shared_ptr<TiffDir> child;
    bool thumbnailOffset = false;
  };
  std::vector<Entry> entries_;
  std::shared_ptr<TiffDir> next_;
  std::string thumbnail_;

  TiffDir& Add(uint16_t tag, uint16_t type, uint32_t count, std::function<std::string(uint32_t, bool)> value,
               size_t size);
};

std::string U16(uint16_t v, bool bigEndian);
std::string U32(uint32_t v, bool bigEndian);

// "II"/"MM", 42, IFD0 at offset 8, then IFD0 and everything it links to.
std::string BuildTiff(const TiffDir& ifd0, bool bigEndian);

}  // namespace cli
