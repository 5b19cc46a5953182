#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumatrim {

// Limits of the plain IPTC and JPEG length fields. Anything longer is refused
// (LumatrimError) rather than written with a wrapped length.
inline constexpr size_t kMaxIptcValue = 32767;        // 15 bits: the top bit marks extended datasets
inline constexpr size_t kExtendedLengthBytes = 4;     // the length of longer values, written after the field
inline constexpr size_t kMaxIptcResourceData = 65535;
inline constexpr size_t kMaxApp13Payload = 65533;     // segment length 65535 minus its own 2 bytes

// ESC % G: ISO 2022 designation of UTF-8, the value of dataset 1:90.
inline constexpr char kUtf8Designation[] = "\x1B\x25\x47";

// One dataset as it stands in the file: record, dataset number, value bytes.
struct RawIptcDataset {
  int Record = 0;
  int Number = 0;
  std::string Value;
};

// One dataset: 1C, record, dataset, 2-byte big-endian length, value. A value
// longer than kMaxIptcValue is an extended dataset: the length field holds
// 0x8000 plus the number of length bytes (4), which follow it.
std::string EncodeDataset(int record, int dataset, const std::string& value);

// The datasets of an APP13 segment as kept (from its 2-byte length field on),
// in file order. They are read from the IPTC resource (8BIM 0x0404); when the
// resource list cannot be read at all, from the first 1C 02 / 1C 08 found
// from offset 12 to the end of the segment. The walk ends at a byte that
// is not 1C; a value running past the end is cut there. Extended datasets
// (up to 4 length bytes) are read.
std::vector<RawIptcDataset> ReadIptcDatasets(const std::string& segment);

// The APP13 payload: "Photoshop 3.0", the 8BIM 0x0404 resource with the
// envelope record (its datasets as given, the coded-character-set dataset
// 1:90 among them in number order when charsetMarker is not empty), the
// record version 2:0 and the datasets, then an empty 8BIM 0x040B resource.
std::string BuildApp13Payload(const std::string& charsetMarker, const std::string& recordVersion,
                              const std::vector<RawIptcDataset>& datasets,
                              const std::vector<RawIptcDataset>& envelope = {});

// A new payload from BuildApp13Payload followed by the resources of the old
// APP13 segment (kept from its length field on) that the store does not
// write itself: everything but the IPTC data (0x0404), its digest (0x0425,
// stale once the data changes) and the URL list (0x040B). When the old
// segment holds none, or the result would not fit one segment, the new
// payload is returned as it is.
std::string KeepOtherResources(const std::string& newPayload, const std::string& oldSegment);

}  // namespace lumatrim
