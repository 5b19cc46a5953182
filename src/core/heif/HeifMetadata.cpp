#include "core/heif/HeifMetadata.h"

#include <exception>

#include "core/bytes/ByteView.h"
#include "core/bytes/RandomAccessBytes.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/JpegSegment.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoXmp.h"

namespace lumatrim {
namespace {

constexpr std::string_view kExifMarker("Exif\0\0", 6);
constexpr std::string_view kIccMarker("ICC_PROFILE\0", 12);
constexpr size_t kMaxSegmentContent = 65535;  // with the 2 length bytes
constexpr size_t kIccChunk = kMaxSegmentContent - 2 - kIccMarker.size() - 2;
constexpr size_t kMaxIccChunks = 255;

bool StartsTiff(std::string_view bytes) {
  return bytes.substr(0, 4) == std::string_view("II*\0", 4) || bytes.substr(0, 4) == std::string_view("MM\0*", 4);
}

std::string LengthField(size_t length) {
  return {static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)};
}

}  // namespace

// An Exif item:
//   0: 4 bytes big-endian offset of the TIFF header, counted from byte 4
//   4: (offset bytes, often "Exif\0\0")   4 + offset: "II*\0" or "MM\0*" ...
// Some writers leave the offset 0 before an "Exif\0\0" prefix; that is
// looked past too.
std::optional<std::string_view> TiffOfExifItem(std::string_view item) {
  const ByteView view(item, ByteOrder::BigEndian);
  if (!view.Contains(0, 4)) return std::nullopt;
  const int64_t start = int64_t{4} + view.U32(0);
  if (view.Contains(start, 8) && StartsTiff(view.Clip(start, 8))) return view.Clip(start, view.Size() - start);
  const int64_t afterMarker = 4 + static_cast<int64_t>(kExifMarker.size());
  if (view.Clip(4, kExifMarker.size()) == kExifMarker && view.Contains(afterMarker, 8) &&
      StartsTiff(view.Clip(afterMarker, 8))) {
    return view.Clip(afterMarker, view.Size() - afterMarker);
  }
  return std::nullopt;
}

namespace {

PhotoMetadata ExifOfHeif(const HeifBlocks& blocks, const ReadOptions& options) {
  PhotoMetadata photo;
  photo.options = options;
  const std::optional<std::string_view> tiff = TiffOfExifItem(blocks.exif);
  if (!tiff) return photo;
  const size_t length = 2 + kExifMarker.size() + tiff->size();
  if (length > kMaxSegmentContent) return ReadTiffMetadata(std::make_shared<MemoryBytes>(std::string(*tiff)), options);
  KeptSegment segment;
  segment.content = LengthField(length);
  segment.content.append(kExifMarker);
  segment.content.append(*tiff);
  segment.marker = static_cast<int>(JpegMarker::App1);
  segment.lengthField = static_cast<int>(length);
  photo.segments.push_back(std::move(segment));
  photo.exifSegment = 0;
  ReparseExif(photo);
  return photo;
}

}  // namespace

PhotoMetadata HeifPhotoMetadata(const HeifBlocks& blocks, const ReadOptions& options) {
  PhotoMetadata photo = ExifOfHeif(blocks, options);
  if (blocks.xmp.empty() || !ExifWritable(photo)) return photo;
  try {
    SetXmp(photo, blocks.xmp);
  } catch (const std::exception&) {
    return photo;  // a packet too large even for extended XMP: XmpComplete says so
  }
  if (options.depth == ReadDepth::Everything) photo.xmp = std::make_unique<XmpBlock>(ReadPhotoXmp(photo));
  return photo;
}

bool XmpComplete(const PhotoMetadata& photo, const HeifBlocks& blocks) {
  return blocks.xmp.empty() || photo.XmpPresent();
}

bool ExifWritable(const PhotoMetadata& photo) { return !(photo.exif && photo.exif->IsTiffFile); }

std::vector<KeptSegment> IccProfileSegments(std::string_view icc) {
  const size_t chunks = (icc.size() + kIccChunk - 1) / kIccChunk;
  if (chunks == 0 || chunks > kMaxIccChunks) return {};
  std::vector<KeptSegment> segments;
  for (size_t i = 0; i < chunks; ++i) {
    const std::string_view part = icc.substr(i * kIccChunk, kIccChunk);
    const size_t length = 2 + kIccMarker.size() + 2 + part.size();
    KeptSegment segment;
    segment.content = LengthField(length);
    segment.content.append(kIccMarker);
    segment.content += static_cast<char>(i + 1);
    segment.content += static_cast<char>(chunks);
    segment.content.append(part);
    segment.marker = static_cast<int>(JpegMarker::App2);
    segment.lengthField = static_cast<int>(length);
    segments.push_back(std::move(segment));
  }
  return segments;
}

PhotoMetadata ReadHeifMetadata(const std::string& path, const ReadOptions& options) {
  PhotoMetadata photo;
  photo.options = options;
  try {
    HeifImage image;
    image.LoadFromFile(path);
    photo = HeifPhotoMetadata(image.Blocks(), options);
    photo.filePath = path;
    if (photo.MetadataPresent() || photo.XmpPresent()) {
      if (!photo.outcome.Failed()) photo.outcome = ReadOutcome::Of(ReadStatus::Read);
    } else if (!photo.outcome.Failed()) {
      photo.outcome = ReadOutcome::Of(ReadStatus::NotExif);
    }
  } catch (const std::exception&) {
    // A file libheif refuses is read as nothing, as a damaged JPEG is.
    photo = PhotoMetadata();
    photo.options = options;
    photo.filePath = path;
    photo.outcome = ReadOutcome::Of(ReadStatus::IllegalConstruction);
  }
  return photo;
}

}  // namespace lumatrim
