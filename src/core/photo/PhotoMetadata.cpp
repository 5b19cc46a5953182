#include "core/photo/PhotoMetadata.h"

#include <string_view>

namespace lumatrim {

KeptSegment* PhotoMetadata::Segment(int index) {
  return index >= 0 && index < static_cast<int>(segments.size()) ? &segments[static_cast<size_t>(index)] : nullptr;
}

const KeptSegment* PhotoMetadata::Segment(int index) const {
  return index >= 0 && index < static_cast<int>(segments.size()) ? &segments[static_cast<size_t>(index)] : nullptr;
}

void PhotoMetadata::ParseThumbnailDirectory() {
  if (!exif) return;
  exif->failure = {};
  exif->ParseThumbnailDirectory();
  if (exif->failure.Failed()) outcome = exif->failure;
}

bool PhotoMetadata::ThumbnailPresent() const {
  return ExifPresent() && exif && exif->Ifd1Offset > 21 && exif->Ifd1Length > 256;
}

std::string PhotoMetadata::CutThumbnail() const {
  if (!ThumbnailPresent()) return {};
  const std::string& block = exif->Block;
  // The search for the thumbnail's start marker begins just before IFD1.
  const size_t from = static_cast<size_t>(exif->Ifd1Offset) - 1;
  if (from >= block.size()) return {};
  const std::string_view area(block.data() + from, block.size() - from);
  size_t start = area.find("\xFF\xD8\xFF\xDB");
  if (start == std::string_view::npos) start = area.find("\xFF\xD8\xFF\xC4");
  if (start == std::string_view::npos) return {};
  // Without its end marker the thumbnail is cut off; none is better than a
  // broken one.
  const size_t end = area.find("\xFF\xD9", start + 2);
  if (end == std::string_view::npos) return {};
  return std::string(area.substr(start, end + 2 - start));
}

}  // namespace lumatrim
