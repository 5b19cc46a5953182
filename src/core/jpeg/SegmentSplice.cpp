#include "core/jpeg/SegmentSplice.h"

#include <algorithm>

#include "core/jpeg/JpegSegment.h"
#include "core/xmp/XmpSegments.h"

namespace lumatrim {

std::optional<size_t> EndOfLeadingMetadata(std::string_view data) {
  size_t skip = 2;  // SOI
  for (JpegMarker probe : {JpegMarker::App0, JpegMarker::App1, JpegMarker::App13}) {
    if (data.size() < skip + 4) return std::nullopt;
    // Only a marker counts: stray bytes that merely look like one (which
    // libjpeg skips) must not make us cut away real image segments.
    MemorySource source(data.substr(skip));
    JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict);
    JpegSegment segment;
    if (reader.Next(segment) && segment.Is(probe)) skip += segment.Extent();
  }
  if (data.size() < skip + 2) return std::nullopt;
  return skip;
}

std::vector<std::string_view> PiecesWithoutStaleMetadata(std::string_view data, size_t offset, StaleMetadata stale) {
  std::vector<std::string_view> pieces;
  MemorySource source(data.substr(offset));
  JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict, offset);
  JpegSegment segment;
  while (reader.Next(segment) && !segment.EndsHeaders() && segment.Complete()) {
    const bool xmp = IsXmpSegment(segment.marker, segment.content) || IsXmpExtensionSegment(segment.marker, segment.content);
    bool dropped = (stale.exif && segment.IsExif()) || (stale.iptc && segment.IsPhotoshop()) || (stale.xmp && xmp);
    if (segment.Is(JpegMarker::Com)) {
      const auto written = std::find(stale.comments.begin(), stale.comments.end(), segment.content);
      if (written != stale.comments.end()) {
        stale.comments.erase(written);
        dropped = true;
      }
    }
    if (!dropped) pieces.push_back(data.substr(segment.start, segment.Extent()));
  }
  pieces.push_back(data.substr(segment.start));
  return pieces;
}

}  // namespace lumatrim
