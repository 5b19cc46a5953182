#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumatrim {

// Where the coded image data of an encoded JPEG continues once its own leading
// APP0, APP1, APP13 and COM are passed over (each at most once, in that order);
// the photo's kept segments take their place. None when the data ends before
// the probes could be made (an incomplete image).
std::optional<size_t> EndOfLeadingMetadata(std::string_view data);

// The bytes of data from offset on, as pieces of it, leaving out the EXIF
// (dropExif), IPTC (dropIptc) and XMP (dropXmp: standard and extended)
// segments among its leading segments. Such segments are left behind the
// probes when a photo's segments come in an unusual order; carried over they
// would double the photo's block, or keep alive the one the user has just
// removed. The scan data is one piece, unchanged.
std::vector<std::string_view> PiecesWithoutStaleMetadata(std::string_view data, size_t offset, bool dropExif,
                                                         bool dropIptc, bool dropXmp = false);

}  // namespace lumatrim
