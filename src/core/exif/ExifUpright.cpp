#include "core/exif/ExifUpright.h"

#include <cstdint>
#include <optional>

#include "core/bytes/ByteView.h"
#include "core/exif/IfdEntry.h"
#include "core/jpeg/Orientation.h"

namespace lumatrim {
namespace {

enum Tag : uint16_t {
  kTagImageWidth = 0x0100,
  kTagImageLength = 0x0101,
  kTagOrientation = 0x0112,
  kTagThumbnailOffset = 0x0201,
  kTagThumbnailLength = 0x0202,
};

enum FieldType : uint16_t { kByte = 1, kShort = 3, kLong = 4, kSShort = 8, kSLong = 9 };

constexpr int64_t kTiffStart = 8;          // after the length field and "Exif\0\0"
constexpr int64_t kMaxSegmentBytes = 65535;  // the length field counts itself
constexpr int64_t kEntryBytes = 12;

int FieldBytes(uint16_t type) {
  switch (type) {
    case kByte: return 1;
    case kShort: case kSShort: return 2;
    case kLong: case kSLong: return 4;
    default: return 0;  // not an integer field
  }
}

// One directory entry whose value is a single integer stored in the entry.
struct IntegerEntry {
  int64_t valueAt = 0;  // TIFF offset of the value field
  uint16_t type = 0;
};

// The TIFF block inside an APP1 segment. Layout of the segment:
//   0: 2 bytes  length   2: 6 bytes  "Exif\0\0"   8: the TIFF block:
//   2 bytes  "II" or "MM"   2 bytes  42   4 bytes  offset of IFD0
// TIFF offset o lies at segment offset 8 + o; that translation happens only
// in this class.
class TiffBlock {
 public:
  explicit TiffBlock(const std::string& app1) {
    valid_ = app1.size() >= kTiffStart + 8 && app1.compare(2, 6, std::string("Exif\0\0", 6)) == 0;
    if (!valid_) return;
    const std::string order = app1.substr(kTiffStart, 2);
    valid_ = order == "II" || order == "MM";
    order_ = order == "MM" ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    view_ = ByteView(std::string_view(app1).substr(kTiffStart), order_);
    valid_ = valid_ && Word(2) == 42 && DirectoryFits(Ifd0());
  }

  bool Valid() const { return valid_; }
  int64_t Size() const { return view_.Size(); }
  uint16_t Word(int64_t offset) const { return view_.U16(offset); }
  uint32_t Long(int64_t offset) const { return view_.U32(offset); }
  uint8_t Byte(int64_t offset) const { return view_.U8(offset); }
  void PutWord(std::string& app1, int64_t offset, uint16_t value) const { PutU16(app1, kTiffStart + offset, value, order_); }
  void PutLong(std::string& app1, int64_t offset, uint32_t value) const { PutU32(app1, kTiffStart + offset, value, order_); }

  uint32_t Ifd0() const { return Long(4); }
  bool DirectoryFits(int64_t at) const {
    return at >= 8 && at + 2 <= Size() && at + 2 + kEntryBytes * Word(at) + 4 <= Size();
  }
  int64_t LinkAt(int64_t directory) const { return IfdReader(view_, directory).LinkOffset(Word(directory)); }
  // IFD1, or nothing when IFD0 links to no directory that fits the block.
  std::optional<int64_t> Ifd1() const {
    const int64_t at = Long(LinkAt(Ifd0()));
    if (at == 0 || !DirectoryFits(at)) return std::nullopt;
    return at;
  }

  std::optional<IntegerEntry> Find(int64_t directory, uint16_t tag) const {
    const IfdReader reader(view_, directory);
    for (int i = 0, n = reader.CountField(); i < n; ++i) {
      const IfdEntry entry = reader.Entry(i, 0);
      if (entry.tag != tag) continue;
      if (FieldBytes(entry.type) == 0 || entry.count != 1) return std::nullopt;
      return IntegerEntry{entry.offset + 8, entry.type};
    }
    return std::nullopt;
  }
  int64_t Value(const IntegerEntry& e) const {
    switch (e.type) {
      case kByte: return Byte(e.valueAt);
      case kShort: return Word(e.valueAt);
      case kSShort: return static_cast<int16_t>(Word(e.valueAt));
      case kSLong: return static_cast<int32_t>(Long(e.valueAt));
      default: return Long(e.valueAt);
    }
  }
  // False when the value does not fit the entry's type (nothing written).
  bool Put(std::string& app1, const IntegerEntry& e, int64_t value) const {
    const int bytes = FieldBytes(e.type);
    const bool isSigned = e.type == kSShort || e.type == kSLong;
    const int64_t limit = int64_t{1} << (8 * bytes - (isSigned ? 1 : 0));
    if (value < 0 || value >= limit) return false;
    if (bytes == 1) app1[static_cast<size_t>(kTiffStart + e.valueAt)] = static_cast<char>(value);
    else if (bytes == 2) PutWord(app1, e.valueAt, static_cast<uint16_t>(value));
    else PutLong(app1, e.valueAt, static_cast<uint32_t>(value));
    return true;
  }

 private:
  ByteView view_;
  ByteOrder order_ = ByteOrder::LittleEndian;
  bool valid_ = false;
};

struct ThumbnailPlace {
  IntegerEntry offsetEntry, lengthEntry;
  int64_t offset = 0, length = 0;
  bool inBlock = false;
};

// The bytes of a directory: count, entries, link to the next one.
bool OverlapsDirectory(const TiffBlock& tiff, int64_t directory, int64_t offset, int64_t length) {
  const int64_t end = tiff.LinkAt(directory) + 4;
  return offset < end && directory < offset + length;
}

std::optional<ThumbnailPlace> FindThumbnail(const TiffBlock& tiff, int64_t ifd1) {
  const auto offset = tiff.Find(ifd1, kTagThumbnailOffset);
  const auto length = tiff.Find(ifd1, kTagThumbnailLength);
  if (!offset || !length) return std::nullopt;
  ThumbnailPlace place{*offset, *length, tiff.Value(*offset), tiff.Value(*length), false};
  // A thumbnail said to lie over the directories themselves is not one whose
  // bytes may be cut, zeroed or reused.
  place.inBlock = place.offset >= 8 && place.length > 0 && place.offset + place.length <= tiff.Size() &&
                  !OverlapsDirectory(tiff, tiff.Ifd0(), place.offset, place.length) &&
                  !OverlapsDirectory(tiff, ifd1, place.offset, place.length);
  return place;
}

bool OnlyPaddingFrom(const TiffBlock& tiff, int64_t offset) {
  for (int64_t at = offset; at < tiff.Size(); ++at) {
    if (tiff.Byte(at) != 0x00 && tiff.Byte(at) != 0xFF) return false;
  }
  return true;
}

void SetSegmentLength(std::string& app1) {
  app1[0] = static_cast<char>(app1.size() >> 8);
  app1[1] = static_cast<char>(app1.size() & 0xFF);
}

ThumbnailEdit UnlinkIfd1(std::string& app1) {
  const TiffBlock tiff(app1);
  tiff.PutLong(app1, tiff.LinkAt(tiff.Ifd0()), 0);
  return ThumbnailEdit::Removed;
}

// Writes jpeg where the old thumbnail was or behind the block; false when the
// result would not fit one segment or the offset entries cannot hold it.
bool PlaceThumbnail(std::string& app1, const ThumbnailPlace& old, const std::string& jpeg) {
  const TiffBlock before(app1);
  const auto size = static_cast<int64_t>(jpeg.size());
  int64_t at = 0;
  if (old.inBlock && OnlyPaddingFrom(before, old.offset + old.length)) {
    at = old.offset;
    app1.resize(static_cast<size_t>(kTiffStart + at));
  } else if (old.inBlock && size <= old.length) {
    at = old.offset;
    app1.replace(static_cast<size_t>(kTiffStart + at), static_cast<size_t>(old.length),
                 static_cast<size_t>(old.length), '\0');
  } else {
    // The old bytes stay as zeros: moving the tags behind them is not ours to do.
    if (old.inBlock) {
      app1.replace(static_cast<size_t>(kTiffStart + old.offset), static_cast<size_t>(old.length),
                   static_cast<size_t>(old.length), '\0');
    }
    if (app1.size() % 2 != 0) app1 += '\0';  // TIFF data starts on a word boundary
    at = static_cast<int64_t>(app1.size()) - kTiffStart;
  }
  if (kTiffStart + at + size > kMaxSegmentBytes) return false;
  const auto index = static_cast<size_t>(kTiffStart + at);
  if (index == app1.size()) app1 += jpeg;
  else app1.replace(index, jpeg.size(), jpeg);
  const TiffBlock after(app1);
  return after.Put(app1, old.offsetEntry, at) && after.Put(app1, old.lengthEntry, size);
}

}  // namespace

int ExifOrientation(const std::string& app1) {
  const TiffBlock tiff(app1);
  if (!tiff.Valid()) return kOrientationNormal;
  const auto entry = tiff.Find(tiff.Ifd0(), kTagOrientation);
  if (!entry) return kOrientationNormal;
  const int64_t value = tiff.Value(*entry);
  return ValidOrientation(static_cast<int>(value)) ? static_cast<int>(value) : kOrientationNormal;
}

bool HasThumbnailDirectory(const std::string& app1) {
  const TiffBlock tiff(app1);
  return tiff.Valid() && tiff.Ifd1().has_value();
}

std::string ExifThumbnail(const std::string& app1) {
  const TiffBlock tiff(app1);
  if (!tiff.Valid()) return {};
  const auto ifd1 = tiff.Ifd1();
  const auto place = ifd1 ? FindThumbnail(tiff, *ifd1) : std::nullopt;
  if (!place || !place->inBlock) return {};
  return app1.substr(static_cast<size_t>(kTiffStart + place->offset), static_cast<size_t>(place->length));
}

bool SetOrientationNormal(std::string& app1) {
  const TiffBlock tiff(app1);
  if (!tiff.Valid()) return false;
  bool changed = false;
  for (const auto directory : {std::optional<int64_t>(tiff.Ifd0()), tiff.Ifd1()}) {
    if (!directory) continue;
    const auto entry = tiff.Find(*directory, kTagOrientation);
    if (entry && tiff.Value(*entry) != kOrientationNormal) changed = tiff.Put(app1, *entry, kOrientationNormal) || changed;
  }
  return changed;
}

ThumbnailEdit ReplaceThumbnail(std::string& app1, const std::string& jpeg, int width, int height) {
  const TiffBlock tiff(app1);
  const auto ifd1 = tiff.Valid() ? tiff.Ifd1() : std::nullopt;
  if (!ifd1) return ThumbnailEdit::NoThumbnailDirectory;
  const auto old = FindThumbnail(tiff, *ifd1);
  if (jpeg.empty() || !old) return UnlinkIfd1(app1);

  const std::string original = app1;
  if (!PlaceThumbnail(app1, *old, jpeg)) {
    app1 = original;
    return UnlinkIfd1(app1);
  }
  const TiffBlock edited(app1);
  if (const auto w = edited.Find(*ifd1, kTagImageWidth)) edited.Put(app1, *w, width);
  if (const auto h = edited.Find(*ifd1, kTagImageLength)) edited.Put(app1, *h, height);
  SetSegmentLength(app1);
  return ThumbnailEdit::Replaced;
}

}  // namespace lumatrim
