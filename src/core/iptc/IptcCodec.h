#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/exif/TagEntry.h"

namespace lumatrim {

// Limits of the plain IPTC and JPEG length fields. Anything longer is refused
// (LumatrimError) rather than written with a wrapped length.
inline constexpr size_t kMaxIptcValue = 32767;        // 15 bits: the top bit marks extended datasets
inline constexpr size_t kMaxIptcResourceData = 65535;
inline constexpr size_t kMaxApp13Payload = 65533;     // segment length 65535 minus its own 2 bytes

// One dataset: 1C, record, dataset, 2-byte big-endian length, value.
std::string EncodeDataset(int record, int dataset, const std::string& value);

// A comma list written as one dataset per part (quotes are kept as typed).
std::string EncodeRepeated(int record, int dataset, const std::string& value);

// The dataset whose record byte stands at the 1-based pos of bytes; pos is
// advanced past it. Datasets of records other than 2 and 8 give an empty item.
TTagEntry ParseDataset(const std::string& bytes, int64_t& pos);

// The APP13 payload: "Photoshop 3.0", the 8BIM 0x0404 resource with the
// record version and one dataset per item (or per comma part of a repeatable
// item), then an empty 8BIM 0x040B resource. When a value holds a byte above
// 127, the coded-character-set dataset 1:90 (UTF-8) comes first and values
// that are not valid UTF-8 are taken as Latin-1 and converted.
std::string BuildApp13Payload(const std::vector<TTagEntry>& items);

// A new payload from BuildApp13Payload followed by the resources of the old
// APP13 segment (kept from its length field on) that the store does not
// write itself: everything but the IPTC data (0x0404), its digest (0x0425,
// stale once the data changes) and the URL list (0x040B). When the old
// segment holds none, or the result would not fit one segment, the new
// payload is returned as it is.
std::string KeepOtherResources(const std::string& newPayload, const std::string& oldSegment);

}  // namespace lumatrim
