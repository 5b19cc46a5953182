#include "core/photo/PhotoEdits.h"

#include "core/exif/ExifUpright.h"
#include "core/exif/GpsRemoval.h"
#include "core/exif/TiffType.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/JpegSegment.h"
#include "core/jpeg/Orientation.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoXmp.h"

namespace lumatrim {
namespace {

constexpr uint16_t kTagOrientation = 0x0112;

// The kept APP1: 2 length bytes, "Exif\0\0", then the TIFF block.
constexpr size_t kTiffStart = 8;

bool HoldsExif(const KeptSegment* exif) {
  return exif && exif->content.size() > kTiffStart && exif->content.compare(2, 4, "Exif") == 0;
}

}  // namespace

namespace {

bool HasExifGps(const PhotoMetadata& photo) {
  const KeptSegment* exif = photo.Segment(photo.exifSegment);
  if (!HoldsExif(exif)) return false;
  const std::string tiff = exif->content.substr(kTiffStart);
  return TiffWithoutGps(tiff) != tiff;
}

bool DropExifGps(PhotoMetadata& photo) {
  KeptSegment* exif = photo.Segment(photo.exifSegment);
  if (!HoldsExif(exif)) return false;
  const std::string tiff = exif->content.substr(kTiffStart);
  std::string stripped = TiffWithoutGps(tiff);
  if (stripped == tiff) return false;
  exif->content.replace(kTiffStart, std::string::npos, stripped);
  // Read again, so the tags shown and the size fields the writer updates
  // belong to the new bytes.
  ReparseExif(photo);
  return true;
}

}  // namespace

bool HasGps(const PhotoMetadata& photo) { return HasExifGps(photo) || HasXmpGps(photo); }

GpsRemoved RemoveGps(PhotoMetadata& photo) {
  GpsRemoved removed;
  removed.exif = DropExifGps(photo);
  removed.xmp = DropXmpGps(photo);
  return removed;
}

bool DropGps(PhotoMetadata& photo) { return RemoveGps(photo).Any(); }

int PhotoOrientation(const PhotoMetadata& photo) {
  if (const KeptSegment* exif = photo.Segment(photo.exifSegment)) return ExifOrientation(exif->content);
  // A TIFF or NEF file: its IFD0 as the parser read it.
  if (photo.exif) {
    for (const TagEntry& entry : photo.exif->TagList) {
      if (entry.Group != static_cast<int32_t>(TagGroup::Standard) || entry.Tag != kTagOrientation ||
          !IsType(static_cast<uint16_t>(entry.FormatCode), TiffType::Short)) continue;
      const int value = photo.exif->RawToInt(entry.Raw);
      return ValidOrientation(value) ? value : kOrientationNormal;
    }
  }
  return kOrientationNormal;
}

bool PhotoHasThumbnailDirectory(const PhotoMetadata& photo) {
  const KeptSegment* exif = photo.Segment(photo.exifSegment);
  return exif && HasThumbnailDirectory(exif->content);
}

std::string PhotoThumbnail(const PhotoMetadata& photo) {
  const KeptSegment* exif = photo.Segment(photo.exifSegment);
  return exif ? ExifThumbnail(exif->content) : std::string();
}

void MakeExifUpright(PhotoMetadata& photo, const std::string& thumbnailJpeg) {
  KeptSegment* exif = photo.Segment(photo.exifSegment);
  if (!exif) return;
  SetOrientationNormal(exif->content);
  if (HasThumbnailDirectory(exif->content)) {
    int width = 0, height = 0;
    if (!thumbnailJpeg.empty()) {
      JpegImage header;
      header.LoadFromBytes(thumbnailJpeg);
      width = header.Width();
      height = header.Height();
    }
    ReplaceThumbnail(exif->content, thumbnailJpeg, width, height);
  }
  exif->lengthField = static_cast<int32_t>(exif->content.size());
  // The parser's copy follows, so a later look at the thumbnail sees the new one.
  if (photo.exif) photo.exif->Block = exif->content;
}

void DropIccProfile(PhotoMetadata& photo) {
  auto& segments = photo.segments;
  for (int i = static_cast<int>(segments.size()) - 1; i >= 0; --i) {
    const KeptSegment& segment = segments[static_cast<size_t>(i)];
    if (!IsIccProfileSegment(static_cast<uint8_t>(segment.marker), segment.content)) continue;
    segments.erase(segments.begin() + i);
    // The indices of the segments behind it move down by one.
    for (int* index : {&photo.exifSegment, &photo.iptcSegment, &photo.commentSegment, &photo.jfifSegment,
                       &photo.xmpSegment}) {
      if (*index > i) --*index;
    }
    for (int& index : photo.xmpExtensionSegments) {
      if (index > i) --index;
    }
  }
}

}  // namespace lumatrim
