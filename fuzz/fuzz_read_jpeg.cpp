// ReadPhotoMetadata of a JPEG file, then every query a window makes of it;
// and a writer's read of the same bytes, which must keep the same segments.
#include "FuzzCommon.h"
#include "Targets.h"
#include "core/exif/CzechTags.h"

int lumatrim::fuzz::RunReadJpeg(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  (void)fuzz::ReadAsFile("photo.jpg", data, size);

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemorySource full(bytes), lean(bytes);
  const PhotoMetadata shown = ReadJpegMetadata(full);
  const PhotoMetadata forWriting = ReadJpegMetadata(lean, {.depth = ReadDepth::ForWriting});
  const auto layout = [](const PhotoMetadata& photo) {
    std::string out;
    for (const KeptSegment& segment : photo.segments) out += std::to_string(segment.marker) + ':' + segment.content;
    return out + std::to_string(photo.exifSegment) + std::to_string(photo.iptcSegment) +
           std::to_string(photo.commentSegment) + std::to_string(photo.jfifSegment);
  };
  if (layout(shown) != layout(forWriting)) fuzz::Violated("a writer's read keeps other segments than a full read");
  // What the windows show of it in Czech.
  if (shown.exif) {
    for (const TagEntry& entry : shown.exif->TagList) (void)CzechTag(entry, shown.exif->BigEndian());
    (void)MakeCzechSummary(*shown.exif);
    (void)MakeCzechPosition(*shown.exif);
  }
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunReadJpeg(data, size);
}
#endif
