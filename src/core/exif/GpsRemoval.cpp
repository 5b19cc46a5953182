#include "core/exif/GpsRemoval.h"

#include <cstdint>
#include <set>
#include <vector>

#include "core/bytes/ByteView.h"
#include "core/exif/IfdEntry.h"

namespace lumatrim {
namespace {

constexpr uint16_t kSubIfds = 0x014A, kExifOffset = 0x8769, kGpsInfo = 0x8825, kInteropOffset = 0xA005;
constexpr uint16_t kThumbOffset = 0x0201, kThumbLength = 0x0202, kStripOffsets = 0x0111, kStripCounts = 0x0117;
constexpr int kMaxDirectories = 64;
constexpr size_t kEntrySize = 12;

// Bytes per value of each TIFF type; 0 for unknown types.
uint32_t TypeSize(uint16_t type) {
  static constexpr uint32_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
  return type < sizeof kSizes / sizeof kSizes[0] ? kSizes[type] : 0;
}

// One directory entry as read (offsets are from the start of the block).
struct Entry {
  size_t at;  // where the 12-byte entry stands
  uint16_t tag, type;
  uint32_t count, value;  // value: the inline bytes read as an offset
  uint64_t Bytes() const { return uint64_t{TypeSize(type)} * count; }
};

// Reads a TIFF block through the one bounds-checked accessor.
//   2 bytes "II"/"MM"   2 bytes 42   4 bytes offset of IFD0
//   IFD: 2 bytes count, count x 12-byte entries (tag, type, count, value), 4 bytes next
class TiffWalk {
 public:
  explicit TiffWalk(const std::string& tiff)
      : tiff_(tiff, tiff.size() >= 2 && tiff[0] == 'M' ? ByteOrder::BigEndian : ByteOrder::LittleEndian) {}
  uint16_t Word(uint64_t at) const { return tiff_.U16(static_cast<int64_t>(at)); }
  uint32_t Long(uint64_t at) const { return tiff_.U32(static_cast<int64_t>(at)); }
  bool Fits(uint64_t at, uint64_t size) const {
    const auto total = static_cast<uint64_t>(tiff_.Size());
    return at <= total && size <= total - at;
  }
  ByteOrder Order() const { return tiff_.Order(); }

  // The entries of the directory at offset; empty when it does not fit.
  std::vector<Entry> Directory(uint64_t at) const {
    std::vector<Entry> entries;
    if (at < 8 || !Fits(at, 2)) return entries;
    const IfdReader reader(tiff_, static_cast<int64_t>(at));
    const uint16_t count = reader.CountField();
    if (!Fits(at + 2, uint64_t{count} * kEntrySize + 4)) return entries;
    for (uint16_t i = 0; i < count; ++i) {
      const IfdEntry e = reader.Entry(i, 0);
      entries.push_back({static_cast<size_t>(e.offset), e.tag, e.type, e.count, Long(static_cast<uint64_t>(e.offset) + 8)});
    }
    return entries;
  }
  uint64_t DirectoryEnd(uint64_t at) const { return at + 2 + uint64_t{Word(at)} * kEntrySize + 4; }

 private:
  ByteView tiff_;
};

// Byte ranges [begin, end) a part of the block occupies.
struct Ranges {
  std::vector<std::pair<uint64_t, uint64_t>> spans;
  void Add(uint64_t at, uint64_t size) { spans.push_back({at, at + size}); }
};

// Marks a directory, its outside values and (for a few known tags) what they
// point to; follows sub-directories. GPS directories go to gps, all else to kept.
void Mark(const TiffWalk& walk, uint64_t at, bool isGps, Ranges& kept, Ranges& gps, std::set<uint64_t>& seen,
          bool followNext) {
  while (at != 0 && seen.size() < kMaxDirectories && seen.insert(at).second) {
    const std::vector<Entry> entries = walk.Directory(at);
    if (entries.empty()) return;
    Ranges& mine = isGps ? gps : kept;
    mine.Add(at, walk.DirectoryEnd(at) - at);
    uint64_t thumbAt = 0, thumbSize = 0;
    for (const Entry& e : entries) {
      if (e.Bytes() > 4 && walk.Fits(e.value, e.Bytes())) mine.Add(e.value, e.Bytes());
      if (isGps) continue;
      if (e.tag == kExifOffset || e.tag == kInteropOffset) Mark(walk, e.value, false, kept, gps, seen, false);
      if (e.tag == kGpsInfo) Mark(walk, e.value, true, kept, gps, seen, false);
      if (e.tag == kSubIfds && e.count == 1) Mark(walk, e.value, false, kept, gps, seen, false);
      if (e.tag == kThumbOffset || e.tag == kStripOffsets) thumbAt = e.value;
      if (e.tag == kThumbLength || e.tag == kStripCounts) thumbSize = e.value;
    }
    if (thumbSize > 0 && walk.Fits(thumbAt, thumbSize)) kept.Add(thumbAt, thumbSize);
    if (!followNext) return;
    at = walk.Long(walk.DirectoryEnd(at) - 4);  // IFD0 -> IFD1
  }
}

// Takes the entry out of its directory: the entries after it move up, the
// count drops by one, the next-directory offset follows them and the freed
// 12 bytes become zeros.
void RemoveEntry(std::string& tiff, const TiffWalk& walk, uint64_t directory, const Entry& entry) {
  const uint16_t count = walk.Word(directory);
  const size_t end = static_cast<size_t>(walk.DirectoryEnd(directory));  // just past the next offset
  const size_t from = entry.at + kEntrySize;
  tiff.replace(entry.at, end - from, tiff, from, end - from);
  tiff.replace(end - kEntrySize, kEntrySize, kEntrySize, '\0');
  PutU16(tiff, static_cast<int64_t>(directory), static_cast<uint16_t>(count - 1), walk.Order());
}

}  // namespace

std::string TiffWithoutGps(const std::string& tiff) {
  if (tiff.size() < 8 || !(tiff.compare(0, 2, "II") == 0 || tiff.compare(0, 2, "MM") == 0)) return tiff;
  const TiffWalk walk(tiff);
  if (walk.Word(2) != 42) return tiff;
  const uint64_t ifd0 = walk.Long(4);

  Ranges kept, gps;
  std::set<uint64_t> seen;
  Mark(walk, ifd0, false, kept, gps, seen, true);

  // The directories that hold a GPS pointer (IFD0, rarely IFD1 or the EXIF
  // directory of a careless writer).
  std::vector<uint64_t> holders;
  for (uint64_t at : seen) {
    for (const Entry& e : walk.Directory(at)) {
      if (e.tag == kGpsInfo) {
        holders.push_back(at);
        break;
      }
    }
  }
  if (holders.empty()) return tiff;

  std::string out = tiff;
  // Wipe what only the GPS directory uses; a byte some other part also
  // points to (a hostile block may share them) is left alone.
  std::vector<bool> keep(tiff.size(), false);
  for (const auto& [begin, end] : kept.spans) {
    for (uint64_t i = begin; i < end && i < keep.size(); ++i) keep[i] = true;
  }
  for (const auto& [begin, end] : gps.spans) {
    for (uint64_t i = begin; i < end && i < out.size(); ++i) {
      if (!keep[i]) out[i] = '\0';
    }
  }
  for (uint64_t directory : holders) {
    for (bool removed = true; removed;) {
      removed = false;
      const TiffWalk current(out);
      for (const Entry& e : current.Directory(directory)) {
        if (e.tag == kGpsInfo) {
          RemoveEntry(out, current, directory, e);
          removed = true;
          break;
        }
      }
    }
  }
  return out;
}

}  // namespace lumatrim
