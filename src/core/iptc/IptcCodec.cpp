#include "core/iptc/IptcCodec.h"

#include "core/bytes/ByteView.h"
#include "core/bytes/Error.h"

namespace lumatrim {
namespace {

constexpr char kSignature[] = "Photoshop 3.0";  // with its 0 byte: 14 bytes

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string out;
  for (unsigned v : values) out += static_cast<char>(v & 0xFF);
  return out;
}

// One Photoshop resource, at offsets in the segment.
struct Resource {
  int Id = 0;
  int64_t Begin = 0, End = 0;          // the whole resource, padding included
  int64_t DataBegin = 0, DataSize = 0;
};

// The resources of a segment as kept:
//   0: 2 bytes   segment length
//   2: 14 bytes  "Photoshop 3.0\0"
//   16: then     "8BIM", 2-byte id, Pascal name padded to an even length,
//                4-byte data size, data padded to an even length
// complete is set when the list runs cleanly to the segment's end.
std::vector<Resource> ResourcesOf(const std::string& segment, bool& complete) {
  std::vector<Resource> list;
  complete = false;
  const ByteView bytes(segment, ByteOrder::BigEndian);
  if (bytes.Copy(2, sizeof kSignature) != std::string(kSignature, sizeof kSignature)) return list;
  const int64_t size = bytes.Size();
  int64_t at = 2 + static_cast<int64_t>(sizeof kSignature);
  while (bytes.Contains(at, 12) && bytes.Copy(at, 4) == "8BIM") {
    Resource r;
    r.Id = bytes.U16(at + 4);
    const int64_t nameLength = bytes.U8(at + 6);
    const int64_t sizeAt = at + 6 + ((nameLength + 2) & ~int64_t{1});
    r.DataSize = bytes.U32(sizeAt);
    r.DataBegin = sizeAt + 4;
    r.Begin = at;
    r.End = r.DataBegin + ((r.DataSize + 1) & ~int64_t{1});
    if (r.End > size + (r.DataSize % 2)) return list;  // a resource running past the segment ends the walk
    list.push_back(r);
    at = r.End;
  }
  complete = at >= size;
  return list;
}

bool StartsDataset(const ByteView& bytes, int64_t at) {
  const uint8_t record = bytes.U8(at + 1);
  return bytes.U8(at) == 0x1C && (record == 1 || record == 2 || record == 8);
}

// Datasets from offset begin (its 1C) up to end (exclusive). With resync,
// bytes that start no dataset are passed over up to the next 1C of record 1,
// 2 or 8, so one damaged length does not hide the rest of the record (and a
// save cannot drop it); otherwise they end the walk.
std::vector<RawIptcDataset> WalkDatasets(const ByteView& bytes, int64_t begin, int64_t end, bool resync) {
  std::vector<RawIptcDataset> out;
  int64_t at = begin;
  for (;;) {
    while (resync && at + 5 <= end && !StartsDataset(bytes, at)) ++at;
    if (at + 5 > end || bytes.U8(at) != 0x1C) break;
    RawIptcDataset d;
    d.Record = bytes.U8(at + 1);
    d.Number = bytes.U8(at + 2);
    int64_t n = bytes.U16(at + 3);
    int64_t valueBegin = at + 5;
    if (n & 0x8000) {
      // An extended dataset: the field counts the length bytes that follow.
      const int64_t lengthBytes = n & 0x7FFF;
      if (lengthBytes < 1 || lengthBytes > static_cast<int64_t>(kExtendedLengthBytes)) break;
      n = 0;
      for (int64_t i = 0; i < lengthBytes; ++i) n = n * 256 + bytes.U8(valueBegin + i);
      valueBegin += lengthBytes;
    }
    d.Value = bytes.Copy(valueBegin, std::min(n, end - valueBegin));
    out.push_back(std::move(d));
    at = valueBegin + n;
  }
  return out;
}

}  // namespace

std::string EncodeDataset(int record, int dataset, const std::string& value) {
  const size_t n = value.size();
  const std::string head = Bytes({0x1C, static_cast<unsigned>(record), static_cast<unsigned>(dataset)});
  if (n <= kMaxIptcValue) return head + Bytes({static_cast<unsigned>(n >> 8), static_cast<unsigned>(n & 0xFF)}) + value;
  if (n > 0xFFFFFFFFu) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC value of dataset " + std::to_string(record) + ":" +
                                                   std::to_string(dataset) + " is " + std::to_string(n) +
                                                   " bytes long; more than an IPTC length can hold.");
  }
  return head + Bytes({0x80, static_cast<unsigned>(kExtendedLengthBytes)}) +
         Bytes({static_cast<unsigned>(n >> 24), static_cast<unsigned>(n >> 16), static_cast<unsigned>(n >> 8),
                static_cast<unsigned>(n)}) +
         value;
}

std::vector<RawIptcDataset> ReadIptcDatasets(const std::string& segment) {
  bool complete = false;
  const ByteView bytes(segment, ByteOrder::BigEndian);
  const int64_t end = bytes.Size();
  const std::vector<Resource> resources = ResourcesOf(segment, complete);
  for (const Resource& r : resources) {
    if (r.Id == 0x0404) return WalkDatasets(bytes, r.DataBegin, std::min(r.DataBegin + r.DataSize, end), true);
  }
  // Resources without IPTC data: what follows them is theirs, not datasets.
  if (complete || !resources.empty()) return {};
  // No resource list: the first 1C followed by record 2 or 8 from offset 12
  // on (past "Photoshop 3.0" when it is there) starts the datasets.
  const size_t found = segment.find("Photoshop 3.0");
  const int64_t start = (found == std::string::npos ? 0 : static_cast<int64_t>(found) + 1) + 12;
  for (int64_t at = start; at + 1 < end; ++at) {
    const uint8_t record = bytes.U8(at + 1);
    if (bytes.U8(at) == 0x1C && (record == 2 || record == 8)) return WalkDatasets(bytes, at, end, false);
  }
  return {};
}

std::string BuildApp13Payload(const std::string& charsetMarker, const std::string& recordVersion,
                              const std::vector<RawIptcDataset>& datasets, const std::vector<RawIptcDataset>& envelope) {
  std::string data;
  for (const RawIptcDataset& d : datasets) data += EncodeDataset(d.Record, d.Number, d.Value);
  if (data.size() % 2 == 0) data += '\0';

  // The envelope's datasets keep their order; 1:90 goes where its number puts it.
  std::string version;
  bool charsetWritten = charsetMarker.empty();
  for (const RawIptcDataset& d : envelope) {
    if (!charsetWritten && d.Number > 90) {
      version += EncodeDataset(1, 90, charsetMarker);
      charsetWritten = true;
    }
    version += EncodeDataset(1, d.Number, d.Value);
  }
  if (!charsetWritten) version += EncodeDataset(1, 90, charsetMarker);
  version += EncodeDataset(2, 0, recordVersion);
  const size_t length = data.size() + version.size();
  if (length > kMaxIptcResourceData) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC data of " + std::to_string(length) + " bytes does not fit one resource (at most " +
                        std::to_string(kMaxIptcResourceData) + " bytes).");
  }

  std::string out = std::string("Photoshop 3.0", 13) + '\0' + "8BIM" + Bytes({0x04, 0x04, 0, 0, 0, 0}) +
                    Bytes({static_cast<unsigned>(length >> 8), static_cast<unsigned>(length & 0xFF)}) + version +
                    data + "8BIM" + Bytes({0x04, 0x0B, 0, 0, 0, 0, 0, 0});
  if (out.size() > kMaxApp13Payload) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC block of " + std::to_string(out.size()) + " bytes does not fit one APP13 segment (at most " +
                        std::to_string(kMaxApp13Payload) + " bytes).");
  }
  return out;
}

std::string KeepOtherResources(const std::string& newPayload, const std::string& oldSegment) {
  bool complete = false;
  std::string kept;
  for (const Resource& r : ResourcesOf(oldSegment, complete)) {
    if (r.Id != 0x0404 && r.Id != 0x0425 && r.Id != 0x040B) kept += ByteView(oldSegment, ByteOrder::BigEndian).Copy(r.Begin, r.End - r.Begin);
  }
  if (kept.size() % 2) kept += '\0';
  if (kept.empty() || newPayload.size() + kept.size() > kMaxApp13Payload) return newPayload;
  return newPayload + kept;
}

}  // namespace lumatrim
