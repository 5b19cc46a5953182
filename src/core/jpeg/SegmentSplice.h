#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumatrim {

// Where the coded image data of an encoded JPEG continues once its own leading
// APP0, APP1 and APP13 are passed over (each at most once, in that order);
// the photo's kept segments take their place. None when the data ends before
// the probes could be made (an incomplete image).
std::optional<size_t> EndOfLeadingMetadata(std::string_view data);

// The blocks the photo's kept segments speak for, which must not come along a
// second time from the image data: EXIF, IPTC, XMP (standard and extended),
// and each comment written from the kept segments (by content, once each).
struct StaleMetadata {
  bool exif = false;
  bool iptc = false;
  bool xmp = false;
  std::vector<std::string_view> comments;  // contents from the length field on
};

// The bytes of data from offset on, as pieces of it, leaving out the stale
// blocks among its leading segments. Such segments are left behind the probes
// when a photo's segments come in an unusual order; carried over they would
// double the photo's block, or keep alive the one the user has just removed.
// The scan data is one piece, unchanged.
std::vector<std::string_view> PiecesWithoutStaleMetadata(std::string_view data, size_t offset, StaleMetadata stale);

}  // namespace lumatrim
