// The writing side of TimgData: editing the kept segments and writing a JPEG
// file made of SOI, the kept metadata segments and a JPEG image's coded data.
#include <cstdint>
#include <memory>
#include <string>

#include "core/bytes/AtomicFile.h"
#include "core/bytes/EndInd.h"
#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim {
namespace {

constexpr int kApp0 = 224, kApp1 = 225, kApp2 = 226, kApp13 = 237, kCom = 254, kSos = 218, kEoi = 217;
constexpr size_t kMaxSegmentPayload = 65533;

uint8_t At(const std::string& bytes, size_t offset) { return tEndInd::ByteAt(bytes, static_cast<int64_t>(offset) + 1); }
size_t LengthAt(const std::string& bytes, size_t offset) { return tEndInd::WordAt(bytes, static_cast<int64_t>(offset) + 1, true); }

// A slot is written as FF, marker, Content; a slot whose length field does not
// match its bytes (a segment cut short by the end of the file, or a TIFF block)
// would corrupt everything after it, so it is refused.
bool WellFormed(const tSection& slot) {
  const std::string& content = slot.Content;
  return slot.Marker >= 1 && slot.Marker <= 254 && content.size() >= 2 && content.size() <= 65535 &&
         LengthAt(content, 0) == content.size();
}

void EmitSlot(std::string& stream, const tSection& slot, const std::string& path) {
  const std::string& content = slot.Content;
  if (!WellFormed(slot)) {
    throw LumatrimError(FailureKind::DamagedData, "A metadata segment of \"" + path + "\" is damaged or not a JPEG segment; the photo cannot be written.");
  }
  stream += '\xFF';
  stream += static_cast<char>(slot.Marker);
  stream += content;
}

// The payload (after the 2 length bytes) begins with signature.
bool Signed(const std::string& content, const std::string& signature) {
  return content.size() >= 2 + signature.size() && content.compare(2, signature.size(), signature) == 0;
}

bool IsIccProfile(int marker, const std::string& content) {
  return marker == kApp2 && Signed(content, std::string("ICC_PROFILE\0", 12));
}

// True when the segments of data between offset and its scan hold an ICC profile.
bool StreamHasIccProfile(const std::string& data, size_t offset) {
  while (offset + 4 <= data.size() && At(data, offset) == 0xFF) {
    const int marker = At(data, offset + 1);
    if (marker == kSos || marker == kEoi) break;
    const size_t length = LengthAt(data, offset + 2);
    if (length < 2 || offset + 2 + length > data.size()) break;
    if (IsIccProfile(marker, data.substr(offset + 2, length))) return true;
    offset += 2 + length;
  }
  return false;
}

bool IsExifSegment(int marker, const std::string& content) {
  return marker == kApp1 && Signed(content, std::string("Exif\0", 5));
}

bool IsPhotoshopSegment(int marker, const std::string& content) {
  return marker == kApp13 && Signed(content, "Photoshop 3.0");
}

// Appends data from offset on, leaving out the EXIF and IPTC segments among
// its leading segments when the container speaks for that kind. Such segments
// are left behind the probes when a photo's segments come in an unusual order;
// carried over they would double the container's block, or keep alive the one
// the user has just removed. The scan data is copied unchanged.
void AppendWithoutStaleMetadata(std::string& out, const std::string& data, size_t offset, bool dropExif,
                                bool dropIptc) {
  while (offset + 4 <= data.size() && At(data, offset) == 0xFF) {
    const int marker = At(data, offset + 1);
    if (marker == kSos || marker == kEoi) break;
    const size_t length = LengthAt(data, offset + 2);
    if (length < 2 || offset + 2 + length > data.size()) break;
    const std::string content = data.substr(offset + 2, length);
    const bool stale = (dropExif && IsExifSegment(marker, content)) || (dropIptc && IsPhotoshopSegment(marker, content));
    if (!stale) out.append(data, offset, 2 + length);
    offset += 2 + length;
  }
  out.append(data, offset, std::string::npos);
}

}  // namespace

std::string TimgData::DefaultJfifHeader() {
  // APP0, length 16, "JFIF\0", version 1.02, dots per inch, 300 x 300, no thumbnail.
  return std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18);
}

void TimgData::SetIptcSegment(const std::string& payload) {
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
  tSection& slot = Sections[static_cast<size_t>(IptcSection)];
  const size_t n = payload.size() + 2;
  slot.Content = std::string(1, static_cast<char>(n >> 8)) + static_cast<char>(n & 0xFF) + payload;
  slot.SegLength = static_cast<int32_t>(n);
  slot.Marker = kApp13;
}

void TimgData::StartEmptyIptc() {
  SetIptcSegment("");
  IptcInfo = std::make_unique<TIPTCdata>(this);
}

void TimgData::DropExif() {
  ExifSection = 0;
  ExifInfo.reset();
}

void TimgData::DropIptc() {
  IptcSection = 0;
  JfifSection = 0;
  IptcInfo.reset();
}

void TimgData::EmitMetadataSegments(std::string& stream) const {
  stream += "\xFF\xD8";
  if (const tSection* exif = Slot(ExifSection)) {
    EmitSlot(stream, *exif, FilePath);
  } else if (const tSection* jfif = Slot(JfifSection)) {
    EmitSlot(stream, *jfif, FilePath);
  } else {
    stream += DefaultJfifHeader();
  }
  if (const tSection* iptc = Slot(IptcSection)) EmitSlot(stream, *iptc, FilePath);
  if (const tSection* comment = Slot(CommentSection)) EmitSlot(stream, *comment, FilePath);
}

void TimgData::SaveJpegWithMetadata(const JpegImage& image, const std::string& path, bool adjustSize) {
  const std::string& data = image.Data();  // throws when the image holds no coded data
  const auto tooShort = [&path]() {
    return LumatrimError(FailureKind::DamagedData, "Cannot write \"" + path + "\": the JPEG image data is incomplete.");
  };
  if (data.size() < 4 || At(data, 0) != 0xFF || At(data, 1) != 0xD8) throw tooShort();

  // Pass over the image's own leading APP0, APP1, APP13 and COM (each at most
  // once, in that order); the container's segments take their place.
  size_t skip = 2;
  for (int probe : {kApp0, kApp1, kApp13, kCom}) {
    if (data.size() < skip + 4) throw tooShort();
    // Only a marker counts: stray bytes that merely look like one (which
    // libjpeg skips) must not make us cut away real image segments.
    if (At(data, skip) == 0xFF && At(data, skip + 1) == probe) skip += LengthAt(data, skip + 2) + 2;
  }
  if (data.size() < skip + 2) throw tooShort();

  if (adjustSize && ExifInfo) ExifInfo->UpdateImageSize(image.Height(), image.Width());

  std::string out;
  out.reserve(data.size() - skip + 4096);
  EmitMetadataSegments(out);
  // A re-encoded photo has lost its colour profile; give it the source's back
  // unless the image data still carries one (a rewrite of the file as loaded).
  if (!StreamHasIccProfile(data, skip)) {
    for (int s = 1; s <= SectionCount; ++s) {
      const tSection& slot = Sections[static_cast<size_t>(s)];
      // A damaged profile is left out rather than failing the whole photo.
      if (IsIccProfile(slot.Marker, slot.Content) && WellFormed(slot)) EmitSlot(out, slot, FilePath);
    }
  }
  // The container speaks for EXIF and IPTC when its read kept such a segment
  // (still kept, or dropped since); a photo whose EXIF lay too deep for the
  // scan keeps it untouched.
  bool keptExif = false, keptIptc = false;
  for (int s = 1; s <= SectionCount; ++s) {
    const tSection& slot = Sections[static_cast<size_t>(s)];
    keptExif = keptExif || IsExifSegment(slot.Marker, slot.Content);
    keptIptc = keptIptc || IsPhotoshopSegment(slot.Marker, slot.Content);
  }
  AppendWithoutStaleMetadata(out, data, skip, keptExif, keptIptc);
  AtomicFile::Write(path, out);
}

void TimgData::RewritePhoto(const std::string& path) {
  if (FilePath.empty()) throw LumatrimError("Cannot write \"" + path + "\": no photo has been read.");
  JpegImage image;
  image.LoadFromFile(FilePath);
  SaveJpegWithMetadata(image, path, false);
}

std::unique_ptr<JpegImage> TimgData::DecodeThumbnail() const {
  if (!ThumbnailPresent() || !ExifInfo || ExifInfo->ThumbCompression != 6) return nullptr;
  std::string bytes = CutThumbnail();
  if (bytes.empty()) return nullptr;
  auto image = std::make_unique<JpegImage>();
  image->LoadFromBytes(std::move(bytes));
  return image;
}

}  // namespace lumatrim
