#include "core/iptc/IptcCodec.h"

#include "core/bytes/EndInd.h"
#include "core/bytes/Error.h"

namespace lumatrim {
namespace {

constexpr char kSignature[] = "Photoshop 3.0";  // with its 0 byte: 14 bytes

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string out;
  for (unsigned v : values) out += static_cast<char>(v & 0xFF);
  return out;
}

// One Photoshop resource, 1-based positions in the segment.
struct Resource {
  int Id = 0;
  int64_t Begin = 0, End = 0;          // the whole resource, padding included
  int64_t DataBegin = 0, DataSize = 0;
};

// The resources of a segment as kept:
//   2 bytes   segment length
//   14 bytes  "Photoshop 3.0\0"
//   then      "8BIM", 2-byte id, Pascal name padded to an even length,
//             4-byte data size, data padded to an even length
// complete is set when the list runs cleanly to the segment's end.
std::vector<Resource> ResourcesOf(const std::string& segment, bool& complete) {
  std::vector<Resource> list;
  complete = false;
  if (tEndInd::CopyFrom(segment, 3, sizeof kSignature) != std::string(kSignature, sizeof kSignature)) return list;
  const auto size = static_cast<int64_t>(segment.size());
  int64_t pos = 2 + static_cast<int64_t>(sizeof kSignature) + 1;
  while (pos + 12 <= size + 1 && tEndInd::CopyFrom(segment, pos, 4) == "8BIM") {
    Resource r;
    r.Id = tEndInd::WordAt(segment, pos + 4, true);
    const int64_t nameLength = tEndInd::ByteAt(segment, pos + 6);
    const int64_t sizeAt = pos + 6 + ((nameLength + 2) & ~int64_t{1});
    r.DataSize = tEndInd::LongAt(segment, sizeAt, true);
    r.DataBegin = sizeAt + 4;
    r.Begin = pos;
    r.End = r.DataBegin + ((r.DataSize + 1) & ~int64_t{1});
    if (r.End > size + 1 + (r.DataSize % 2)) return list;  // a resource running past the segment ends the walk
    list.push_back(r);
    pos = r.End;
  }
  complete = pos >= size + 1;
  return list;
}

bool StartsDataset(const std::string& bytes, int64_t pos) {
  const uint8_t record = tEndInd::ByteAt(bytes, pos + 1);
  return tEndInd::ByteAt(bytes, pos) == 0x1C && (record == 1 || record == 2 || record == 8);
}

// Datasets from the 1-based position begin (its 1C) up to end (exclusive).
// With resync, bytes that start no dataset are passed over up to the next
// 1C of record 1, 2 or 8, so one damaged length does not hide the rest of
// the record (and a save cannot drop it); otherwise they end the walk.
std::vector<RawIptcDataset> WalkDatasets(const std::string& bytes, int64_t begin, int64_t end, bool resync) {
  std::vector<RawIptcDataset> out;
  int64_t pos = begin;
  for (;;) {
    while (resync && pos + 5 <= end && !StartsDataset(bytes, pos)) ++pos;
    if (pos + 5 > end || tEndInd::ByteAt(bytes, pos) != 0x1C) break;
    RawIptcDataset d;
    d.Record = tEndInd::ByteAt(bytes, pos + 1);
    d.Number = tEndInd::ByteAt(bytes, pos + 2);
    const int64_t n = tEndInd::WordAt(bytes, pos + 3, true);
    const int64_t valueBegin = pos + 5;
    d.Value = tEndInd::CopyFrom(bytes, valueBegin, std::min(n, end - valueBegin));
    out.push_back(std::move(d));
    pos = valueBegin + n;
  }
  return out;
}

}  // namespace

std::string EncodeDataset(int record, int dataset, const std::string& value) {
  const size_t n = value.size();
  if (n > kMaxIptcValue) {
    throw LumatrimError("IPTC value of dataset " + std::to_string(record) + ":" + std::to_string(dataset) + " is " +
                        std::to_string(n) + " bytes long; at most " + std::to_string(kMaxIptcValue) +
                        " bytes can be written.");
  }
  return Bytes({0x1C, static_cast<unsigned>(record), static_cast<unsigned>(dataset), static_cast<unsigned>(n >> 8),
                static_cast<unsigned>(n & 0xFF)}) +
         value;
}

std::vector<RawIptcDataset> ReadIptcDatasets(const std::string& segment) {
  bool complete = false;
  const auto end = static_cast<int64_t>(segment.size()) + 1;
  const std::vector<Resource> resources = ResourcesOf(segment, complete);
  for (const Resource& r : resources) {
    if (r.Id == 0x0404) return WalkDatasets(segment, r.DataBegin, std::min(r.DataBegin + r.DataSize, end), true);
  }
  // Resources without IPTC data: what follows them is theirs, not datasets.
  if (complete || !resources.empty()) return {};
  // No resource list: the first 1C followed by record 2 or 8 from
  // position 13 on (past "Photoshop 3.0" when it is there) starts the datasets.
  const size_t found = segment.find("Photoshop 3.0");
  const int64_t start = (found == std::string::npos ? 0 : static_cast<int64_t>(found) + 1) + 13;
  for (int64_t p = std::max<int64_t>(start, 1); p + 1 < end; ++p) {
    const uint8_t record = tEndInd::ByteAt(segment, p + 1);
    if (tEndInd::ByteAt(segment, p) == 0x1C && (record == 2 || record == 8)) return WalkDatasets(segment, p, end, false);
  }
  return {};
}

std::string BuildApp13Payload(const std::string& charsetMarker, const std::string& recordVersion,
                              const std::vector<RawIptcDataset>& datasets) {
  std::string data;
  for (const RawIptcDataset& d : datasets) data += EncodeDataset(d.Record, d.Number, d.Value);
  if (data.size() % 2 == 0) data += '\0';

  std::string version = EncodeDataset(2, 0, recordVersion);
  if (!charsetMarker.empty()) version = EncodeDataset(1, 90, charsetMarker) + version;
  const size_t length = data.size() + version.size();
  if (length > kMaxIptcResourceData) {
    throw LumatrimError("IPTC data of " + std::to_string(length) + " bytes does not fit one resource (at most " +
                        std::to_string(kMaxIptcResourceData) + " bytes).");
  }

  std::string out = std::string("Photoshop 3.0", 13) + '\0' + "8BIM" + Bytes({0x04, 0x04, 0, 0, 0, 0}) +
                    Bytes({static_cast<unsigned>(length >> 8), static_cast<unsigned>(length & 0xFF)}) + version +
                    data + "8BIM" + Bytes({0x04, 0x0B, 0, 0, 0, 0, 0, 0});
  if (out.size() > kMaxApp13Payload) {
    throw LumatrimError("IPTC block of " + std::to_string(out.size()) + " bytes does not fit one APP13 segment (at most " +
                        std::to_string(kMaxApp13Payload) + " bytes).");
  }
  return out;
}

std::string KeepOtherResources(const std::string& newPayload, const std::string& oldSegment) {
  bool complete = false;
  std::string kept;
  for (const Resource& r : ResourcesOf(oldSegment, complete)) {
    if (r.Id != 0x0404 && r.Id != 0x0425 && r.Id != 0x040B) kept += tEndInd::CopyFrom(oldSegment, r.Begin, r.End - r.Begin);
  }
  if (kept.size() % 2) kept += '\0';
  if (kept.empty() || newPayload.size() + kept.size() > kMaxApp13Payload) return newPayload;
  return newPayload + kept;
}

}  // namespace lumatrim
