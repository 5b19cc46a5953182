// The writing side of PhotoMetadata: editing the kept segments and writing a JPEG
// file made of SOI, the kept metadata segments and a JPEG image's coded data.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/ByteView.h"
#include "core/bytes/Error.h"
#include "core/exif/PhotoMetadata.h"
#include "core/jpeg/JpegImage.h"
#include "core/jpeg/JpegSegment.h"
#include "core/jpeg/SegmentSplice.h"

namespace lumatrim {
namespace {

constexpr size_t kMaxSegmentPayload = 65533;

// A slot is written as FF, marker, Content; a slot whose length field does not
// match its bytes (a segment cut short by the end of the file, or a TIFF block)
// would corrupt everything after it, so it is refused.
bool WellFormed(const KeptSegment& slot) {
  const std::string& content = slot.Content;
  return slot.Marker >= 1 && slot.Marker <= 254 && content.size() >= 2 && content.size() <= 65535 &&
         ByteView(content, ByteOrder::BigEndian).U16(0) == content.size();
}

void EmitSlot(std::string& stream, const KeptSegment& slot, const std::string& path) {
  const std::string& content = slot.Content;
  if (!WellFormed(slot)) {
    throw LumatrimError(FailureKind::DamagedData, "A metadata segment of \"" + path + "\" is damaged or not a JPEG segment; the photo cannot be written.");
  }
  stream += '\xFF';
  stream += static_cast<char>(slot.Marker);
  stream += content;
}

}  // namespace

std::string PhotoMetadata::DefaultJfifHeader() {
  // APP0, length 16, "JFIF\0", version 1.02, dots per inch, 300 x 300, no thumbnail.
  return std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18);
}

void PhotoMetadata::SetIptcSegment(const std::string& payload) {
  if (payload.size() > kMaxSegmentPayload) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC block of " + std::to_string(payload.size()) +
                        " bytes does not fit one APP13 segment (at most " + std::to_string(kMaxSegmentPayload) +
                        " bytes).");
  }
  if (IptcSection == 0) {
    ++SectionCount;
    if (Sections.size() <= static_cast<size_t>(SectionCount)) Sections.resize(static_cast<size_t>(SectionCount) + 1);
    IptcSection = SectionCount;
  }
  KeptSegment& slot = Sections[static_cast<size_t>(IptcSection)];
  const size_t n = payload.size() + 2;
  slot.Content = std::string(1, static_cast<char>(n >> 8)) + static_cast<char>(n & 0xFF) + payload;
  slot.SegLength = static_cast<int32_t>(n);
  slot.Marker = static_cast<int>(JpegMarker::App13);
}

void PhotoMetadata::StartEmptyIptc() {
  SetIptcSegment("");
  IptcInfo = std::make_unique<IptcRecord>(this);
}

void PhotoMetadata::DropExif() {
  ExifSection = 0;
  ExifInfo.reset();
}

void PhotoMetadata::DropIptc() {
  IptcSection = 0;
  JfifSection = 0;
  IptcInfo.reset();
}

void PhotoMetadata::EmitMetadataSegments(std::string& stream) const {
  stream += "\xFF\xD8";
  if (const KeptSegment* exif = Slot(ExifSection)) {
    EmitSlot(stream, *exif, FilePath);
  } else if (const KeptSegment* jfif = Slot(JfifSection)) {
    EmitSlot(stream, *jfif, FilePath);
  } else {
    stream += DefaultJfifHeader();
  }
  if (const KeptSegment* iptc = Slot(IptcSection)) EmitSlot(stream, *iptc, FilePath);
  if (const KeptSegment* comment = Slot(CommentSection)) EmitSlot(stream, *comment, FilePath);
}

void PhotoMetadata::SaveJpegWithMetadata(const JpegImage& image, const std::string& path, bool adjustSize) {
  const std::string& data = image.Data();  // throws when the image holds no coded data
  const std::optional<size_t> imageStart =
      data.size() >= 4 && data.compare(0, 2, "\xFF\xD8") == 0 ? EndOfLeadingMetadata(data) : std::nullopt;
  if (!imageStart) throw LumatrimError(FailureKind::DamagedData, "Cannot write \"" + path + "\": the JPEG image data is incomplete.");
  const size_t skip = *imageStart;

  if (adjustSize) UpdateImageSize(image.Height(), image.Width());

  std::string out;
  out.reserve(data.size() - skip + 4096);
  EmitMetadataSegments(out);
  // A re-encoded photo has lost its colour profile; give it the source's back
  // unless the image data still carries one (a rewrite of the file as loaded).
  if (!HasIccProfile(std::string_view(data).substr(skip))) {
    for (int s = 1; s <= SectionCount; ++s) {
      const KeptSegment& slot = Sections[static_cast<size_t>(s)];
      // A damaged profile is left out rather than failing the whole photo.
      if (IsIccProfileSegment(static_cast<uint8_t>(slot.Marker), slot.Content) && WellFormed(slot)) EmitSlot(out, slot, FilePath);
    }
  }
  // The container speaks for EXIF and IPTC when its read kept such a segment
  // (still kept, or dropped since); a photo whose EXIF lay too deep for the
  // scan keeps it untouched.
  bool keptExif = false, keptIptc = false;
  for (int s = 1; s <= SectionCount; ++s) {
    const KeptSegment& slot = Sections[static_cast<size_t>(s)];
    keptExif = keptExif || IsExifSegment(static_cast<uint8_t>(slot.Marker), slot.Content);
    keptIptc = keptIptc || IsPhotoshopSegment(static_cast<uint8_t>(slot.Marker), slot.Content);
  }
  AppendWithoutStaleMetadata(out, data, skip, keptExif, keptIptc);
  AtomicFile::Write(path, out);
}

void PhotoMetadata::RewritePhoto(const std::string& path) {
  if (FilePath.empty()) throw LumatrimError("Cannot write \"" + path + "\": no photo has been read.");
  JpegImage image;
  image.LoadFromFile(FilePath);
  SaveJpegWithMetadata(image, path, false);
}

std::unique_ptr<JpegImage> PhotoMetadata::DecodeThumbnail() const {
  if (!ThumbnailPresent() || !ExifInfo || ExifInfo->ThumbCompression != 6) return nullptr;
  std::string bytes = CutThumbnail();
  if (bytes.empty()) return nullptr;
  auto image = std::make_unique<JpegImage>();
  image->LoadFromBytes(std::move(bytes));
  return image;
}

}  // namespace lumatrim
