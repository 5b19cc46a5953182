#include "core/photo/PhotoWriter.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/ByteView.h"
#include "core/bytes/Error.h"
#include "core/iptc/IptcCodec.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/JpegSegment.h"
#include "core/jpeg/SegmentSplice.h"
#include "core/photo/PhotoXmp.h"
#include "core/photo/XmpFollowsIptc.h"

namespace lumatrim {
namespace {

constexpr size_t kMaxSegmentPayload = 65533;

// A segment is written as FF, marker, content; one whose length field does
// not match its bytes (cut short by the end of the file, or a TIFF block)
// would corrupt everything after it, so it is refused.
bool WellFormed(const KeptSegment& segment) {
  const std::string& content = segment.content;
  return segment.marker >= 1 && segment.marker <= 254 && content.size() >= 2 && content.size() <= 65535 &&
         ByteView(content, ByteOrder::BigEndian).U16(0) == content.size();
}

void Emit(std::string& stream, const KeptSegment& segment, const std::string& path) {
  if (!WellFormed(segment)) {
    throw LumatrimError(FailureKind::DamagedData, "A metadata segment of \"" + path + "\" is damaged or not a JPEG segment; the photo cannot be written.");
  }
  stream += '\xFF';
  stream += static_cast<char>(segment.marker);
  stream += segment.content;
}

// The comment segments the read kept whole (one cut short by the end of the
// file is not a comment), in the source's order.
std::vector<int> KeptComments(const PhotoMetadata& photo) {
  std::vector<int> out;
  for (int index = 0; index < static_cast<int>(photo.segments.size()); ++index) {
    const KeptSegment& segment = photo.segments[static_cast<size_t>(index)];
    if (segment.marker == static_cast<int>(JpegMarker::Com) && segment.lengthField >= 2 &&
        segment.content.size() >= static_cast<size_t>(segment.lengthField)) {
      out.push_back(index);
    }
  }
  return out;
}

}  // namespace

std::string DefaultJfifHeader() {
  // APP0, length 16, "JFIF\0", version 1.02, dots per inch, 300 x 300, no thumbnail.
  return std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18);
}

void SetIptcSegment(PhotoMetadata& photo, const std::string& payload) {
  if (payload.size() > kMaxSegmentPayload) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC block of " + std::to_string(payload.size()) +
                        " bytes does not fit one APP13 segment (at most " + std::to_string(kMaxSegmentPayload) +
                        " bytes).");
  }
  if (!photo.IptcPresent()) {
    photo.segments.emplace_back();
    photo.iptcSegment = static_cast<int>(photo.segments.size()) - 1;
  }
  KeptSegment& segment = *photo.Segment(photo.iptcSegment);
  const size_t n = payload.size() + 2;
  segment.content = std::string(1, static_cast<char>(n >> 8)) + static_cast<char>(n & 0xFF) + payload;
  segment.lengthField = static_cast<int>(n);
  segment.marker = static_cast<int>(JpegMarker::App13);
}

void StartEmptyIptc(PhotoMetadata& photo) {
  SetIptcSegment(photo, "");
  photo.iptc = std::make_unique<IptcRecord>(photo.options.codePage);
}

void DropExif(PhotoMetadata& photo) {
  photo.exifSegment = PhotoMetadata::kNoSegment;
  photo.exif.reset();
}

void DropIptc(PhotoMetadata& photo) {
  photo.iptcSegment = PhotoMetadata::kNoSegment;
  photo.jfifSegment = PhotoMetadata::kNoSegment;
  photo.iptc.reset();
}

void SetPictureSize(PhotoMetadata& photo, int height, int width) {
  SetXmpPictureSize(photo, width, height);
  if (!photo.exif) return;
  photo.exif->WriteImageSize(photo.exif->Block, height, width);
  if (KeptSegment* segment = photo.Segment(photo.exifSegment)) photo.exif->WriteImageSize(segment->content, height, width);
}

void EmitMetadataSegments(const PhotoMetadata& photo, std::string& stream) {
  stream += "\xFF\xD8";
  // The kept segments go out in the order the source had them (an APP13
  // before the EXIF stays before it); one added since goes after them.
  int lead = photo.Segment(photo.exifSegment) ? photo.exifSegment : photo.jfifSegment;
  if (!photo.Segment(lead)) {
    stream += DefaultJfifHeader();
    lead = PhotoMetadata::kNoSegment;
  }
  std::vector<int> order{lead, photo.iptcSegment, photo.xmpSegment};
  order.insert(order.end(), photo.xmpExtensionSegments.begin(), photo.xmpExtensionSegments.end());
  std::erase_if(order, [&photo](int index) { return !photo.Segment(index); });
  // Every comment the read kept, not only the last: a photo with two keeps two.
  for (int index : KeptComments(photo)) order.push_back(index);
  std::sort(order.begin(), order.end());
  for (int index : order) Emit(stream, *photo.Segment(index), photo.filePath);
}

namespace {

// A file with metadata: the kept segments in one string, then pieces of the
// image's own bytes. The scan data is written from where it lies: a 9 MP
// photo is not copied once more on its way to the disk.
struct JpegPieces {
  std::string head;
  std::vector<std::string_view> image;
};

JpegPieces PiecesWithMetadata(const PhotoMetadata& photo, const JpegImage& image, const std::string& path) {
  const std::string& data = image.Data();  // throws when the image holds no coded data
  const std::optional<size_t> imageStart =
      data.size() >= 4 && data.compare(0, 2, "\xFF\xD8") == 0 ? EndOfLeadingMetadata(data) : std::nullopt;
  if (!imageStart) throw LumatrimError(FailureKind::DamagedData, "Cannot write \"" + path + "\": the JPEG image data is incomplete.");
  const size_t skip = *imageStart;

  std::string out;
  EmitMetadataSegments(photo, out);
  // A re-encoded photo has lost its colour profile; give it the source's back
  // unless the image data still carries one (a rewrite of the file as loaded).
  if (!HasIccProfile(std::string_view(data).substr(skip))) {
    for (const KeptSegment& segment : photo.segments) {
      // A damaged profile is left out rather than failing the whole photo.
      if (IsIccProfileSegment(static_cast<uint8_t>(segment.marker), segment.content) && WellFormed(segment)) {
        Emit(out, segment, photo.filePath);
      }
    }
  }
  // The container speaks for EXIF and IPTC when its read kept such a segment
  // (still kept, or dropped since); a photo whose EXIF lay too deep for the
  // scan keeps it untouched.
  StaleMetadata stale;
  for (const KeptSegment& segment : photo.segments) {
    const auto marker = static_cast<uint8_t>(segment.marker);
    stale.exif = stale.exif || IsExifSegment(marker, segment.content);
    stale.iptc = stale.iptc || IsPhotoshopSegment(marker, segment.content);
    stale.xmp = stale.xmp || IsXmpSegment(marker, segment.content) || IsXmpExtensionSegment(marker, segment.content);
  }
  for (int index : KeptComments(photo)) stale.comments.push_back(photo.Segment(index)->content);
  return {std::move(out), PiecesWithoutStaleMetadata(data, skip, std::move(stale))};
}

}  // namespace

void WriteJpegWithMetadata(const PhotoMetadata& photo, const JpegImage& image, const std::string& path) {
  const JpegPieces pieces = PiecesWithMetadata(photo, image, path);
  AtomicFile file(path);
  file.Append(pieces.head);
  for (std::string_view piece : pieces.image) file.Append(piece.data(), piece.size());
  file.Commit();
}

std::string JpegWithMetadata(const PhotoMetadata& photo, const JpegImage& image, const std::string& path) {
  JpegPieces pieces = PiecesWithMetadata(photo, image, path);
  size_t size = pieces.head.size();
  for (std::string_view piece : pieces.image) size += piece.size();
  std::string out = std::move(pieces.head);
  out.reserve(size);
  for (std::string_view piece : pieces.image) out.append(piece);
  return out;
}

void RewritePhoto(const PhotoMetadata& photo, const std::string& path) {
  if (photo.filePath.empty()) throw LumatrimError("Cannot write \"" + path + "\": no photo has been read.");
  JpegImage image;
  image.LoadFromFile(photo.filePath);
  WriteJpegWithMetadata(photo, image, path);
}

IptcRecord& IptcForEditing(PhotoMetadata& photo) {
  if (!photo.iptc) {
    photo.iptc = std::make_unique<IptcRecord>(photo.options.codePage);
    if (const KeptSegment* segment = photo.Segment(photo.iptcSegment)) photo.iptc->ParseApp13(segment->content);
  }
  return *photo.iptc;
}

void SaveIptc(PhotoMetadata& photo, const std::string& path, const std::string& sourcePath) {
  IptcRecord& record = IptcForEditing(photo);
  std::string payload = record.BuildApp13();
  if (const KeptSegment* old = photo.Segment(photo.iptcSegment)) payload = KeepOtherResources(payload, old->content);
  JpegImage image;
  image.LoadFromFile(sourcePath.empty() ? path : sourcePath);
  SetIptcSegment(photo, payload);
  XmpFollowsIptc(photo, record);
  SetPictureSize(photo, image.Height(), image.Width());
  WriteJpegWithMetadata(photo, image, path);
}

std::unique_ptr<JpegImage> DecodeThumbnail(const PhotoMetadata& photo) {
  if (!photo.ThumbnailPresent() || !photo.exif || photo.exif->ThumbCompression != 6) return nullptr;
  std::string bytes = photo.CutThumbnail();
  if (bytes.empty()) return nullptr;
  auto image = std::make_unique<JpegImage>();
  image->LoadFromBytes(std::move(bytes));
  return image;
}

}  // namespace lumatrim
