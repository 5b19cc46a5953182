#include "core/jpeg/SegmentSplice.h"

#include "core/jpeg/JpegSegment.h"
#include "core/xmp/XmpSegments.h"

namespace lumatrim {

std::optional<size_t> EndOfLeadingMetadata(std::string_view data) {
  size_t skip = 2;  // SOI
  for (JpegMarker probe : {JpegMarker::App0, JpegMarker::App1, JpegMarker::App13, JpegMarker::Com}) {
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

std::vector<std::string_view> PiecesWithoutStaleMetadata(std::string_view data, size_t offset, bool dropExif,
                                                         bool dropIptc, bool dropXmp) {
  std::vector<std::string_view> pieces;
  MemorySource source(data.substr(offset));
  JpegSegmentReader reader(source, JpegSegmentReader::Prefix::Strict, offset);
  JpegSegment segment;
  while (reader.Next(segment) && !segment.EndsHeaders() && segment.Complete()) {
    const bool xmp = IsXmpSegment(segment.marker, segment.content) || IsXmpExtensionSegment(segment.marker, segment.content);
    const bool stale = (dropExif && segment.IsExif()) || (dropIptc && segment.IsPhotoshop()) || (dropXmp && xmp);
    if (!stale) pieces.push_back(data.substr(segment.start, segment.Extent()));
  }
  pieces.push_back(data.substr(segment.start));
  return pieces;
}

}  // namespace lumatrim
